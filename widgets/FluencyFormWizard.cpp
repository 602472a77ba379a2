#include "FluencyFormWizard.h"

#include "DialogFit.h"
#include "FluencyFormWizard1.h"
#include "FluencyFormWizard2.h"
#include "FluencyFormWizard3.h"
#include "FluencyFormWizard4.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "StoreWriteError.h"
#include "TopLangs.h"
#include "WidgetsLog.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>

namespace {

const char* const FluencyKeys[] = {"FLanguage", "FLocaleDesc",   "FCountry",   "FStateProv",
                                   "FLocality", "FFluencyLevel", "FIsStudying"};

} // namespace

FluencyFormWizard::FluencyFormWizard(IMainWindow* host, QWidget* parent, bool saveToProfile)
    : QDialog(parent)
    , mSaveToProfile(saveToProfile)
    , mHost(host)
{
    setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, true);
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    mTitle = mSettings.value(SettingsKeys::Version).toString();

    connect(btnPrevious, &QPushButton::clicked, this, &FluencyFormWizard::processPrevious);
    connect(btnNext, &QPushButton::clicked, this, &FluencyFormWizard::processNext);
    connect(btnFinish, &QPushButton::clicked, this, &FluencyFormWizard::finish);
    connect(btnCancel, &QPushButton::clicked, this, &FluencyFormWizard::close);

    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);
    mUserResource = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);

    mTopLangs = new TopLangs(mHost, wizardStack);
    mLanguagePage = new FluencyFormWizard1(mHost, wizardStack);
    mCountryPage = new FluencyFormWizard2(mHost, wizardStack);
    mDialectPage = new FluencyFormWizard3(mHost, wizardStack);
    mDetailsPage = new FluencyFormWizard4(mHost, wizardStack);
    for (QWidget* page :
         std::initializer_list<QWidget*>{mTopLangs, mLanguagePage, mCountryPage, mDialectPage, mDetailsPage})
        wizardStack->addWidget(page);

    connect(mTopLangs, &TopLangs::goToDetailedLanguageWizard, this, &FluencyFormWizard::goToPrimaryLanguageForm);
    connect(mTopLangs, &TopLangs::next, this, &FluencyFormWizard::processNext);
    connect(mLanguagePage, &FluencyFormWizard1::next, this, &FluencyFormWizard::processNext);
    connect(mCountryPage, &FluencyFormWizard2::next, this, &FluencyFormWizard::processNext);
    connect(mDialectPage, &FluencyFormWizard3::next, this, &FluencyFormWizard::processNext);
    connect(mLanguagePage, &FluencyFormWizard1::noNext, this, &FluencyFormWizard::processNoNext);
    connect(mCountryPage, &FluencyFormWizard2::noNext, this, &FluencyFormWizard::processNoNext);
    connect(mDialectPage, &FluencyFormWizard3::noNext, this, &FluencyFormWizard::processNoNext);
    connect(mTopLangs, &TopLangs::yesNext, this, &FluencyFormWizard::processYesNext);
    connect(mLanguagePage, &FluencyFormWizard1::yesNext, this, &FluencyFormWizard::processYesNext);
    connect(mCountryPage, &FluencyFormWizard2::yesNext, this, &FluencyFormWizard::processYesNext);
    connect(mDialectPage, &FluencyFormWizard3::yesNext, this, &FluencyFormWizard::processYesNext);

    showPage(mTopLangs);
    btnPrevious->setEnabled(false);
    btnNext->setEnabled(false);
    btnFinish->hide();
    // Within the screen at any text size, Previous, Next and Finish in sight.
    DialogFit::fit(this, QSize(470, 577));
}

QString FluencyFormWizard::language() const
{
    return mLanguage;
}

QString FluencyFormWizard::localeDesc() const
{
    return mLocaleDesc;
}

QString FluencyFormWizard::fluencyLevel() const
{
    return mFluencyLevel;
}

QString FluencyFormWizard::country() const
{
    return mCountry;
}

QString FluencyFormWizard::stateProv() const
{
    return mStateProv;
}

QString FluencyFormWizard::locality() const
{
    return mLocality;
}

QString FluencyFormWizard::isStudying() const
{
    return mIsStudying;
}

