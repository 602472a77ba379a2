#include "ZoLineEdit.h"

#include <QFocusEvent>

ZoLineEdit::ZoLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

ZoLineEdit::~ZoLineEdit() = default;

void ZoLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}
