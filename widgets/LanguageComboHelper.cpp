#include "LanguageComboHelper.h"

#include "ComboFit.h"
#include "FluencyFormWizard.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "Owned.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QComboBox>
#include <QSettings>
#include <QSignalBlocker>
#include <QVariant>

#include <memory>
#include <vector>

namespace {

IUserResource* userResource()
{
    return PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
}

IResource* languageResource()
{
    return PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
}

} // namespace

LanguageComboHelper::LanguageComboHelper(QComboBox* combo, FirstEntry first, IMainWindow* mainWindow)
    : QObject(combo)
    , mCombo(combo)
    , mFirst(first)
    , mMainWindow(mainWindow)
{
    connect(combo, &QComboBox::currentIndexChanged, this, &LanguageComboHelper::choose);
    ComboFit::of(combo);
}

void LanguageComboHelper::setMainWindow(IMainWindow* mainWindow)
{
    mMainWindow = mainWindow;
}

void LanguageComboHelper::setWizardParent(QWidget* parent)
{
    mWizardParent = parent;
}

void LanguageComboHelper::setSettingKey(const QString& key, bool storeFirstEntry)
{
    mSettingKey = key;
    mStoreFirstEntry = storeFirstEntry;
}

void LanguageComboHelper::setChoiceGuard(std::function<bool()> guard)
{
    mGuard = std::move(guard);
}

QString LanguageComboHelper::firstText() const
{
    return mFirst == AllLanguages ? tr("All Languages") : tr("Select Language");
}

QString LanguageComboHelper::addText()
{
    return tr("Add Language...");
}

QString LanguageComboHelper::userName() const
{
    IUserResource* users = userResource();
    ZoUser* user = users ? users->currentUser() : nullptr;
    return user ? user->username() : QString();
}

QString LanguageComboHelper::settingName() const
{
    return SettingsKeys::userKey(userName(), mSettingKey);
}

void LanguageComboHelper::setIndexQuietly(int index)
{
    const QSignalBlocker blocker(mCombo.data());
    mCombo->setCurrentIndex(index);
}

bool LanguageComboHelper::fill(bool applySetting)
{
    if (!mCombo)
        return false;
    // The entry shown is found again by its language id: its text changes with the interface language.
    const QString shown = mCombo->currentText();
    const QVariant shownId = mCombo->currentData();
    const QSignalBlocker blocker(mCombo.data());
    mCombo->clear();
    IUserResource* users = userResource();
    ZoUser* user = users ? users->currentUser() : nullptr;
    if (!user) {
        mPreviousIndex = 0;
        return false;
    }
    mCombo->addItem(firstText());
    for (const ZoUserFluency* fluency : user->fluencies())
        mCombo->addItem(fluency->language(), idOf(fluency->language()));
    if (!mKeptId.isEmpty() && mCombo->findData(mKeptId) < 0) {
        IResource* languages = languageResource();
        const QString name = languages ? languages->nameOf(mKeptId) : QString();
        mCombo->addItem(name.isEmpty() ? mKeptId : name, mKeptId);
    }
    mCombo->addItem(addText());

    int index = shownId.isValid() ? mCombo->findData(shownId) : -1;
    if (index < 0)
        index = mCombo->findText(shown, Qt::MatchExactly);
    if (index < 0 || index == mCombo->count() - 1)
        index = 0;
    mCombo->setCurrentIndex(index);

    if (applySetting && !mSettingKey.isEmpty()) {
        const QString id = QSettings().value(settingName()).toString();
        IResource* languages = languageResource();
        if (!id.isEmpty() && languages)
            selectLanguage(languages->nameOf(id));
    }
    mPreviousIndex = mCombo->currentIndex();
    return true;
}

bool LanguageComboHelper::hasLanguage() const
{
    if (!mCombo)
        return false;
    const int index = mCombo->currentIndex();
    return index > 0 && index < mCombo->count() - 1;
}

QString LanguageComboHelper::language() const
{
    return hasLanguage() ? mCombo->currentText() : QString();
}

QString LanguageComboHelper::idOf(const QString& language)
{
    // A language the table does not know is its own id.
    IResource* languages = languageResource();
    const QString id = languages ? languages->idOf(language) : QString();
    return id.isEmpty() ? language : id;
}

int LanguageComboHelper::indexOf(const QString& language) const
{
    if (!mCombo || language.isEmpty())
        return -1;
    // The exact text first; else the same language under another interface language's name.
    int index = mCombo->findText(language, Qt::MatchExactly);
    if (index <= 0 || index == mCombo->count() - 1)
        index = mCombo->findData(idOf(language));
    return index <= 0 || index == mCombo->count() - 1 ? -1 : index;
}

