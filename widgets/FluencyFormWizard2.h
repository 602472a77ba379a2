#pragma once

#include "WizardSearchPage.h"
#include "ui_FluencyFormWizard2.h"

#include <QString>

// Fluency wizard page: the country in which the chosen language is spoken.
class FluencyFormWizard2 : public WizardSearchPage, public Ui::FluencyFormWizard2
{
    Q_OBJECT

public:
    FluencyFormWizard2(IMainWindow* host, QWidget* parent);

    void setLanguageId(QString languageId);
    void setLanguage(QString language);
    // The heading names the language (the format is not translated).
    void setInstruction(QString language);
    QString selectedCountryId() const;
    QString selectedCountry() const;

public slots:
    // Looks up the search field's text (the argument is not read).
    void quickSearch(QString text);

private:
    QString mLanguageId;
    QString mLanguage;
};