void FluencyFormWizard::showPage(QWidget* page)
{
    wizardStack->setCurrentWidget(page);
    if (page == mTopLangs || page == mLanguagePage)
        setWindowTitle(tr("Select a Language"));
    else if (page == mCountryPage)
        setWindowTitle(tr("Country Name"));
    else if (page == mDialectPage)
        setWindowTitle(tr("Dialect or Alternate Language Name"));
    else
        setWindowTitle(tr("Fluency and Region Information"));
}

void FluencyFormWizard::showFinishOnly()
{
    btnPrevious->hide();
    btnNext->hide();
    btnFinish->show();
    btnFinish->setDefault(true);
}

void FluencyFormWizard::makeNextDefault()
{
    btnNext->setEnabled(true);
    btnNext->setFocus(Qt::OtherFocusReason);
    btnNext->setAutoDefault(true);
    btnNext->setDefault(true);
}

void FluencyFormWizard::presetLanguage(QString language)
{
    mLanguage = language;
    mDetailsPage->setLanguage(language);
    showPage(mDetailsPage);
    mRoute = QuickRoute;
    showFinishOnly();
}

void FluencyFormWizard::presetFluency(QString language, QString country, QString localeDesc, QString fluencyLevel,
                                      QString stateProv, QString locality, QString isStudying)
{
    mLanguage = language;
    mCountry = country;
    mLocaleDesc = localeDesc;
    mLocality = locality;
    mStateProv = stateProv;
    mFluencyLevel = fluencyLevel;
    mIsStudying = isStudying;
    showPage(mDetailsPage);
    showFinishOnly();
    mDetailsPage->setLanguage(language);
    mDetailsPage->setCountry(country);
    mDetailsPage->setLocality(locality);
    mDetailsPage->setStateProv(stateProv);
    mDetailsPage->setFluencyLevel(fluencyLevel);
    mRoute = EditRoute;
}

void FluencyFormWizard::processYesNext()
{
    makeNextDefault();
}

void FluencyFormWizard::processNoNext()
{
    btnNext->setEnabled(false);
}

void FluencyFormWizard::close()
{
    reject();
}

void FluencyFormWizard::goToPrimaryLanguageForm()
{
    btnNext->setEnabled(false);
    btnPrevious->setEnabled(true);
    mRoute = FullRoute;
    showPage(mLanguagePage);
}

void FluencyFormWizard::processNext()
{
    QWidget* current = wizardStack->currentWidget();
    if (current == mDetailsPage)
        return;
    mRoute = FullRoute;
    QWidget* target = nullptr;
    if (current == mTopLangs) {
        const QString chosen = mTopLangs->selectedLanguage();
        if (chosen.isEmpty())
            return;
        mLanguage = chosen;
        mRoute = QuickRoute;
        // A dialect picked earlier on the full route belongs to another language.
        mLocaleDesc.clear();
        target = mDetailsPage;
    } else {
        target = wizardStack->widget(wizardStack->indexOf(current) + 1);
    }

    if (target == mCountryPage) {
        mLanguageId = mLanguagePage->getSelectedLangId();
        mLanguage = mLanguagePage->getSelectedLanguage();
        showPage(mCountryPage);
        mCountryPage->setLanguageId(mLanguageId);
        mCountryPage->setLanguage(mLanguage);
        mCountryPage->quickSearch(QString());
        mCountryPage->setInstruction(mLanguage);
    } else if (target == mDialectPage) {
        mCountryId = mCountryPage->selectedCountryId();
        mCountry = mCountryPage->selectedCountry();
        showPage(mDialectPage);
        mDialectPage->setLanguageId(mLanguageId);
        mDialectPage->setLanguage(mLanguage);
        mDialectPage->setCountryId(mCountryId);
        mDialectPage->setCountry(mCountry);
        mDialectPage->quickSearch(QString());
        mDialectPage->setInstruction(mLanguage);
    } else if (target == mDetailsPage) {
        if (mRoute == FullRoute)
            mLocaleDesc = mDialectPage->selectedName();
        showPage(mDetailsPage);
        btnNext->hide();
        btnFinish->show();
        btnFinish->setDefault(true);
        mDetailsPage->setLanguage(mLanguage);
        if (mRoute == FullRoute)
            mDetailsPage->setCountry(mCountry);
    } else if (target) {
        showPage(target);
    }
    btnPrevious->setEnabled(true);
}

