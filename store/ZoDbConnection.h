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

    // Adds (or reuses) the connection and opens the file. On failure the
    // returned handle is closed and the connection is removed again.
    static QSqlDatabase open(const QString& fileName,
                             const QString& connectionName = QLatin1String(QSqlDatabase::defaultConnection));
};
