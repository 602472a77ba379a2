#include "FluencyFormWizard3.h"

#include "ISilResource.h"
#include "WizardSearchView.h"

FluencyFormWizard3::FluencyFormWizard3(IMainWindow* host, QWidget* parent)
    : WizardSearchPage(host, parent)
{
    setupUi(this);
    setUpSearch(lblInstruction, lEditFind, tblAlternative);
    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard3::quickSearch);
}

int FluencyFormWizard3::quickSearch(QString)
{
    if (!mSil)
        return 0;
    return showFound(mSil->findAlternateNames(mLanguageId, mLanguage, mCountryId, mCountry, lEditFind->text()), false,
                     0);
}

void FluencyFormWizard3::setLanguageId(QString languageId)
{
    mLanguageId = languageId;
}

void FluencyFormWizard3::setLanguage(QString language)
{
    mLanguage = language;
}

void FluencyFormWizard3::setCountryId(QString countryId)
{
    mCountryId = countryId;
}

void FluencyFormWizard3::setCountry(QString country)
{
    mCountry = country;
}

void FluencyFormWizard3::setInstruction(QString language)
{
    lblInstruction->setText(tr("Select Your Dialect or Alternate Name for %1").arg(language));
}

QString FluencyFormWizard3::selectedName() const
{
    return WizardSearchView::currentText(tblAlternative, 0);
}
