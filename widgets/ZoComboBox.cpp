#include "ZoComboBox.h"

ZoComboBox::ZoComboBox(QWidget* parent)
    : QComboBox(parent)
{
}

ZoComboBox::~ZoComboBox() = default;
