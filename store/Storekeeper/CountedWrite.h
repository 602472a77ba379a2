#pragma once

#include <QList>
#include <QSqlDatabase>

class ExerciseIndex;
class UploadCounter;

// One write of the store, with the exercises it may change: the upload
// counts follow it, and so does the exercise snapshot, as far as the write
// says what it does to the exercise rows.
class CountedWrite
{
public:
    // RowsChange: any exercise rows may change; RowsUnchanged: none do;
    // RowsOfListed: only those of the listed exercises and of exercises the
    // write adds.
    enum Rows { RowsChange, RowsUnchanged, RowsOfListed };

    CountedWrite(UploadCounter* counter, ExerciseIndex* index, QSqlDatabase database, Rows rows,
                 const QList<qint64>& exerciseIds = {});
    ~CountedWrite();
    CountedWrite(const CountedWrite&) = delete;
    CountedWrite& operator=(const CountedWrite&) = delete;

private:
    UploadCounter* mCounter;
    ExerciseIndex* mIndex;
    Rows mRows;
    QSqlDatabase mDatabase;
    QList<qint64> mIds;
};
