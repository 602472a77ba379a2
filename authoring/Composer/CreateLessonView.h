#pragma once

#include "ICreate.h"
#include "ui_CreateLessonView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QModelIndex>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <memory>

class IAudio;
class IDbManager;
class IMainWindow;
class IResource;
class IUserResource;
class LanguageComboHelper;
class QTimer;
class ZoLesson;
class ZoQueryTable;

// The lesson editor of the "Create" tab: the lesson being built (title and
// its exercises, in order) above a find-ahead search over the stored
// exercises. Exercises are added from the results and removed with the minus
// icon; saving asks for the lesson's details and stores a new lesson.
class CreateLessonView : public ICreate, public Ui::CreateLessonView
{
    Q_OBJECT
    Q_INTERFACES(ICreate)

public:
    using Record = QHash<QString, QString>;

    // Lesson table columns.
    enum Column {
        ColId,
        ColTerm,
        ColLanguage,
        ColCountry,
        ColLocality,
        ColVoice,
        ColMediaPath,
        ColMediaName,
        ColCount
    };

    // Delay of the search after the last keystroke.
    static constexpr int kFindAheadMs = 500;
    // Clicks this far into the term cell hit the minus icon.
    static constexpr int kMinusZoneEnd = 15;

    explicit CreateLessonView(QWidget* parentForm);
    ~CreateLessonView() override;

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

    // The local ids of the lesson table, in order.
    QStringList lessonIds() const;
    ZoQueryTable* queryTable() const { return mQuery; }
    bool lessonShown() const { return mLessonShown; }

signals:
    void modified();
    void notModified();
    void saved();
    void newObject();

public slots:
    int redrawView();
    int newSession() override;
    int openSession(void* object) override;
    int saveSession() override;
    void objectModified() override;
    void objectNotModified() override;

    void addLanguage(int index);
    void findAll();
    void findAhead();
    void findAheadManager();
    void searchLocal();
    // Builds the lesson to save from the title and the rows; false when the
    // user did not give its details (or there is nothing to save).
    bool changeLessonInfo();
    void tblListClicked(int row, int col, int button, const QPoint& pos);
    void listTableDoubleClick(int row, int col, int button, const QPoint& pos);
    void playSound();
    void stopSound();
    void checkPlayStatus();
    void clearLessonList();
    void exerciseClicked(const QModelIndex& index);
    void exerciseDoubleClicked(const QModelIndex& index);
    void exerciseRightClicked();
    void refreshButtons();
    void slotAdd();
    void slotAddAll();
    void clearListSelection();
    void clearSearchSelection();

private:
    void addExercises(bool all);
    // Appends one exercise (a search record) to the lesson table.
    void addExerciseRow(const Record& record);
    void setModified();
    void setNotModified();
    bool soundBusy() const;
    QString userName() const;
    int rowHeight() const;

    QWidget* mParentForm;
    IMainWindow* mHost = nullptr;
    IAudio* mAudio = nullptr;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    ZoQueryTable* mQuery = nullptr;
    LanguageComboHelper* mFilter = nullptr;
    QTimer* mPlayTimer = nullptr;
    QTimer* mFindAheadTimer = nullptr;
    QDir mIconDir;
    QPixmap mPlusIcon;
    QPixmap mMinusIcon;
    QString mTitle;
    QString mSoundDir;
    QString mSoundFile;
    // The view's own copy of the lesson it shows (or is saving).
    std::unique_ptr<ZoLesson> mLesson;
    int mModified = 0;
    bool mLessonShown = false;
    // The placeholder title shown for a new lesson, in the language it was shown in.
    QString mNewLessonTitle;
    bool mSearched = false;
    bool mInitialised = false;
    // The user whose lesson the table holds.
    QString mShownUser;
    // A play waits for the plug-in to report the stop of the sound before.
    bool mPendingPlay = false;
    QElapsedTimer mPendingClock;
};
