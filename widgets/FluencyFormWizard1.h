#pragma once

#include "WizardSearchPage.h"
#include "ui_FluencyFormWizard1.h"

#include <QString>

// Fluency wizard page: search of the complete language list.
class FluencyFormWizard1 : public WizardSearchPage, public Ui::FluencyFormWizard1
{
    Q_OBJECT

public:
    FluencyFormWizard1(IMainWindow* host, QWidget* parent);

public slots:
    // Looks up the search field's text (the argument is not read).
    void quickSearch(QString text);
    // Id and name of the language in the current row.
    QString getSelectedLangId();
    QString getSelectedLanguage();
};
