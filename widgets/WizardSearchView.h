#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;

// The table handling the wizard's three search pages share.
class WizardSearchView
{
public:
    // Shows model in view (the view's owner takes it over) and deletes the
    // model and selection model shown before. Column 0 is hidden when asked.
    static void show(QTableView* view, QAbstractItemModel* model, bool hideIdColumn);
    // With exactly one row: selects it and makes its cell in column current; true then.
    static bool selectSingleRow(QTableView* view, int column);
    static void clearSelection(QTableView* view);
    // Text in that column of the current row; empty without a current index.
    static QString currentText(const QTableView* view, int column);
};
