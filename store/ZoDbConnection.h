#pragma once

#include <QSqlDatabase>
#include <QString>

// Opens the local database file for the store: WAL journaling with
// synchronous=FULL and a busy timeout. The schema declares no foreign keys,
// so their enforcement stays off.
class ZoDbConnection
{
public:
    static constexpr int BusyTimeoutMs = 5000;

    // Adds the connection, or reuses one of that name (reopened when it is
    // closed or on another file), and opens the file. On failure the returned
    // handle is closed, and a connection added here is removed again.
    static QSqlDatabase open(const QString& fileName,
                             const QString& connectionName = QLatin1String(QSqlDatabase::defaultConnection));
};
