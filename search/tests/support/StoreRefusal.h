#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

// Makes the real store fail to write a manifest: a trigger in the database
// file aborts every insert or update that gives a manifest one of the listed
// persistent ids, so the whole write of that exercise or lesson rolls back.
namespace StoreRefusal {

inline bool refuse(const QString& databaseFile, const QString& persistentId)
{
    const QString connection = QStringLiteral("refusal-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(databaseFile);
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS refused_pmid (pmid TEXT PRIMARY KEY)"))
                 && query.exec(QStringLiteral(
                     "CREATE TRIGGER IF NOT EXISTS refuse_insert BEFORE INSERT ON m "
                     "WHEN NEW.pmid IN (SELECT pmid FROM refused_pmid) BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                 && query.exec(QStringLiteral(
                     "CREATE TRIGGER IF NOT EXISTS refuse_update BEFORE UPDATE OF pmid ON m "
                     "WHEN NEW.pmid IN (SELECT pmid FROM refused_pmid) BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                 && query.prepare(QStringLiteral("INSERT OR IGNORE INTO refused_pmid (pmid) VALUES (?)"));
            if (ok) {
                query.addBindValue(persistentId);
                ok = query.exec();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace StoreRefusal
