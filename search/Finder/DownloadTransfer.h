#pragma once

#include "DownloadFailure.h"
#include "DownloadStore.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class IDbManager;
class INetManager;

// The transfer of one download: asks the network manager for an exercise
// (with its sound and translations) or for a lesson's members not stored yet,
// one after another, polls each transfer's status from the event loop and
// stores what arrived. Ends with completed() or failed(), each at most once;
// nothing of the job runs after either is emitted, so a receiver may delete
// the transfer (later).
class DownloadTransfer : public QObject
{
    Q_OBJECT

public:
    // The status of a transfer the client refused for its content (a sound
    // missing, too large or not a WAV file, or a name that is not plain).
    static constexpr int ContentRefused = -2;
    // The waits between two looks at a status grow from the first to the last.
    static constexpr int FirstWaitMs = 2;
    static constexpr int LastWaitMs = 200;

    // net and store may be null: a job then fails as a network failure or
    // cannot be stored.
    DownloadTransfer(INetManager* net, IDbManager* store, QObject* parent = nullptr);
    ~DownloadTransfer() override;

    // A transfer fails when its status stays 0 for zeroStatusMs, or when it
    // makes no progress for stallMs.
    void setTimeLimits(int zeroStatusMs, int stallMs);

    void startExercise(const ZoExercise& exercise);
    void startLesson(const ZoLesson& lesson);
    // The learner stops the job: a running transfer is cancelled and the job
    // fails as Cancelled.
    void cancel();
    // Stops for good without a word: a running transfer is cancelled.
    void abandon();
    bool isRunning() const;

    // After completion the stored copy, with its local id.
    const ZoExercise& exercise() const;
    // After completion with the local ids of its members.
    const ZoLesson& lesson() const;

signals:
    // Progress runs to maximum: 100 for an exercise, the members of a lesson.
    void progressMaximum(int maximum);
    void progress(int value);
    void completed();
    // Network: the manager failed or the transfer stalled; the program
    // should go offline.
    void failed(DownloadFailure reason);

private:
    enum class Kind { Exercise, Lesson };

    // Fetches the lesson's members from mMember on until one is to be downloaded.
    void nextMember();
    void beginPolling(int handle);
    void poll();
    void arrived();
    void exerciseArrived();
    void memberArrived();
    // Reads the exercise element of a member document into member.
    DownloadFailure readMember(const QString& text, const QString& persistentId, ZoExercise* member);
    DownloadFailure addTranslations(ZoExercise* target);
    DownloadFailure contentRefusal();
    void storeLesson();
    void complete();
    void fail(DownloadFailure reason);
    void stopPolling(bool cancelTransfer);
    // Reads the document of the running transfer: TooManyFields before any of
    // it is parsed; remembers the sound it names as fetched.
    DownloadFailure glance(const QString& text);
    // Removes the sound the running transfer fetched: a plain name in
    // "Content" written since the transfer began, never a file already there.
    void removeFetched();

    INetManager* mNet = nullptr;
    DownloadStore mStore;
    Kind mKind = Kind::Exercise;
    ZoExercise mExercise;
    ZoLesson mLesson;
    bool mRunning = false;
    int mMember = 0;
    int mMembers = 0;
    int mHandle = -1;
    // When the running transfer was asked for, and the sound its document names.
    QDateTime mBegan;
    QString mFetched;
    bool mPolling = false;
    int mHighest = 0;
    int mWaitMs = FirstWaitMs;
    int mZeroStatusMs = 20000;
    int mStallMs = 30000;
    QElapsedTimer mSinceProgress;
    QTimer mPoll;
    // Moves on to the next member from the event loop, so that a long lesson
    // of finished transfers does not nest.
    QTimer mNextMember;
};