void FluencyFormWizard::processPrevious()
{
    makeNextDefault();
    QWidget* current = wizardStack->currentWidget();
    if (current == mLanguagePage) {
        mLanguagePage->gettingFocus();
        btnNext->setEnabled(false);
    }
    QWidget* target = nullptr;
    if (current == mDetailsPage && mRoute == QuickRoute)
        target = mTopLangs;
    else
        target = wizardStack->widget(qMax(0, wizardStack->indexOf(current) - 1));
    showPage(target);

    if (target == mTopLangs) {
        btnFinish->hide();
        btnNext->show();
        btnPrevious->setEnabled(false);
        mTopLangs->gettingFocus();
        btnNext->setEnabled(false);
    } else if (target == mDialectPage) {
        btnFinish->hide();
        btnNext->show();
        makeNextDefault();
    }
}

void FluencyFormWizard::finish()
{
    if (mLanguage.isEmpty()) {
        MessageBoxHelper::warning(this, mTitle, tr("Unknown error."));
        reject();
        return;
    }
    mCountry = mDetailsPage->country();
    mLocality = mDetailsPage->locality();
    mStateProv = mDetailsPage->stateProv();
    mFluencyLevel = mDetailsPage->fluencyLevel();
    // An empty level is a stored level that no longer resolves.
    if (mFluencyLevel.isEmpty() || mFluencyLevel == tr("Select")) {
        MessageBoxHelper::information(this, mTitle, tr("Please select your fluency level."));
        return;
    }
    mIsStudying = mFluencyLevel == tr("Native") ? QStringLiteral("0") : QStringLiteral("1");

    int code = validate();
    if (code == 1 && mSaveToProfile)
        code = saveFluencyData();

    switch (code) {
    case 1:
        accept();
        break;
    case -1:
        MessageBoxHelper::information(this, mTitle,
                                      tr("No network connection present.  This fluency change will not be saved."));
        accept();
        break;
    case Refused:
        // The local store has the change already; the caller refreshes its lists.
        MessageBoxHelper::information(this, mTitle, tr("The network did not accept this fluency change."));
        accept();
        break;
    case NotStored:
        // Nothing was written nor sent: the dialog stays as if cancelled.
        MessageBoxHelper::warning(this, mTitle,
                                  StoreWriteError::message(tr("The fluency change could not be saved."),
                                                           StoreWriteError::explain(QDir::currentPath())));
        reject();
        break;
    case AlreadyListed:
        MessageBoxHelper::information(this, mTitle, tr("'%1' is already in your list of fluencies.").arg(mLanguage));
        reject();
        break;
    default:
        MessageBoxHelper::warning(this, mTitle, tr("Unknown Error."));
        reject();
        break;
    }
}

int FluencyFormWizard::validate()
{
    qCDebug(lcWidgets, "FluencyFormWizard::validate()");
    if (!mSaveToProfile)
        return 1;
    const ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (!user)
        return 0;
    if (mRoute == EditRoute)
        return 1;
    for (const ZoUserFluency* fluency : user->fluencies()) {
        if (fluency && fluency->language() == mLanguage)
            return AlreadyListed;
    }
    return 1;
}

int FluencyFormWizard::saveFluencyData()
{
    qCDebug(lcWidgets, "FluencyFormWizard::saveFluencyData()");
    const ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (!user)
        return 0;
    if (!mNetManager)
        return -1;
    QHash<QString, QString> hash = user->toHash();
    const int count = user->fluencyCount();
    int n = 0;
    if (mRoute == EditRoute) {
        for (int i = 1; i <= count && n == 0; ++i) {
            if (hash.value(QStringLiteral("FLanguage") + QString::number(i)) == mLanguage)
                n = i;
        }
    }
    if (n == 0)
        n = count + 1;
    const QString number = QString::number(n);
    for (const char* key : FluencyKeys)
        hash.remove(QLatin1String(key) + number);
    const QString values[] = {mLanguage, mLocaleDesc, mCountry, mStateProv, mLocality, mFluencyLevel, mIsStudying};
    for (int i = 0; i < 7; ++i)
        hash.insert(QLatin1String(FluencyKeys[i]) + number, values[i]);

    StoreWriteError::clear();
    const int result = mNetManager->updateFluency(user->username(), user->password(), hash);
    if (result == INetManager::NotStoredLocally)
        return NotStored;
    if (result == -1)
        return -1;
    return result == 0 ? int(Refused) : 1;
}
