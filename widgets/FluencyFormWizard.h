#pragma once

#include "ui_FluencyFormWizard.h"

#include <QDialog>
#include <QSettings>
#include <QString>

class FluencyFormWizard1;
class FluencyFormWizard2;
class FluencyFormWizard3;
class FluencyFormWizard4;
class IMainWindow;
class INetManager;
class IUserResource;
class TopLangs;

// The modal wizard that records one language fluency. With saveToProfile it
// also checks the choice against the signed-in user and sends the user's
// fluencies with the new or changed one to the network; without, it only
// collects the choice for the getters.
class FluencyFormWizard : public QDialog, public Ui::FluencyFormWizard
{
    Q_OBJECT

public:
    FluencyFormWizard(IMainWindow* host, QWidget* parent, bool saveToProfile);

    // The choice, valid after an accepted exec().
    QString language() const;
    QString localeDesc() const;
    QString fluencyLevel() const;
    QString country() const;
    QString stateProv() const;
    QString locality() const;
    // "0" for the level "Native", "1" for any other.
    QString isStudying() const;

    // Opens on the details page for a language the caller knows already.
    void presetLanguage(QString language);
    // Opens on the details page to edit one of the user's fluencies.
    void presetFluency(QString language, QString country, QString localeDesc, QString fluencyLevel, QString stateProv,
                       QString locality, QString isStudying);

private slots:
    void processPrevious();
    void processNext();
    void finish();
    int validate();
    int saveFluencyData();
    void processNoNext();
    void processYesNext();
    void goToPrimaryLanguageForm();
    void close();

private:
    enum Route { QuickRoute = 0, FullRoute = 1, EditRoute = 2 };
    // Results of validate() and saveFluencyData() beyond 1, 0 and -1.
    enum { Refused = 2, AlreadyListed = 3, NotStored = 4 };

    void showPage(QWidget* page);
    void showFinishOnly();
    void makeNextDefault();

    bool mSaveToProfile;
    IMainWindow* mHost;
    QSettings mSettings;
    QString mTitle;
    int mRoute = FullRoute;
    TopLangs* mTopLangs = nullptr;
    FluencyFormWizard1* mLanguagePage = nullptr;
    FluencyFormWizard2* mCountryPage = nullptr;
    FluencyFormWizard3* mDialectPage = nullptr;
    FluencyFormWizard4* mDetailsPage = nullptr;
    INetManager* mNetManager = nullptr;
    IUserResource* mUserResource = nullptr;
    QString mLanguageId;
    QString mLanguage;
    QString mLocaleDesc;
    QString mCountryId;
    QString mCountry;
    QString mLocality;
    QString mStateProv;
    QString mFluencyLevel;
    QString mIsStudying;
};
