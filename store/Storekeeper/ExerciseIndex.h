#pragma once

#include <QList>
#include <QSqlDatabase>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

class ExerciseSnapshot;

// The store's copy of the exercise rows, read again whenever the database
// has changed, on this connection or on another one. A snapshot handed out
// stays as it was for as long as its holder keeps it.
class ExerciseIndex
{
public:
    ExerciseIndex();
    ~ExerciseIndex();
    ExerciseIndex(const ExerciseIndex&) = delete;
    ExerciseIndex& operator=(const ExerciseIndex&) = delete;

    // The rows as they are now; null when they cannot be read this way (not
    // an SQLite connection, or a statement failed). While a background read
    // is under way, waits for it to end.
    std::shared_ptr<const ExerciseSnapshot> current(QSqlDatabase database);
    // Without a snapshot and a read under way: begins reading the rows as they
    // are now on a connection and thread of their own. Writes through the
    // brackets below meanwhile are read again into it when it is taken up.
    void startLoading(QSqlDatabase database);
    bool isLoading() const { return mLoad != nullptr; }
    // Runs on the loading thread once its read has begun, before any row is read.
    void setLoadHook(std::function<void()> hook);
    // Runs on the loading thread once its rows can be taken up without a
    // wait; not when the read was stopped.
    void setLoadedCallback(std::function<void()> callback);
    // When the read has ended: makes its rows the snapshot, brought up to
    // date as current() would, and returns true. Never waits.
    bool takeUpLoaded(QSqlDatabase database);
    // Lets a read under way end at its next row; it then gives no rows.
    void stopLoading();
    // How often every row was read on the caller's thread.
    int wholeReads() const { return mWholeReads; }
    // Bytes held by the current snapshot.
    qint64 memoryBytes() const;
    // Forgets the snapshot (the connection is about to close).
    void clear();

    // Bracket one of the store's own writes. When the snapshot was current
    // before it, it stays current: with rowsChanged the rows of the listed
    // exercises and of those the write added are read again into a copy;
    // without, the write is one that leaves the exercise rows as they were
    // (transfer marks, lessons, users).
    void beforeWrite(QSqlDatabase database);
    void afterWrite(QSqlDatabase database, bool rowsChanged, const QList<qint64>& exerciseIds);

private:
    // A read on its own connection, and the store's writes since it began.
    struct Load
    {
        Load() = default;
        Load(const Load&) = delete;
        Load& operator=(const Load&) = delete;
        // Waits for the thread.
        ~Load();
        std::future<std::shared_ptr<ExerciseSnapshot>> rows;
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
        qint64 dataVersion = -1; // of the store's connection
        qint64 changes = -1;     // after the last write followed
        qint64 lastId = 0;       // no exercise at or below it was added since
        std::vector<qint64> ids; // exercises whose rows the writes changed
        bool rowsWritten = false;
        bool followed = true; // every write since has gone through the brackets
        bool inWrite = false;
    };
    // Waits for the read and makes it the snapshot, brought up to date; none
    // when a write was not followed or another connection wrote.
    void takeLoaded(QSqlDatabase database);

    std::unique_ptr<Load> mLoad;
    std::function<void()> mLoadHook;
    std::function<void()> mLoadedCallback;
    std::shared_ptr<ExerciseSnapshot> mSnapshot;
    int mWholeReads = 0;
    qint64 mDataVersion = -1;
    qint64 mChanges = -1;
    // Set by beforeWrite when the snapshot was current: the highest manifest id then.
    bool mTracking = false;
    qint64 mLastId = 0;
};
