#pragma once

#include "IForm.h"
#include "ui_Bookshelf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QModelIndex>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class HelpBrowser;
class QAbstractButton;
class IAudio;
class IDbManager;
class ILogResource;
class IMainWindow;
class IResource;
class IStudyResource;
class IUserResource;
class LanguageComboHelper;
class QKeyEvent;
class QTimer;
class QTreeWidgetItem;
class WorkProgress;
class ZoQueryTable;

// The "Library" tab: finds the exercises and lessons stored on this computer,
// deletes them, and fills the shared study list, playing an exercise's sound.
class Bookshelf : public QWidget, public IForm, public Ui::Bookshelf
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IForm_iid)
    Q_INTERFACES(IForm)

public:
    Bookshelf();
    ~Bookshelf() override;

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

public slots:
    int redrawView() override;
    void stopSound();
    void playSound();
    void checkPlayStatus();
    void removeExerciseFromStudyList();
    void clearStudylist();
    void clearSearchSelections();
    void studyNow();
    void slotAdd();
    void slotAddAll();
    void findAll();
    void findAhead();
    void findAheadManager();
    void searchLocal();
    void deleteObject();
    void addLanguage(int index);
    void btnHelpClicked();
    void lEditSearchFieldGotFocus();
    void lEditSearchEnterPressed();
    void exerciseClicked(const QModelIndex& index);
    void lessonClicked(const QModelIndex& index);
    void exerciseDoubleClicked(const QModelIndex& index);
    void lessonDoubleClicked(const QModelIndex& index);
    void exerciseRightClicked();
    void lessonRightClicked();
    void addExercisesToStudyList(bool all);
    void addExerciseToStudyList(int row);
    void addLessonsToStudyList(bool all);
    void addLessonToStudyList(int row);
    void refreshButtons();
    void keyPressed(QKeyEvent* event);
    void currentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void studylistClicked(int row, int column, int button, const QPoint& pos);
    void studylistTableDoubleClick(int row, int column, int buttons, const QPoint& pos);
    void clearListSelection();
    // The store has taken up the exercise rows it read after sign-in.
    void exerciseRowsReady();

private:
    using Record = QHash<QString, QString>;
    // One entry of a context menu, enabled like its button; no button: a separator.
    struct MenuItem
    {
        QString text;
        QAbstractButton* button = nullptr;
        void (Bookshelf::*slot)() = nullptr;
    };

    void runMenu(const QList<MenuItem>& items);

    // The parts of init.
    void connectControls();
    void setUpSound();
    void loadPlugins();
    void setUpResultTables();
    void setUpStudyTable();

    // Runs one query of the search and returns the rows found; without
    // applyCriteria the query takes otherwise.
    int runQuery(ZoQueryTable* table, QTableView* view, const QString& type, const QString& textKey, bool applyCriteria,
                 const QHash<QString, QString>& otherwise = {});
    // True while the store reads its exercise rows in the background.
    bool storeReadingRows() const;
    void searchExercises(bool applyCriteria);
    void searchLessons(bool applyCriteria);
    void deleteExercises();
    void deleteLessons();

    QString userName() const;
    bool exercisesShown() const;
    QTreeWidgetItem* resultItem(int index);
    void resetResultTree();
    void updateResultCounts();
    QHash<QString, QString> filterCriteria(const QString& textKey) const;

    // Study list: row i of the table is entry i of the study resource.
    void appendStudyRow(const Record& record);
    void rebuildStudyList();
    bool studyTableMirrorsList() const;
    // Rebuilds the table when another writer changed the list; true when
    // the table row still shows the entry it showed before.
    bool studyRowStillShown(int row);
    void syncStudyList();
    void removeStudyRow(int row);
    void addRecordsToStudyList(const QList<int>& rows, bool lessons);
    // A lesson's title and its members in order, repeats included.
    struct LessonMembers
    {
        QString title;
        QStringList ids;
    };
    // Members added between progress steps.
    static constexpr int kLessonStep = 500;
    QList<LessonMembers> lessonMembers(const Record& lesson);
    // Appends the lesson's stored members; done counts its steps (two per
    // member). False when the progress said to stop.
    bool addLessonMembers(const LessonMembers& lesson, WorkProgress* progress, int* done);

    bool soundActive();
    void setSoundFromStudyRow(int row);

    // Selected rows of a result table as local ids, in row order.
    QStringList selectedIds(ZoQueryTable* table) const;
    void reselect(QTableView* view, const QStringList& ids);
    bool isLessonMember(const QString& exerciseId, QHash<QString, bool>* known);
    QString lessonTitleOf(const Record& record) const;

    QPointer<IMainWindow> mHost;
    IAudio* mAudio = nullptr;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    IStudyResource* mStudy = nullptr;
    IResource* mLanguages = nullptr;
    ILogResource* mLog = nullptr;

    std::unique_ptr<ZoQueryTable> mExerciseTable;
    std::unique_ptr<ZoQueryTable> mLessonTable;
    // The store as an object, when it tells that its rows are in.
    QPointer<QObject> mStoreObject;
    // An exercise search waiting for the store's rows, and the rows selected before it.
    bool mExercisesPending = false;
    bool mPendingCriteria = true;
    QStringList mPendingSelection;
    QPixmap mPlusIcon;
    QPixmap mMinusIcon;
    QDir mIconDir;
    QString mTitle;

    QString mSoundDir;
    QString mSoundFile;
    QTimer* mPlayTimer = nullptr;
    QTimer* mFindAheadTimer = nullptr;
    // Playback asked for but not yet reported by the sound plug-in.
    bool mPlayStarting = false;
    // A play waiting for the previous playback to end.
    bool mPendingPlay = false;
    QElapsedTimer mPlayClock;

    QPointer<HelpBrowser> mHelp;
    int mSplash = 0;
    int mRefreshedOnce = 0;
    int mSplashPending = 1;

    bool mInitialised = false;
    LanguageComboHelper* mFilter = nullptr;
    bool mFilterFilled = false;
    // The user the tab last showed; another user resets it.
    QString mShownUser;
    bool mShownUserSet = false;
    int mExerciseCount = 0;
    int mLessonCount = 0;
};
