#include "ZoTabWidget.h"

ZoTabWidget::ZoTabWidget(QWidget* parent)
    : QTabWidget(parent)
{
}
