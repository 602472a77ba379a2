#pragma once

#include "FluencyWizardPage.h"
#include "ui_FluencyFormWizard4.h"

#include <QString>

class IDbManager;

// Fluency wizard page: the details of the chosen language.
class FluencyFormWizard4 : public FluencyWizardPage, public Ui::FluencyFormWizard4
{
    Q_OBJECT

public:
    FluencyFormWizard4(IMainWindow* host, QWidget* parent);

    // Shows the language as the only, fixed entry.
    void setLanguage(QString language);
    // Selects the entry of exactly that text; an unknown country changes nothing.
    void setCountry(QString country);
    // Selects the entry of exactly that text; an unknown level leaves none current.
    void setFluencyLevel(QString fluencyLevel);
    void setStateProv(QString stateProv);
    void setLocality(QString locality);

    // Empty while "Select" is shown.
    QString country() const;
    // "Select" included.
    QString fluencyLevel() const;
    QString stateProv() const;
    QString locality() const;

private:
    IDbManager* mDbManager = nullptr;
    QString mStateProv;
    QString mLocality;
};
