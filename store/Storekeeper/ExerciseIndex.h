#pragma once

#include <QList>
#include <QSqlDatabase>

#include <memory>

class ExerciseSnapshot;

// The store's copy of the exercise rows, read again whenever the database
// has changed, on this connection or on another one. A snapshot handed out
// stays as it was for as long as its holder keeps it.
class ExerciseIndex
{
public:
    // The rows as they are now; null when they cannot be read this way (not
    // an SQLite connection, or a statement failed).
    std::shared_ptr<const ExerciseSnapshot> current(QSqlDatabase database);
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
    std::shared_ptr<ExerciseSnapshot> mSnapshot;
    qint64 mDataVersion = -1;
    qint64 mChanges = -1;
    // Set by beforeWrite when the snapshot was current: the highest manifest id then.
    bool mTracking = false;
    qint64 mLastId = 0;
};
