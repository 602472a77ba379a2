#pragma once

#include <QString>

class QComboBox;

// The "set current text" of the old combo box: selects the entry with that
// text; when there is none, an editable combo takes it as its edit text and
// any other combo renames its current entry to it.
class ComboText
{
public:
    static void setCurrentText(QComboBox* combo, const QString& text);
};
