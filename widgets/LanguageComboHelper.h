#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class FluencyFormWizard;
class IMainWindow;
class QComboBox;
class QWidget;

// Drives a language combo of a tab: "Select Language" (or "All Languages"),
// the signed-in user's fluency languages in their order, then "Add
// Language...". Choosing the last entry runs the fluency wizard (from the
// event loop, right after the combo's signal returned); when it is
// accepted the signed-in user is reloaded, every tab's lists are refreshed
// and the new language is selected; when it is cancelled the entry chosen
// before comes back. With a setting key, each choice stores the language's id
// under "users/" + user name + "/" + key and a refill selects it again.
//
// The helper is a child of the combo. It reads the signed-in user at each use
// and keeps no user object.
class LanguageComboHelper : public QObject
{
    Q_OBJECT

public:
    enum FirstEntry { SelectLanguage, AllLanguages };

    LanguageComboHelper(QComboBox* combo, FirstEntry first, IMainWindow* mainWindow = nullptr);

    // The main window the wizard opens on and whose updateAllViewLists runs
    // after a language was added.
    void setMainWindow(IMainWindow* mainWindow);
    // Parent of the wizard; the combo's window when not set.
    void setWizardParent(QWidget* parent);
    // Key under "users/<name>/" such as "LibraryLanguage" (empty: none). With
    // storeFirstEntry, choosing the first entry stores an empty id; without,
    // it leaves the stored language as it was.
    void setSettingKey(const QString& key, bool storeFirstEntry);
    // Asked before a choice is taken; false puts the entry chosen before back
    // and nothing else happens (for example while a sound plays).
    void setChoiceGuard(std::function<bool()> guard);

    // Refills the combo without emitting its signals: with nobody signed in it
    // stays empty and the result is false. The entry shown before is selected
    // again when it is still there (else the first); then, with applySetting
    // and a setting key, the stored language when the list holds it.
    bool fill(bool applySetting = true);

    QString firstText() const;
    static QString addText();
    // Whether the combo shows one of the user's languages (not the first entry,
    // not "Add Language...").
    bool hasLanguage() const;
    // The language shown, or an empty text when hasLanguage() is false.
    QString language() const;
    // Selects a language by its text, or by its id when the text is the
    // language's name in another interface language, without running a
    // choice; false when the combo does not hold it.
    bool selectLanguage(const QString& language);
    // A language offered by every fill after the user's own, when they do not
    // have it (a stored value's language); an empty text offers none.
    void keepLanguage(const QString& language);
    // Selects the language of a stored value, kept (as keepLanguage) when the
    // user lacks it; false for an empty text.
    bool showStoredLanguage(const QString& language);
    // The combo entry of this language (as selectLanguage finds it); -1 when none.
    int indexOf(const QString& language) const;
    // The language's id; a language the table does not know is its own id.
    static QString idOf(const QString& language);
    // The index the combo returns to when the wizard is cancelled.
    int previousIndex() const { return mPreviousIndex; }

    // Runs the fluency wizard (saving to the profile) modally on mainWindow,
    // optionally opened on the details of a known language. When accepted:
    // reloads the user, calls updateAllViewLists and returns the new
    // language; otherwise returns a null text.
    static QString runFluencyWizard(IMainWindow* mainWindow, QWidget* parent,
                                    const QString& presetLanguage = QString());
    // The same, with prepare run on the wizard before it opens (such as
    // FluencyFormWizard::presetFluency to edit a fluency).
    static QString runFluencyWizard(IMainWindow* mainWindow, QWidget* parent,
                                    const std::function<void(FluencyFormWizard&)>& prepare);
    // Reads the signed-in user again from the store. Only when a user of that
    // name comes back is the current user replaced; otherwise it stays.
    static bool reloadCurrentUser();

signals:
    // After every choice taken, also after the wizard (accepted or not); the
    // text is the combo's current text.
    void languageChosen(const QString& text);
    // A language was added through the wizard and is now selected.
    void languageAdded(const QString& language);

private slots:
    void choose(int index);
    // Runs the wizard for the "Add Language..." choice.
    void addLanguage();

private:
    QString userName() const;
    QString settingName() const;
    void storeChoice();
    // Stores the choice, remembers it and emits languageChosen.
    void finishChoice();
    void setIndexQuietly(int index);

    QPointer<QComboBox> mCombo;
    FirstEntry mFirst;
    QPointer<IMainWindow> mMainWindow;
    QPointer<QWidget> mWizardParent;
    QString mSettingKey;
    bool mStoreFirstEntry = false;
    std::function<bool()> mGuard;
    int mPreviousIndex = 0;
    bool mInWizard = false;
    QString mKeptId;
};
