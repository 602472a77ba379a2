#include "ExerciseIndex.h"

#include "ExerciseSnapshot.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>

namespace {

sqlite3* handleOf(const QSqlDatabase& database)
{
    if (!database.isOpen() || !database.driver())
        return nullptr;
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool readNumber(sqlite3* handle, const char* sql, qint64* value)
{
    sqlite3_stmt* statement = nullptr;
    bool ok = sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) == SQLITE_OK
              && sqlite3_step(statement) == SQLITE_ROW;
    if (ok)
        *value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return ok;
}

} // namespace

std::shared_ptr<const ExerciseSnapshot> ExerciseIndex::current(QSqlDatabase database)
{
    sqlite3* handle = handleOf(database);
    if (!handle)
        return nullptr;
    // One read transaction, so the tables are read as of one moment; the
    // marks are taken first, so a later commit is never taken as read.
    const bool own = sqlite3_get_autocommit(handle) != 0;
    if (own && sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return nullptr;
    // data_version moves with commits of other connections, total_changes()
    // with every write of this one.
    qint64 dataVersion = 0;
    qint64 changes = 0;
    bool ok = readNumber(handle, "PRAGMA data_version", &dataVersion)
              && readNumber(handle, "SELECT total_changes()", &changes);
    if (ok && (!mSnapshot || dataVersion != mDataVersion || changes != mChanges)) {
        mSnapshot.reset();
        mSnapshot = ExerciseSnapshot::load(handle);
        ok = mSnapshot != nullptr;
        mDataVersion = dataVersion;
        mChanges = changes;
    }
    if (own)
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    if (!ok) {
        mSnapshot.reset();
        return nullptr;
    }
    return mSnapshot;
}

qint64 ExerciseIndex::memoryBytes() const
{
    return mSnapshot ? mSnapshot->memoryBytes() : 0;
}

void ExerciseIndex::clear()
{
    mSnapshot.reset();
    mDataVersion = -1;
    mChanges = -1;
    mTracking = false;
}

void ExerciseIndex::beforeWrite(QSqlDatabase database)
{
    mTracking = false;
    sqlite3* handle = handleOf(database);
    qint64 dataVersion = 0;
    qint64 changes = 0;
    if (!handle || !mSnapshot || !readNumber(handle, "PRAGMA data_version", &dataVersion)
            || !readNumber(handle, "SELECT total_changes()", &changes) || dataVersion != mDataVersion
            || changes != mChanges || !readNumber(handle, "SELECT COALESCE(MAX(lmid), 0) FROM m", &mLastId))
        return;
    mTracking = true;
}

void ExerciseIndex::afterWrite(QSqlDatabase database, bool rowsChanged, const QList<qint64>& exerciseIds)
{
    if (!mTracking)
        return;
    mTracking = false;
    sqlite3* handle = handleOf(database);
    qint64 dataVersion = 0;
    qint64 changes = 0;
    // Another connection's commit in between: the next query reads everything.
    if (!handle || !readNumber(handle, "PRAGMA data_version", &dataVersion)
            || !readNumber(handle, "SELECT total_changes()", &changes) || dataVersion != mDataVersion)
        return;
    if (changes == mChanges)
        return;
    if (!rowsChanged) {
        mChanges = changes;
        return;
    }
    std::shared_ptr<ExerciseSnapshot> changed = mSnapshot->withExercisesRead(
            handle, std::vector<qint64>(exerciseIds.cbegin(), exerciseIds.cend()), mLastId);
    if (!changed)
        return;
    mSnapshot = std::move(changed);
    mChanges = changes;
}