void LanguageComboHelper::keepLanguage(const QString& language)
{
    mKeptId = language.isEmpty() ? QString() : idOf(language);
}

bool LanguageComboHelper::showStoredLanguage(const QString& language)
{
    if (selectLanguage(language))
        return true;
    keepLanguage(language);
    fill(false);
    return selectLanguage(language);
}

bool LanguageComboHelper::selectLanguage(const QString& language)
{
    const int index = indexOf(language);
    if (index < 0)
        return false;
    setIndexQuietly(index);
    return true;
}

void LanguageComboHelper::storeChoice()
{
    if (mSettingKey.isEmpty() || userName().isEmpty())
        return;
    if (hasLanguage()) {
        IResource* languages = languageResource();
        if (languages)
            QSettings().setValue(settingName(), languages->idOf(mCombo->currentText()));
    } else if (mStoreFirstEntry && mCombo->currentIndex() == 0) {
        QSettings().setValue(settingName(), QString());
    }
}

void LanguageComboHelper::choose(int index)
{
    if (!mCombo || mInWizard || index < 0)
        return;
    if (mGuard && !mGuard()) {
        setIndexQuietly(mPreviousIndex);
        return;
    }
    if (index == mCombo->count() - 1 && mCombo->itemText(index) == addText()) {
        // The wizard runs once the combo's own signal has returned: the form
        // may go while it is open, and no code of the combo is on the stack then.
        mInWizard = true;
        QMetaObject::invokeMethod(this, &LanguageComboHelper::addLanguage, Qt::QueuedConnection);
        return;
    }
    finishChoice();
}

void LanguageComboHelper::addLanguage()
{
    if (!mCombo)
        return;
    const QPointer<LanguageComboHelper> self(this);
    QWidget* parent = mWizardParent ? mWizardParent.data() : mCombo->window();
    const QString added = runFluencyWizard(mMainWindow, parent);
    // The form may have gone while the wizard ran.
    if (!self || !mCombo)
        return;
    mInWizard = false;
    // updateAllViewLists refills the combo of a form; a combo elsewhere is refilled here.
    if (!added.isNull() && indexOf(added) < 0)
        fill(false);
    if (added.isNull() || !selectLanguage(added)) {
        setIndexQuietly(qMin(mPreviousIndex, mCombo->count() - 1));
    } else {
        emit languageAdded(added);
        if (!self || !mCombo)
            return;
    }
    finishChoice();
}

void LanguageComboHelper::finishChoice()
{
    storeChoice();
    mPreviousIndex = mCombo->currentIndex();
    emit languageChosen(mCombo->currentText());
}

QString LanguageComboHelper::runFluencyWizard(IMainWindow* mainWindow, QWidget* parent, const QString& presetLanguage)
{
    return runFluencyWizard(mainWindow, parent, [&presetLanguage](FluencyFormWizard& wizard) {
        if (!presetLanguage.isEmpty())
            wizard.presetLanguage(presetLanguage);
    });
}

QString LanguageComboHelper::runFluencyWizard(IMainWindow* mainWindow, QWidget* parent,
                                              const std::function<void(FluencyFormWizard&)>& prepare)
{
    QPointer<FluencyFormWizard> wizard = new FluencyFormWizard(mainWindow, parent, true);
    if (prepare)
        prepare(*wizard);
    const QPointer<IMainWindow> host(mainWindow);
    const int result = wizard->exec();
    if (!wizard)
        return QString();
    QString language;
    {
        const std::unique_ptr<FluencyFormWizard> finished(wizard.data());
        language = finished->language();
    }
    if (result != QDialog::Accepted)
        return QString();
    reloadCurrentUser();
    if (host)
        host->updateAllViewLists();
    return language.isNull() ? QStringLiteral("") : language;
}

bool LanguageComboHelper::reloadCurrentUser()
{
    IUserResource* users = userResource();
    auto* store = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    ZoUser* current = users ? users->currentUser() : nullptr;
    if (!current || !store)
        return false;
    const QString name = current->username();
    std::vector<std::unique_ptr<ZoUser>> found = Owned::list(
        store->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}}));
    if (found.empty() || found.front()->username() != name)
        return false;
    users->clearCurrentUser();
    // The resource keeps the user it is given.
    users->setCurrentUser(found.front().release());
    return true;
}
