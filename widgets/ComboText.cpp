#include "ComboText.h"

#include <QComboBox>

void ComboText::setCurrentText(QComboBox* combo, const QString& text)
{
    if (!combo)
        return;
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else if (combo->isEditable())
        combo->setEditText(text);
    else if (combo->currentIndex() >= 0)
        combo->setItemText(combo->currentIndex(), text);
}
