#include "WizardSearchPage.h"

#include "ISilResource.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "WizardSearchView.h"
#include "ZoLineEdit.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

WizardSearchPage::WizardSearchPage(IMainWindow* host, QWidget* parent)
    : FluencyWizardPage(host, parent)
{
}

void WizardSearchPage::setUpSearch(QLabel* heading, ZoLineEdit* find, QTableView* table)
{
    applyFonts(heading);
    mFind = find;
    mTable = table;

    mSil = PluginLocator::load<ISilResource>(PluginFiles::ZoSILResource);

    connect(find, &ZoLineEdit::gotFocus, this, &WizardSearchPage::noSelection);
    connect(table, &QTableView::clicked, this, &WizardSearchPage::yesSelection);
    connect(table, &QTableView::doubleClicked, this, &WizardSearchPage::tableDoubleClick);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
}

int WizardSearchPage::showFound(QAbstractItemModel* model, bool hideIdColumn, int column)
{
    WizardSearchView::show(mTable, model, hideIdColumn);
    const int found = model ? model->rowCount() : 0;
    if (WizardSearchView::selectSingleRow(mTable, column))
        emit yesNext();
    else
        mFind->setFocus(Qt::OtherFocusReason);
    return found;
}

void WizardSearchPage::noSelection()
{
    WizardSearchView::clearSelection(mTable);
    emit noNext();
}

void WizardSearchPage::yesSelection(QModelIndex)
{
    emit yesNext();
}

void WizardSearchPage::tableDoubleClick(QModelIndex)
{
    emit next();
}

void WizardSearchPage::gettingFocus()
{
    WizardSearchView::clearSelection(mTable);
}
