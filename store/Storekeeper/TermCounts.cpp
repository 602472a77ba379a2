#include "TermCounts.h"

#include "StatementCache.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

bool readNumber(StatementCache* cache, const QString& sql, qint64* value)
{
    QSqlQuery* query = cache->statement(sql);
    if (!query)
        return false;
    const bool ok = query->exec() && query->next();
    if (ok)
        *value = query->value(0).toLongLong();
    query->finish();
    return ok;
}

} // namespace

QByteArray TermCounts::fold(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + ('a' - 'A'));
    }
    return bytes;
}

bool TermCounts::isCurrent(StatementCache* cache, qint64* dataVersion, qint64* changes)
{
    // data_version moves with commits of other connections, total_changes()
    // with every write of this one.
    if (!readNumber(cache, QStringLiteral("PRAGMA data_version"), dataVersion)
            || !readNumber(cache, QStringLiteral("SELECT total_changes()"), changes))
        return false;
    return mLoaded && *dataVersion == mDataVersion && *changes == mChanges;
}

bool TermCounts::reload(StatementCache* cache)
{
    mLoaded = false;
    mEntries.clear();
    QSqlQuery* query = cache->statement(QStringLiteral(
            "SELECT t.mv, e.lclid, count(*) FROM tm t CROSS JOIN crlt ct CROSS JOIN tm e CROSS JOIN m"
            " CROSS JOIN crlt cm CROSS JOIN mm WHERE +t.tmttmtid = 1 AND t.mv IS NOT NULL"
            " AND ct.mchmid = t.mlmid AND e.mlmid = ct.mprmid AND e.tmttmtid = 2 AND m.lmid = e.mlmid"
            " AND cm.mprmid = e.mlmid AND mm.mlmid = cm.mchmid GROUP BY t.mlmid, e.lclid"));
    if (!query)
        return false;
    if (!query->exec()) {
        query->finish();
        return false;
    }
    while (query->next()) {
        const QVariant language = query->value(1);
        mEntries.append({fold(query->value(0).toString()), language.isNull() ? QString() : language.toString(),
                         query->value(2).toInt()});
    }
    query->finish();
    mLoaded = true;
    return true;
}

int TermCounts::count(QSqlDatabase, StatementCache* cache, const QString& fragment, const QString& languageId)
{
    qint64 dataVersion = 0;
    qint64 changes = 0;
    if (!isCurrent(cache, &dataVersion, &changes)) {
        if (!reload(cache))
            return -1;
        // Reading changes nothing, so the mark taken before the reload holds.
        mDataVersion = dataVersion;
        mChanges = changes;
    }
    const QByteArray needle = fold(fragment);
    int rows = 0;
    for (const Entry& entry : qAsConst(mEntries)) {
        if ((languageId.isEmpty() || entry.languageId == languageId) && entry.term.contains(needle))
            rows += entry.rows;
    }
    return rows;
}

qint64 TermCounts::memoryBytes() const
{
    qint64 bytes = mEntries.capacity() * qint64(sizeof(Entry));
    for (const Entry& entry : mEntries)
        bytes += entry.term.capacity() + 24;
    return bytes;
}
