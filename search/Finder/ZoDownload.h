#pragma once

#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ui_ZoDownload.h"

#include <QDomDocument>
#include <QDomElement>
#include <QPointer>
#include <QString>
#include <QWidget>

class IDbManager;
class IMainWindow;
class INetManager;
class ZoDbHelper;

// One download of the search tab: a bar that fetches an exercise (with its
// sound and translations) or a lesson (with every member not stored yet),
// stores it and reports the outcome to the queue. Waiting is done by polling
// on the GUI thread with short sleeps and event processing in between; the
// bar may be deleted (deleteLater) while it polls and then returns at once.
class ZoDownload : public QWidget, public Ui::ZoDownload
{
    Q_OBJECT

public:
    enum State { Idle = 0, Active = 1, Queued = 2 };

    explicit ZoDownload(const ZoExercise& exercise, QWidget* parent = nullptr);
    explicit ZoDownload(const ZoLesson& lesson, QWidget* parent = nullptr);
    ~ZoDownload() override;

    // A lesson's members: its persistent member ids up to the first missing one.
    static int memberCount(const ZoLesson& lesson);
    // Why an exercise element from the peer cannot be stored (empty when it
    // can): its sound must be named once, by a plain file name in an element,
    // and its fields stay within their limit. *mediaName gets the name.
    static QString refusalOf(const QDomElement& exercise, QString* mediaName = nullptr);
    // The status of a transfer the client refused for its content (a sound
    // missing, too large or not a WAV file, or a name that is not plain).
    static constexpr int ContentRefused = -2;

    void setMainWindow(IMainWindow* mainWindow);
    // A transfer fails when its status stays 0 for zeroStatusMs, or when it
    // makes no progress for stallMs.
    void setTimeLimits(int zeroStatusMs, int stallMs);

    QString type() const;
    int state() const;
    void setState(int state);
    bool isCancelled() const;
    QString message() const;
    // The job's exercise: after completion the stored copy.
    const ZoExercise& exercise() const;
    const ZoLesson& lesson() const;

    void start();
    void queue();
    void moveToHeadOfQueue();
    void setError(const QString& text);
    void setProgress(int value);
    // The bar's texts in the language now installed.
    void retranslate();
    // Stops for good: cancels a running transfer and makes a running poll
    // return at once; the caller then deletes the bar later.
    void abandon();

signals:
    void cancelExerciseDownload(ZoDownload* download);
    void cancelLessonDownload(ZoDownload* download);
    void downloadComplete(ZoDownload* download);
    void enableClearDownloadedButton();
    void signalMoveNextToHeadOfQueue();
    void signalMoveToOfflineMode();

public slots:
    void cancelDownloadProcess();

private slots:
    void goToStudyTab();
    void displayErrorMessage();

private:
    void setUp(const QString& title);
    // The local id of the member stored from the network, 0 on failure.
    int downloadObjectRoutine(const QString& persistentId);
    bool downloadAndInsertTranslationsOfExercise(int handle, ZoExercise* target);
    bool waitUntilDownloaded(int handle, const QString& kind);
    // The exercise element of a downloaded document, read within the reader's
    // limits; null (and the job failed with the reason) when refused.
    QDomElement downloadedExercise(int handle, QDomDocument* document);
    // Gives up a transfer: cancels it (so the client removes its partial file)
    // and fails the job as a network failure.
    void giveUp(int handle);
    void contentRefused(int handle);
    // For a single exercise: checks the downloaded document and takes the
    // name its sound was stored under; false (job failed) when refused.
    bool takeDownloadedSound(int handle);
    // False (job failed) when the exercise's sound file exists but is not a WAV file.
    bool soundIsPlayable(const ZoExercise& exercise);
    void finalizeDownload();
    bool insertObjectIntoDb();
    // Stores an exercise with its level by name; its local id, 0 when it was not stored.
    int storeExercise(ZoExercise* exercise);
    void networkFailure();
    void fail(const QString& text);
    // Shows the state word (its English source) on the error button.
    void showState(const char* word);

    ZoExercise mExercise;
    ZoLesson mLesson;
    QString mType;
    const char* mStateWord = nullptr;
    int mHandle = -1;
    int mState = Idle;
    QString mMessage;
    bool mCancelled = false;
    bool mStored = false;
    bool mDestroying = false;
    int mZeroStatusMs = 20000;
    int mStallMs = 30000;
    QString mTitle;
    ZoDbHelper* mHelper = nullptr;
    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    QPointer<IMainWindow> mMainWindow;
};
