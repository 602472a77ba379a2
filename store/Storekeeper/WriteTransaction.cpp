#include "WriteTransaction.h"

#include "StoreLog.h"
#include "StoreWriteError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// BEGIN or COMMIT as a statement: the driver's own transaction calls drop
// SQLite's result code, which tells a full disk from a read-only file.
bool run(QSqlDatabase& database, const QString& statement, QSqlError* error)
{
    QSqlQuery query(database);
    if (query.exec(statement))
        return true;
    *error = query.lastError();
    return false;
}

} // namespace

WriteTransaction::WriteTransaction(QSqlDatabase database)
    : mDatabase(database)
{
    QSqlError error = mDatabase.lastError();
    mActive = mDatabase.isOpen() && run(mDatabase, QStringLiteral("BEGIN"), &error);
    if (!mActive) {
        StoreWriteError::note(error);
        qCWarning(lcStore).noquote().nospace() << "SQL ERROR: no transaction: " << error.text();
    }
}

WriteTransaction::~WriteTransaction()
{
    if (mActive && !mDatabase.rollback())
        qCWarning(lcStore).noquote().nospace() << "SQL ERROR: rollback failed: " << mDatabase.lastError().text();
}

bool WriteTransaction::isActive() const
{
    return mActive;
}

bool WriteTransaction::commit()
{
    if (!mActive)
        return false;
    QSqlError error;
    if (run(mDatabase, QStringLiteral("COMMIT"), &error)) {
        mActive = false;
        return true;
    }
    StoreWriteError::note(error);
    qCWarning(lcStore).noquote().nospace() << "SQL ERROR: commit failed: " << error.text();
    return false;
}
