#include "ExerciseIndex.h"

#include "ExerciseSnapshot.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

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

// data_version moves with commits of other connections, total_changes()
// with every write of this one.
bool readVersion(sqlite3* handle, qint64* dataVersion, qint64* changes)
{
    return handle && readNumber(handle, "PRAGMA data_version", dataVersion)
           && readNumber(handle, "SELECT total_changes()", changes);
}

// Reads the rows on a connection whose read has begun, then closes it.
std::shared_ptr<ExerciseSnapshot> readAndClose(sqlite3* reader, const std::function<void()>& hook,
                                               const std::atomic<bool>* stop)
{
    if (hook)
        hook();
    std::shared_ptr<ExerciseSnapshot> rows = ExerciseSnapshot::load(reader, stop);
    // The type-ahead's own order, made here rather than at the first search.
    if (rows)
        rows->prepareOrder(1);
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    return rows;
}

} // namespace

ExerciseIndex::ExerciseIndex() = default;

ExerciseIndex::~ExerciseIndex()
{
    clear();
}

ExerciseIndex::Load::~Load()
{
    if (thread.joinable())
        thread.join();
}

void ExerciseIndex::setLoadHook(std::function<void()> hook)
{
    mLoadHook = std::move(hook);
}

void ExerciseIndex::setLoadedCallback(std::function<void()> callback)
{
    mLoadedCallback = std::move(callback);
}

void ExerciseIndex::stopLoading()
{
    if (mLoad)
        mLoad->stop->store(true);
}

bool ExerciseIndex::takeUpLoaded(QSqlDatabase database)
{
    if (!mLoad || mLoad->rows.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    takeLoaded(database);
    return true;
}

void ExerciseIndex::startLoading(QSqlDatabase database)
{
    sqlite3* handle = handleOf(database);
    // Not inside a transaction of the store's connection: the reader would
    // not see what it wrote so far.
    if (mSnapshot || mLoad || !handle || sqlite3_threadsafe() == 0 || sqlite3_get_autocommit(handle) == 0)
        return;
    const char* file = sqlite3_db_filename(handle, "main");
    if (!file || !*file)
        return;
    auto load = std::make_unique<Load>();
    if (!readVersion(handle, &load->dataVersion, &load->changes))
        return;
    sqlite3* reader = nullptr;
    if (sqlite3_open_v2(file, &reader, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(reader);
        return;
    }
    sqlite3_busy_timeout(reader, 5000);
    // The read begins here, before the store's next write: the rows are
    // those of this moment whenever the thread gets to them.
    if (sqlite3_exec(reader, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK
        || !readNumber(reader, "SELECT COALESCE(MAX(lmid), 0) FROM m", &load->lastId)) {
        sqlite3_close(reader);
        return;
    }
    // The rows are there for the taking before the callback runs.
    std::packaged_task<std::shared_ptr<ExerciseSnapshot>()> read(
        [reader, hook = mLoadHook, stop = load->stop] { return readAndClose(reader, hook, stop.get()); });
    load->rows = read.get_future();
    try {
        load->thread = std::thread([read = std::move(read), loaded = mLoadedCallback, stop = load->stop]() mutable {
            read();
            if (loaded && !stop->load())
                loaded();
        });
    } catch (const std::system_error&) {
        sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(reader);
        return;
    }
    mLoad = std::move(load);
}

void ExerciseIndex::takeLoaded(QSqlDatabase database)
{
    const std::unique_ptr<Load> load = std::move(mLoad);
    std::shared_ptr<ExerciseSnapshot> rows = load->rows.get();
    sqlite3* handle = handleOf(database);
    qint64 dataVersion = 0;
    qint64 changes = 0;
    if (!rows || !load->followed || load->inWrite || !readVersion(handle, &dataVersion, &changes)
        || dataVersion != load->dataVersion || changes != load->changes)
        return;
    if (load->rowsWritten) {
        rows = rows->withExercisesRead(handle, load->ids, load->lastId);
        if (!rows)
            return;
    }
    mSnapshot = std::move(rows);
    mDataVersion = dataVersion;
    mChanges = changes;
}

std::shared_ptr<const ExerciseSnapshot> ExerciseIndex::current(QSqlDatabase database)
{
    if (mLoad)
        takeLoaded(database);
    sqlite3* handle = handleOf(database);
    if (!handle)
        return nullptr;
    // One read transaction, so the tables are read as of one moment; the
    // marks are taken first, so a later commit is never taken as read.
    const bool own = sqlite3_get_autocommit(handle) != 0;
    if (own && sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return nullptr;
    qint64 dataVersion = 0;
    qint64 changes = 0;
    bool ok = readVersion(handle, &dataVersion, &changes);
    if (ok && (!mSnapshot || dataVersion != mDataVersion || changes != mChanges)) {
        mSnapshot.reset();
        mSnapshot = ExerciseSnapshot::load(handle);
        ++mWholeReads;
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
    stopLoading();
    if (mLoad)
        mLoad->rows.wait();
    mLoad.reset();
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
    if (mLoad) {
        Load& load = *mLoad;
        qint64 lastId = 0;
        if (!load.followed)
            return;
        if (!readVersion(handle, &dataVersion, &changes) || dataVersion != load.dataVersion || changes != load.changes
            || !readNumber(handle, "SELECT COALESCE(MAX(lmid), 0) FROM m", &lastId)) {
            load.followed = false;
            return;
        }
        // Exercises this write adds lie above the highest id now.
        load.lastId = std::min(load.lastId, lastId);
        load.inWrite = true;
        return;
    }
    if (!mSnapshot || !readVersion(handle, &dataVersion, &changes) || dataVersion != mDataVersion || changes != mChanges
        || !readNumber(handle, "SELECT COALESCE(MAX(lmid), 0) FROM m", &mLastId))
        return;
    mTracking = true;
}

void ExerciseIndex::afterWrite(QSqlDatabase database, bool rowsChanged, const QList<qint64>& exerciseIds)
{
    if (mLoad) {
        Load& load = *mLoad;
        if (!load.inWrite)
            return;
        load.inWrite = false;
        sqlite3* handle = handleOf(database);
        qint64 dataVersion = 0;
        qint64 changes = 0;
        if (!readVersion(handle, &dataVersion, &changes) || dataVersion != load.dataVersion) {
            load.followed = false;
            return;
        }
        if (rowsChanged && changes != load.changes) {
            load.ids.insert(load.ids.end(), exerciseIds.cbegin(), exerciseIds.cend());
            load.rowsWritten = true;
        }
        load.changes = changes;
        return;
    }
    if (!mTracking)
        return;
    mTracking = false;
    sqlite3* handle = handleOf(database);
    qint64 dataVersion = 0;
    qint64 changes = 0;
    // Another connection's commit in between: the next query reads everything.
    if (!readVersion(handle, &dataVersion, &changes) || dataVersion != mDataVersion)
        return;
    if (changes == mChanges)
        return;
    if (!rowsChanged) {
        mChanges = changes;
        return;
    }
    std::shared_ptr<ExerciseSnapshot> changed =
        mSnapshot->withExercisesRead(handle, std::vector<qint64>(exerciseIds.cbegin(), exerciseIds.cend()), mLastId);
    if (!changed)
        return;
    mSnapshot = std::move(changed);
    mChanges = changes;
}
