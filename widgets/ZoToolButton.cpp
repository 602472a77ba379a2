#include "ZoToolButton.h"

#include <QEnterEvent>
#include <QIcon>

ZoToolButton::ZoToolButton(QWidget* parent)
    : QToolButton(parent)
{
    setMouseTracking(true);
}

ZoToolButton::~ZoToolButton() = default;

QPixmap ZoToolButton::normalImage() const
{
    return mNormalImage;
}

QPixmap ZoToolButton::pressedImage() const
{
    return mPressedImage;
}

QPixmap ZoToolButton::releasedImage() const
{
    return mReleasedImage;
}

QPixmap ZoToolButton::highlightedImage() const
{
    return mHighlightedImage;
}

void ZoToolButton::setNormalImage(const QPixmap& pixmap)
{
    setIcon(QIcon(pixmap));
    mNormalImage = pixmap;
}

void ZoToolButton::setPressedImage(const QPixmap& pixmap)
{
    mPressedImage = pixmap;
}

void ZoToolButton::setReleasedImage(const QPixmap& pixmap)
{
    mReleasedImage = pixmap;
}

void ZoToolButton::setHighlightedImage(const QPixmap& pixmap)
{
    mHighlightedImage = pixmap;
}

void ZoToolButton::enterEvent(QEnterEvent* event)
{
    if (!mHighlightedImage.isNull())
        setIcon(QIcon(mHighlightedImage));
    QToolButton::enterEvent(event);
    emit entered(event);
}

void ZoToolButton::leaveEvent(QEvent* event)
{
    setIcon(QIcon(mNormalImage));
    QToolButton::leaveEvent(event);
    emit left(event);
}
