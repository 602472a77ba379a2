#pragma once

#include "ICreate.h"
#include "TermEditor.h"
#include "ui_CreateExerciseView.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSettings>
#include <QString>

class CreateSession;
class CreateTemplate;
class HelpBrowser;
class IAudio;
class IDbManager;
class IFieldInfo;
class IMainWindow;
class IResource;
class IUserResource;
class LanguageComboHelper;
class QFrame;
class QResizeEvent;
class QScrollArea;
class QTimer;
class QVBoxLayout;
class ZoExercise;

// The exercise editor of the "Create" tab: a study term in one of the
// user's languages, its recording, optional fields, and below them the
// session list and term-list pages.
class CreateExerciseView : public ICreate, public TermEditor, public Ui::CreateExerciseView
{
    Q_OBJECT
    Q_INTERFACES(ICreate)

public:
    explicit CreateExerciseView(QWidget* parentForm);
    ~CreateExerciseView() override;

    void init() override;
    int customRefresh() override;
    void refreshData() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    int canClose() override;
    int maybeSave() override;
    QString type() override;
    QWidget* widget() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    int isModified() override;
    void resetView() override;
    int displayObject(void* object) override;
    virtual void clearExercise();

    // For the term list.
    bool agreesToLeave() override;
    bool showTerm(ZoExercise* exercise) override;
    void startNew() override;

    // Runs the term-list import and shows its page.
    void importWordlist();

    CreateSession* sessionPage() const { return mSession; }
    CreateTemplate* templatePage() const { return mTemplate; }
    const QList<IFieldInfo*>& fieldWidgets() const { return mFields; }
    QString currentId() const { return mCurrentId; }
    bool isExisting() const { return mExisting != 0; }
    // Directory and file name of the current recording.
    QString soundPath() const { return mCurrentSoundPath[0]; }
    QString soundFile() const { return mCurrentSoundPath[1]; }

signals:
    void modified();
    void notModified();
    void saved();
    void newObject();
    void saveExercise(ZoExercise* exercise);
    // An object that is not a term of the term list was opened.
    void leftTermList();

public slots:
    int redrawView();
    int newSession() override;
    int openSession(void* object) override;
    int saveSession() override;
    void objectModified() override;
    void objectNotModified() override;
    void fieldModified();
    void addFieldClicked();
    void addField(QString name, QHash<QString, QString> values);
    void removeFieldInfo(IFieldInfo* field);
    void recordSound();
    void stopSound();
    void playSound();
    void checkRecordStatus();
    void stopButtonDelay();
    void checkPlayStatus();
    void tEditTermChanged();
    void cmbLanguagesChanged(QString text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Stops recording or playback at once.
    void stopAudio();
    void resizeFields();
    void deleteFields();
    int recomputeModified() const;
    // The stored exercise being edited; null for a new one or when it is gone.
    ZoExercise* loadStored() const;
    QString termText() const;
    void setRecordIcon(const char* name);
    // The signed-in user's name; empty when nobody is signed in.
    QString userName() const;
    // Shows the saved exercise, or the term list's next term, or a new one.
    void showSaved(ZoExercise* exercise);

    QWidget* mParentForm;
    IMainWindow* mHost = nullptr;
    QString mVersionTitle;
    QDir mIconDir;
    QSettings mSettings;
    IAudio* mAudio = nullptr;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;

    QString mCurrentId;
    int mExisting = 0;
    int mModified = 0;
    int mLanguageChanged = 0;
    QString mUnchangedLanguageId;
    int mTermChanged = 0;
    int mRecordingChanged = 0;
    int mFieldsChanged = 0;
    bool mStoppedRecording = false;
    QString mCurrentSoundPath[2];

    QTimer* mRecordTimer = nullptr;
    QTimer* mStopDelayTimer = nullptr;
    QTimer* mPlayTimer = nullptr;

    QFrame* mFieldsFrame = nullptr;
    QVBoxLayout* mFieldsLayout = nullptr;
    QScrollArea* mFieldsScroll = nullptr;
    QList<IFieldInfo*> mFields;

    CreateSession* mSession = nullptr;
    CreateTemplate* mTemplate = nullptr;
    QPointer<HelpBrowser> mHelpBrowser;
    LanguageComboHelper* mLanguageHelper = nullptr;
    // The term list hands a term to the editor now.
    bool mShowingListTerm = false;
    // The term list holds the editor's term and hands on the next one after a save.
    bool mTermListHolds = false;
    // The user whose work the view shows.
    QString mShownUser;
};
