#include "StatementCache.h"

#include "StoreLog.h"
#include "StoreWriteError.h"

#include <QSqlError>
#include <QSqlQuery>

StatementCache::StatementCache(QSqlDatabase database)
    : mDatabase(database)
{
}

StatementCache::~StatementCache()
{
    clear();
}

QSqlQuery* StatementCache::statement(const QString& sql)
{
    auto it = mStatements.constFind(sql);
    if (it != mStatements.constEnd())
        return it.value();
    auto* query = new QSqlQuery(mDatabase);
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        StoreWriteError::note(query->lastError());
        qCWarning(lcStore).noquote().nospace() << "SQL ERROR: " << query->lastError().text() << " in: " << sql;
        delete query;
        return nullptr;
    }
    mStatements.insert(sql, query);
    return query;
}

int StatementCache::size() const
{
    return mStatements.size();
}

void StatementCache::clear()
{
    qDeleteAll(mStatements);
    mStatements.clear();
}
