#include "FluencyFormWizard2.h"

#include "IMainWindow.h"
#include "ISilResource.h"
#include "PluginLocator.h"
#include "WizardSearchView.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QHeaderView>

FluencyFormWizard2::FluencyFormWizard2(IMainWindow* host, QWidget* parent)
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

    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard2::quickSearch);
    connect(lEditFind, &ZoLineEdit::gotFocus, this, &FluencyFormWizard2::noSelection);
    connect(tblCountry, &QTableView::clicked, this, &FluencyFormWizard2::yesSelection);
    connect(tblCountry, &QTableView::doubleClicked, this, &FluencyFormWizard2::tableDoubleClick);
    tblCountry->verticalHeader()->hide();
    tblCountry->horizontalHeader()->setStretchLastSection(true);
}

void FluencyFormWizard2::quickSearch(QString)
{
    if (!mSil)
        return;
    QAbstractItemModel* model = mSil->findCountries(mLanguageId, mLanguage, lEditFind->text());
    WizardSearchView::show(tblCountry, model, true);
    if (WizardSearchView::selectSingleRow(tblCountry, 1))
        emit yesNext();
    else
        lEditFind->setFocus(Qt::OtherFocusReason);
}

void FluencyFormWizard2::noSelection()
{
    WizardSearchView::clearSelection(tblCountry);
    emit noNext();
}

void FluencyFormWizard2::yesSelection(QModelIndex)
{
    emit yesNext();
}

void FluencyFormWizard2::tableDoubleClick(QModelIndex)
{
    emit next();
}

void FluencyFormWizard2::gettingFocus()
{
    WizardSearchView::clearSelection(tblCountry);
}

void FluencyFormWizard2::setLanguageId(QString languageId)
{
    mLanguageId = languageId;
}

void FluencyFormWizard2::setLanguage(QString language)
{
    mLanguage = language;
}

void FluencyFormWizard2::setInstruction(QString language)
{
    lblInstruction->setText(QStringLiteral("Select Country for %1").arg(language));
}

QString FluencyFormWizard2::selectedCountryId() const
{
    return WizardSearchView::currentText(tblCountry, 0);
}

QString FluencyFormWizard2::selectedCountry() const
{
    return WizardSearchView::currentText(tblCountry, 1);
}
