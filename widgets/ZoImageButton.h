#pragma once

#include <QLabel>
#include <QPixmap>

class QEvent;
class QMouseEvent;

// An image label carrying the four button images and mouse signals for
// listeners; it behaves as a plain label.
class ZoImageButton : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QPixmap normalImage READ normalImage WRITE setNormalImage)
    Q_PROPERTY(QPixmap pressedImage READ pressedImage WRITE setPressedImage)
    Q_PROPERTY(QPixmap releasedImage READ releasedImage WRITE setReleasedImage)
    Q_PROPERTY(QPixmap highlightedImage READ highlightedImage WRITE setHighlightedImage)

public:
    explicit ZoImageButton(QWidget* parent = nullptr);
    ~ZoImageButton() override;

    QPixmap normalImage() const;
    QPixmap pressedImage() const;
    QPixmap releasedImage() const;
    QPixmap highlightedImage() const;

    void setNormalImage(const QPixmap& pixmap);
    void setPressedImage(const QPixmap& pixmap);
    void setReleasedImage(const QPixmap& pixmap);
    void setHighlightedImage(const QPixmap& pixmap);

signals:
    void pressed(QMouseEvent* event);
    void released(QMouseEvent* event);
    void entered(QEvent* event);
    void left(QEvent* event);

private:
    QPixmap mNormalImage;
    QPixmap mPressedImage;
    QPixmap mReleasedImage;
    QPixmap mHighlightedImage;
};
