#include "SqlRunner.h"

#include "StatementCache.h"
#include "StoreLog.h"
#include "StoreWriteError.h"
#include "ZoDbCodes.h"
#include "ZoDbHelper.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

void reportError(const QSqlQuery& query, const QString& sql)
{
    StoreWriteError::note(query.lastError());
    qCWarning(lcStore).noquote().nospace() << "SQL ERROR: " << query.lastError().text() << " in: " << sql;
}

} // namespace

SqlRunner::SqlRunner(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper)
    : mDatabase(database)
    , mCache(cache)
    , mHelper(helper)
{
    if (!mCache) {
        mOwnCache = std::make_unique<StatementCache>(mDatabase);
        mCache = mOwnCache.get();
    }
    if (!mHelper) {
        mOwnHelper = std::make_unique<ZoDbHelper>(mDatabase);
        mHelper = mOwnHelper.get();
    }
}

SqlRunner::~SqlRunner() = default;

bool SqlRunner::run(const QString& sql, const QVariantList& values, QVariant* lastId)
{
    QSqlQuery* query = mCache->statement(sql);
    if (!query)
        return false;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    const bool ok = query->exec();
    if (!ok)
        reportError(*query, sql);
    else if (lastId)
        *lastId = query->lastInsertId();
    query->finish();
    return ok;
}

QList<QVariantList> SqlRunner::fetch(const QString& sql, const QVariantList& values, bool* ok, bool keep)
{
    QList<QVariantList> rows;
    std::unique_ptr<QSqlQuery> once;
    QSqlQuery* query = nullptr;
    if (keep) {
        query = mCache->statement(sql);
    } else {
        once = std::make_unique<QSqlQuery>(mDatabase);
        once->setForwardOnly(true);
        if (once->prepare(sql))
            query = once.get();
        else
            reportError(*once, sql);
    }
    bool ran = query != nullptr;
    if (ran) {
        for (int i = 0; i < values.size(); ++i)
            query->bindValue(i, values.at(i));
        ran = query->exec();
        if (!ran) {
            reportError(*query, sql);
        } else {
            const int columns = query->record().count();
            while (query->next()) {
                QVariantList row;
                row.reserve(columns);
                for (int c = 0; c < columns; ++c)
                    row.append(query->value(c));
                rows.append(row);
            }
        }
        query->finish();
    }
    if (ok)
        *ok = ran;
    return rows;
}

QVariant SqlRunner::fetchValue(const QString& sql, const QVariantList& values, bool* ok, bool keep)
{
    const QList<QVariantList> rows = fetch(sql, values, ok, keep);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

QString SqlRunner::text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

QString SqlRunner::notNull(const QString& value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

bool SqlRunner::hasPersistentId(const QString& persistentId)
{
    return !persistentId.isEmpty() && persistentId != QLatin1String(ZoDbCodes::NoPersistentId);
}
