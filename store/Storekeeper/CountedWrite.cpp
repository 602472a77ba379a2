#include "CountedWrite.h"

#include "ExerciseIndex.h"
#include "UploadCounter.h"

CountedWrite::CountedWrite(UploadCounter* counter, ExerciseIndex* index, QSqlDatabase database, Rows rows,
                           const QList<qint64>& exerciseIds)
    : mCounter(counter)
    , mIndex(rows == RowsChange ? nullptr : index)
    , mRows(rows)
    , mDatabase(database)
    , mIds(exerciseIds)
{
    mCounter->beforeWrite(mDatabase, exerciseIds);
    if (mIndex)
        mIndex->beforeWrite(mDatabase);
}

CountedWrite::~CountedWrite()
{
    mCounter->afterWrite(mDatabase);
    if (mIndex)
        mIndex->afterWrite(mDatabase, mRows == RowsOfListed, mIds);
}
