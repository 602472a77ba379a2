#pragma once

#include "IForm.h"
#include "ui_Tutor.h"

#include <QDir>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

class HelpBrowser;
class IAudio;
class IDbManager;
class IMainWindow;
class IStudyResource;
class IUserResource;
class QTimer;
class StudyListModel;

// The study tab: drills the shared study list with the model sound, the
// learner's own recording and a comparison of the two, shows the current
// exercise plain or masked, and saves or trims the list.
class Tutor : public QWidget, public IForm, public Ui::Tutor
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IForm_iid)
    Q_INTERFACES(IForm)

public:
    // The learner's recording, apart from the authoring tab's "AudioTemp.tmp".
    static constexpr const char* RecordingDir = "Content";
    static constexpr const char* RecordingFile = "StudentTemp.tmp";

    explicit Tutor(QWidget* parent = nullptr);
    ~Tutor() override;

    void init() override;
    int customRefresh() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    void closeEvent(QCloseEvent* event) override;
    QString title() override;
    QString translationFileName(QString language) override;
    QWidget* widget() override;
    int tabIndex() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    void refreshData() override;

    // Every character but the blank becomes "X".
    static QString maskText(const QString& text);

public slots:
    int redrawView() override;
    void tableSelectionChanged();
    void stopModelSound();
    void playModelSound();
    void recordStudentSound();
    void stopStudentSound();
    void playStudentSound();
    void playCompareSound();
    void btnHelpClicked();
    void checkModelPlayStatus();
    void checkStudentRecordStatus();
    void checkStudentPlayStatus();
    void checkPlayCompareStatus();
    void stopStudentButtonDelay();
    void nextExercise();
    void previousExercise();
    void updatePreviousNextButton();
    void rbTextOnClicked();
    void rbTextOffClicked();
    void btnShowTextClicked();
    void studylistDoubleClick(int row, int col, int button, const QPoint& pos);
    void btnCreateLessonClicked();
    void showOptions(int row, int col, int button, const QPoint& pos);
    void removeExercise(bool all);
    void removeExercise();
    void deleteExercise();

private slots:
    void startDeferredStudentPlay();

private:
    // Rebuilds the table from the study resource; the entry shown before
    // stays current when it still stands at its row, otherwise row 0.
    void refillList();
    // Rebuilds the table when the study list changed behind it (a download
    // finished); true when it did.
    bool syncList();
    void showCurrentEntry();
    // Stops sound and returns to the start state for another user.
    void resetView();
    void moveToRow(int row);
    void fitTermHeight();
    void restorePlayButtons();
    bool modelExists();
    // Stops every poll and the loop, and says why (directory, fileName) could not be played.
    void soundFailed(const QString& directory, const QString& fileName);
    // The message saying why the sound could not be played, as far as its file tells.
    static QString whyNotPlayed(const QString& directory, const QString& fileName);
    bool recordingExists();
    bool soundBusy();
    void stopAllPolls();
    // Removes the entry at row, or with all every entry of its exercise.
    void removeEntries(int row, bool all);
    void showEntryFields(const QString& id);
    bool exerciseInLesson(const QString& id);
    QString currentUserName() const;
    void loadIcons();

    IMainWindow* mHost = nullptr;
    IDbManager* mDb = nullptr;
    IAudio* mAudio = nullptr;
    IStudyResource* mStudy = nullptr;
    IUserResource* mUsers = nullptr;
    StudyListModel* mListModel = nullptr;

    QDir mIconDir;
    QString mMsgTitle;
    QString mModelDir;
    QString mModelFile;

    QTimer* mModelPlayTimer = nullptr;
    QTimer* mStudentPlayTimer = nullptr;
    QTimer* mRecordTimer = nullptr;
    QTimer* mStopDelayTimer = nullptr;
    QTimer* mCompareTimer = nullptr;
    QTimer* mDeferredPlayTimer = nullptr;

    bool mTextShown = true;
    bool mComparePhaseModel = true;
    bool mCompareFirst = true;
    bool mInitialized = false;
    QString mShownUser;
    // The exercise whose entry is shown.
    QString mShownId;
    QPointer<HelpBrowser> mHelp;
};
