#pragma once

#include <QProxyStyle>

// The application's style with a scroll bar handle that reads as one: the
// platform's style draws the handle lighter than its groove, so the groove
// looks like the handle and every scroll bar seems upside down. Here the
// handle is drawn darker than the groove.
class ScrollBarStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit ScrollBarStyle(QStyle* base = nullptr);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};
