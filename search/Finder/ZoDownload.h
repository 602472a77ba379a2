#pragma once

#include "DownloadFailure.h"
#include "DownloadTransfer.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ui_ZoDownload.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class IMainWindow;

// One download of the search tab: a bar that shows the progress and outcome
// of a DownloadTransfer, which fetches an exercise (with its sound and
// translations) or a lesson (with every member not stored yet) and stores it.
// The transfer runs from the event loop: start() returns at once and the bar
// reports the end to the queue; the bar may be deleted (deleteLater) while
// its transfer runs, which then stops.
class ZoDownload : public QWidget, public Ui::ZoDownload
{
    Q_OBJECT

public:
    enum State { Idle = 0, Active = 1, Queued = 2 };

    explicit ZoDownload(const ZoExercise& exercise, QWidget* parent = nullptr);
    explicit ZoDownload(const ZoLesson& lesson, QWidget* parent = nullptr);
    ~ZoDownload() override;

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
    // The job's lesson: after completion with the local ids of its members.
    const ZoLesson& lesson() const;

    void start();
    void queue();
    void moveToHeadOfQueue();
    void setError(const QString& text);
    void setProgress(int value);
    // The bar's texts in the language now installed.
    void retranslate();
    // Stops for good: cancels a running transfer; the caller then deletes
    // the bar later.
    void abandon();

signals:
    void downloadComplete(ZoDownload* download);
    void enableClearDownloadedButton();
    void signalMoveNextToHeadOfQueue();
    void signalMoveToOfflineMode();
    // The job ended: stored, failed or cancelled (not when abandoned).
    void finished();

public slots:
    void cancelDownloadProcess();

private slots:
    void goToStudyTab();
    void displayErrorMessage();

private:
    void setUp(const QString& title);
    void transferCompleted();
    void transferFailed(DownloadFailure reason);
    // The learner's words for a failure.
    static QString textOf(DownloadFailure reason);
    void networkFailure();
    void fail(const QString& text);
    // Shows the state word (its English source) on the error button.
    void showState(const char* word);

    DownloadTransfer mTransfer;
    ZoExercise mExercise;
    ZoLesson mLesson;
    QString mType;
    const char* mStateWord = nullptr;
    int mState = Idle;
    QString mMessage;
    bool mCancelled = false;
    bool mDestroying = false;
    QString mTitle;
    QPointer<IMainWindow> mMainWindow;
};
