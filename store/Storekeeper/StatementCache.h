#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>

class QSqlQuery;

// Prepared statements kept for the life of the store, so repeated calls only
// bind and run them. Every statement handed out is reset by its user before
// the next call (see ZoDbBase), so none holds a read lock between calls.
class StatementCache
{
public:
    explicit StatementCache(QSqlDatabase database);
    ~StatementCache();

    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The prepared statement for that text; null when it does not prepare
    // (a failed preparation is not kept, so it is tried again next time).
    QSqlQuery* statement(const QString& sql);
    int size() const;
    // Drops every statement; needed before the connection is closed.
    void clear();

private:
    QSqlDatabase mDatabase;
    QHash<QString, QSqlQuery*> mStatements;
};
