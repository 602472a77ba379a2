#pragma once

#include "FluencyWizardPage.h"

#include <QModelIndex>

class ISilResource;
class QAbstractItemModel;
class QLabel;
class QTableView;
class ZoLineEdit;

// A wizard page with a search field over a table of results from the language tables.
class WizardSearchPage : public FluencyWizardPage
{
    Q_OBJECT

public:
    WizardSearchPage(IMainWindow* host, QWidget* parent);

signals:
    void next();
    void noNext();
    void yesNext();

public slots:
    void noSelection();
    void yesSelection(QModelIndex index);
    void tableDoubleClick(QModelIndex index);
    void gettingFocus();

protected:
    // Call after setupUi: fonts, the language tables and the field's and table's signals.
    void setUpSearch(QLabel* heading, ZoLineEdit* find, QTableView* table);
    // Shows what a search found. A single row is selected (its cell in column made
    // current) and announced; otherwise the search field keeps the focus.
    // Returns the number of rows found.
    int showFound(QAbstractItemModel* model, bool hideIdColumn, int column);

    ISilResource* mSil = nullptr;

private:
    ZoLineEdit* mFind = nullptr;
    QTableView* mTable = nullptr;
};
