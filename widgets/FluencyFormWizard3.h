#pragma once

#include "WizardSearchPage.h"
#include "ui_FluencyFormWizard3.h"

#include <QString>

// Fluency wizard page: the dialect or alternate name of the language in that country.
class FluencyFormWizard3 : public WizardSearchPage, public Ui::FluencyFormWizard3
{
    Q_OBJECT

public:
    FluencyFormWizard3(IMainWindow* host, QWidget* parent);

    void setLanguageId(QString languageId);
    void setLanguage(QString language);
    void setCountryId(QString countryId);
    void setCountry(QString country);
    // The heading names the language (the format is not translated).
    void setInstruction(QString language);
    QString selectedName() const;

public slots:
    // Looks up the search field's text (the argument is not read); returns the number of names found.
    int quickSearch(QString text);

private:
    QString mLanguage;
    QString mLanguageId;
    QString mCountry;
    QString mCountryId;
};
