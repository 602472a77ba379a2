#include "ScrollBarStyle.h"

#include <QPainter>
#include <QStyleOptionSlider>

ScrollBarStyle::ScrollBarStyle(QStyle* base)
    : QProxyStyle(base)
{
}

void ScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarSlider) || bar->maximum <= bar->minimum) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionSlider rest(*bar);
    rest.subControls &= ~SubControls(SC_ScrollBarSlider);
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);

    const QRect handle = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
    QColor fill = bar->palette.color(QPalette::Mid);
    if (bar->activeSubControls & SC_ScrollBarSlider)
        fill = fill.darker(115);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(fill.darker(125));
    painter->setBrush(fill);
    painter->drawRoundedRect(QRectF(handle).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    painter->restore();
}
