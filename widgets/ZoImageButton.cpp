#include "ZoImageButton.h"

ZoImageButton::ZoImageButton(QWidget* parent)
    : QLabel(parent)
{
}

ZoImageButton::~ZoImageButton() = default;

QPixmap ZoImageButton::normalImage() const
{
    return mNormalImage;
}

QPixmap ZoImageButton::pressedImage() const
{
    return mPressedImage;
}

QPixmap ZoImageButton::releasedImage() const
{
    return mReleasedImage;
}

QPixmap ZoImageButton::highlightedImage() const
{
    return mHighlightedImage;
}

void ZoImageButton::setNormalImage(const QPixmap& pixmap)
{
    mNormalImage = pixmap;
}

void ZoImageButton::setPressedImage(const QPixmap& pixmap)
{
    mPressedImage = pixmap;
}

void ZoImageButton::setReleasedImage(const QPixmap& pixmap)
{
    mReleasedImage = pixmap;
}

void ZoImageButton::setHighlightedImage(const QPixmap& pixmap)
{
    mHighlightedImage = pixmap;
}
