#include "LanguageComboHelper.h"

#include "FluencyFormWizard.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QComboBox>
#include <QSettings>
#include <QSignalBlocker>

namespace {

IUserResource* userResource()
{
    return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
}

IResource* languageResource()
{
    return PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
}

} // namespace

LanguageComboHelper::LanguageComboHelper(QComboBox* combo, FirstEntry first, IMainWindow* mainWindow)
    : QObject(combo),
      mCombo(combo),
      mFirst(first),
      mMainWindow(mainWindow)
{
    connect(combo, &QComboBox::currentIndexChanged, this, &LanguageComboHelper::choose);
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
    return QStringLiteral("users/") + userName() + QLatin1Char('/') + mSettingKey;
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
    const QString shown = mCombo->currentText();
    const QSignalBlocker blocker(mCombo.data());
    mCombo->clear();
    IUserResource* users = userResource();
    ZoUser* user = users ? users->currentUser() : nullptr;
    if (!user) {
        mPreviousIndex = 0;
        return false;
    }
    QStringList entries{firstText()};
    for (const ZoUserFluency* fluency : user->fluencies())
        entries.append(fluency->language());
    entries.append(addText());
    mCombo->addItems(entries);

    int index = entries.indexOf(shown);
    if (index < 0 || index == entries.size() - 1)
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

bool LanguageComboHelper::selectLanguage(const QString& language)
{
    if (!mCombo || language.isEmpty())
        return false;
    const int index = mCombo->findText(language, Qt::MatchExactly);
    if (index <= 0 || index == mCombo->count() - 1)
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
    if (!added.isNull() && mCombo->findText(added, Qt::MatchExactly) < 0)
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
    QPointer<FluencyFormWizard> wizard = new FluencyFormWizard(mainWindow, parent, true);
    if (!presetLanguage.isEmpty())
        wizard->presetLanguage(presetLanguage);
    const QPointer<IMainWindow> host(mainWindow);
    const int result = wizard->exec();
    if (!wizard)
        return QString();
    const QString language = wizard->language();
    delete wizard.data();
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
    auto* store = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    ZoUser* current = users ? users->currentUser() : nullptr;
    if (!current || !store)
        return false;
    const QString name = current->username();
    QList<ZoUser*> found = store->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}});
    ZoUser* fresh = !found.isEmpty() && found.first()->username() == name ? found.takeFirst() : nullptr;
    qDeleteAll(found);
    if (!fresh)
        return false;
    users->clearCurrentUser();
    users->setCurrentUser(fresh);
    return true;
}
