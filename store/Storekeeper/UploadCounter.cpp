#include "UploadCounter.h"

#include "ZoDbExercise.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// Per owner, the uploadable rows of the manifests this filter picks.
QString byOwner(const QString& manifests)
{
    return ZoDbExercise::uploadableRowsSql(QStringLiteral("m.sbun, COUNT(*)"), manifests)
           + QStringLiteral(" GROUP BY m.sbun");
}

bool addRows(QSqlQuery& query, QHash<QString, int>* perUser)
{
    if (!query.exec())
        return false;
    while (query.next())
        (*perUser)[query.value(0).toString()] += query.value(1).toInt();
    return true;
}

} // namespace

bool UploadCounter::readMarks(QSqlDatabase database, Marks* marks)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return false;
    marks->dataVersion = query.value(0).toLongLong();
    if (!query.exec(QStringLiteral("SELECT total_changes()")) || !query.next())
        return false;
    marks->changes = query.value(0).toLongLong();
    return true;
}

bool UploadCounter::contributions(QSqlDatabase database, const QList<qint64>& ids, qint64 newerThan,
                                  QHash<QString, int>* perUser)
{
    QSqlQuery one(database);
    if (!ids.isEmpty() && !one.prepare(byOwner(QStringLiteral("m.lmid = ?"))))
        return false;
    for (qint64 id : ids) {
        one.bindValue(0, id);
        if (!addRows(one, perUser))
            return false;
    }
    if (newerThan < 0)
        return true;
    QSqlQuery newer(database);
    if (!newer.prepare(byOwner(QStringLiteral("m.lmid > ?"))))
        return false;
    newer.bindValue(0, newerThan);
    return addRows(newer, perUser);
}

int UploadCounter::count(QSqlDatabase database, const QString& userName)
{
    Marks now;
    if (!readMarks(database, &now)) {
        clear();
        return -1;
    }
    if (now != mMarks) {
        mCounts.clear();
        mMarks = now;
    }
    const auto known = mCounts.constFind(userName);
    if (known != mCounts.constEnd())
        return *known;
    QSqlQuery query(database);
    if (!query.prepare(ZoDbExercise::uploadableCountSql()))
        return -1;
    query.addBindValue(userName);
    if (!query.exec() || !query.next())
        return -1;
    const int n = query.value(0).toInt();
    mCounts.insert(userName, n);
    return n;
}

void UploadCounter::beforeWrite(QSqlDatabase database, const QList<qint64>& exerciseIds)
{
    mTracking = false;
    mBefore.clear();
    Marks now;
    QList<qint64> ids = exerciseIds;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    if (mCounts.isEmpty() || !readMarks(database, &now) || now != mMarks) {
        clear();
        return;
    }
    QSqlQuery last(database);
    if (!last.exec(QStringLiteral("SELECT COALESCE(MAX(lmid), 0) FROM m")) || !last.next()
        || !contributions(database, ids, -1, &mBefore)) {
        clear();
        return;
    }
    mLastId = last.value(0).toLongLong();
    // An id listed twice still changes once.
    mIds = ids;
    mTracking = true;
}

void UploadCounter::afterWrite(QSqlDatabase database)
{
    if (!mTracking)
        return;
    mTracking = false;
    Marks now;
    QHash<QString, int> after;
    // Another connection's commit in between leaves nothing to go by.
    if (!readMarks(database, &now) || now.dataVersion != mMarks.dataVersion
        || !contributions(database, mIds, mLastId, &after)) {
        clear();
        return;
    }
    for (auto it = mCounts.begin(); it != mCounts.end(); ++it)
        it.value() += after.value(it.key()) - mBefore.value(it.key());
    mMarks = now;
}

void UploadCounter::clear()
{
    mCounts.clear();
    mMarks = Marks();
    mTracking = false;
}
