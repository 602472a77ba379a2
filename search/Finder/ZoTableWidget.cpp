#include "ZoTableWidget.h"

#include "ZoTableWidgetItem.h"

#include <QMouseEvent>

ZoTableWidget::ZoTableWidget(QWidget* parent)
    : QTableWidget(parent)
    , mCreator(parent)
{
}

ZoTableWidget::~ZoTableWidget() = default;

QWidget* ZoTableWidget::creator() const
{
    return mCreator;
}

void ZoTableWidget::mousePressEvent(QMouseEvent* event)
{
    QTableWidget::mousePressEvent(event);
    emit signalClick(event);
}

void ZoTableWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    emit zoItemDoubleClicked(dynamic_cast<ZoTableWidgetItem*>(itemAt(event->position().toPoint())));
}
