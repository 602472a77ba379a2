#include "ZoDbConnection.h"

#include "StoreLog.h"

#include <QSqlError>
#include <QSqlQuery>

QSqlDatabase ZoDbConnection::open(const QString& fileName, const QString& connectionName)
{
    const bool added = !QSqlDatabase::contains(connectionName);
    QSqlDatabase db = added ? QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName)
                            : QSqlDatabase::database(connectionName, false);
    bool ok = db.isOpen() && db.databaseName() == fileName;
    if (!ok) {
        db.close();
        db.setDatabaseName(fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        ok = db.open();
        if (!ok)
            qCWarning(lcStore) << "database open failed:" << fileName << db.lastError().text();
    }
    if (ok) {
        QSqlQuery query(db);
        ok = query.exec(QStringLiteral("pragma journal_mode=WAL")) && query.next()
             && query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
        ok = ok && query.exec(QStringLiteral("pragma synchronous=FULL"));
        ok = ok && query.exec(QStringLiteral("pragma foreign_keys=OFF"));
        if (!ok)
            qCWarning(lcStore) << "database settings failed:" << fileName << query.lastError().text();
    }
    if (!ok) {
        db.close();
        if (added) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
        }
    }
    return db;
}
