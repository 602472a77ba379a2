#include "FontSizeSpinBox.h"

FontSizeSpinBox::FontSizeSpinBox(QWidget* parent)
    : QSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

QValidator::State FontSizeSpinBox::validate(QString& text, int& pos) const
{
    const QValidator::State state = QSpinBox::validate(text, pos);
    if (state != QValidator::Acceptable)
        return state;
    const int value = valueFromText(text);
    if ((value - minimum()) % singleStep() != 0)
        return QValidator::Invalid;
    return state;
}
