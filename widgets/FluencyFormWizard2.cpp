#include "FluencyFormWizard2.h"

#include "ISilResource.h"
#include "WizardSearchView.h"

FluencyFormWizard2::FluencyFormWizard2(IMainWindow* host, QWidget* parent)
    : WizardSearchPage(host, parent)
{
    setupUi(this);
    setUpSearch(lblInstruction, lEditFind, tblCountry);
    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard2::quickSearch);
}

void FluencyFormWizard2::quickSearch(QString)
{
    if (mSil)
        showFound(mSil->findCountries(mLanguageId, mLanguage, lEditFind->text()), true, 1);
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
    lblInstruction->setText(tr("Select Country for %1").arg(language));
}

QString FluencyFormWizard2::selectedCountryId() const
{
    return WizardSearchView::currentText(tblCountry, 0);
}

QString FluencyFormWizard2::selectedCountry() const
{
    return WizardSearchView::currentText(tblCountry, 1);
}
