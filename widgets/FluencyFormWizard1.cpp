#include "FluencyFormWizard1.h"

#include "ISilResource.h"
#include "WizardSearchView.h"

FluencyFormWizard1::FluencyFormWizard1(IMainWindow* host, QWidget* parent)
    : WizardSearchPage(host, parent)
{
    setupUi(this);
    setUpSearch(lblInstruction, lEditFind, tblLanguage);
    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard1::quickSearch);
    if (mSil)
        WizardSearchView::show(tblLanguage, mSil->languageModel(), true);
}

void FluencyFormWizard1::quickSearch(QString)
{
    if (mSil)
        showFound(mSil->findLanguages(lEditFind->text()), true, 1);
}

QString FluencyFormWizard1::getSelectedLangId()
{
    return WizardSearchView::currentText(tblLanguage, 0);
}

QString FluencyFormWizard1::getSelectedLanguage()
{
    return WizardSearchView::currentText(tblLanguage, 1);
}
