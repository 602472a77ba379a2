#pragma once

#include <QPixmap>
#include <QToolButton>

class QEnterEvent;
class QEvent;

// A tool button that shows its highlighted image while the mouse is over it
// and its normal image otherwise.
class ZoToolButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QPixmap normalImage READ normalImage WRITE setNormalImage)
    Q_PROPERTY(QPixmap pressedImage READ pressedImage WRITE setPressedImage)
    Q_PROPERTY(QPixmap releasedImage READ releasedImage WRITE setReleasedImage)
    Q_PROPERTY(QPixmap highlightedImage READ highlightedImage WRITE setHighlightedImage)

public:
    explicit ZoToolButton(QWidget* parent = nullptr);
    ~ZoToolButton() override;

    QPixmap normalImage() const;
    QPixmap pressedImage() const;
    QPixmap releasedImage() const;
    QPixmap highlightedImage() const;

    // The normal image also becomes the icon at once.
    void setNormalImage(const QPixmap& pixmap);
    void setPressedImage(const QPixmap& pixmap);
    void setReleasedImage(const QPixmap& pixmap);
    void setHighlightedImage(const QPixmap& pixmap);

signals:
    void entered(QEvent* event);
    void left(QEvent* event);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap mNormalImage;
    QPixmap mPressedImage;
    QPixmap mReleasedImage;
    QPixmap mHighlightedImage;
};
