#include "FluencyFormWizard1.h"

#include "IMainWindow.h"
#include "ISilResource.h"
#include "PluginLocator.h"
#include "WizardSearchView.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QHeaderView>

FluencyFormWizard1::FluencyFormWizard1(IMainWindow* host, QWidget* parent)
    : QWidget(parent),
      mHost(host)
{
    setupUi(this);
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    QFont heading = font();
    heading.setPointSize(heading.pointSize() + 2);
    heading.setWeight(QFont::Bold);
    lblInstruction->setFont(heading);

    mSil = PluginLocator::load<ISilResource>(QStringLiteral("plugins_dll/Resources/ZoSILResource.dll"));

    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard1::quickSearch);
    connect(lEditFind, &ZoLineEdit::gotFocus, this, &FluencyFormWizard1::noSelection);
    connect(tblLanguage, &QTableView::clicked, this, &FluencyFormWizard1::yesSelection);
    connect(tblLanguage, &QTableView::doubleClicked, this, &FluencyFormWizard1::tableDoubleClick);
    tblLanguage->verticalHeader()->hide();
    tblLanguage->horizontalHeader()->setStretchLastSection(true);
    if (mSil)
        WizardSearchView::show(tblLanguage, mSil->languageModel(), true);
}

void FluencyFormWizard1::quickSearch(QString)
{
    if (!mSil)
        return;
    QAbstractItemModel* model = mSil->findLanguages(lEditFind->text());
    WizardSearchView::show(tblLanguage, model, true);
    if (WizardSearchView::selectSingleRow(tblLanguage, 1))
        emit yesNext();
    else
        lEditFind->setFocus(Qt::OtherFocusReason);
}

void FluencyFormWizard1::noSelection()
{
    WizardSearchView::clearSelection(tblLanguage);
    emit noNext();
}

void FluencyFormWizard1::yesSelection(QModelIndex)
{
    emit yesNext();
}

void FluencyFormWizard1::tableDoubleClick(QModelIndex)
{
    emit next();
}

void FluencyFormWizard1::gettingFocus()
{
    WizardSearchView::clearSelection(tblLanguage);
}

QString FluencyFormWizard1::getSelectedLangId()
{
    return WizardSearchView::currentText(tblLanguage, 0);
}

QString FluencyFormWizard1::getSelectedLanguage()
{
    return WizardSearchView::currentText(tblLanguage, 1);
}
