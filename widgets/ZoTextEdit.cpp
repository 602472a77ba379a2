#include "ZoTextEdit.h"

#include <QFocusEvent>

ZoTextEdit::ZoTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
}

ZoTextEdit::~ZoTextEdit() = default;

void ZoTextEdit::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    emit gotFocus();
}
