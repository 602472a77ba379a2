#include "WriteTransaction.h"

#include "StoreWriteError.h"

#include <QSqlError>
#include <QTextStream>

WriteTransaction::WriteTransaction(QSqlDatabase database)
    : mDatabase(database)
{
    mActive = mDatabase.isOpen() && mDatabase.transaction();
    if (!mActive)
        StoreWriteError::note(mDatabase.lastError());
    if (!mActive)
        QTextStream(stdout) << "SQL ERROR: no transaction: " << mDatabase.lastError().text() << Qt::endl;
}

WriteTransaction::~WriteTransaction()
{
    if (mActive && !mDatabase.rollback())
        QTextStream(stdout) << "SQL ERROR: rollback failed: " << mDatabase.lastError().text() << Qt::endl;
}

bool WriteTransaction::isActive() const
{
    return mActive;
}

bool WriteTransaction::commit()
{
    if (!mActive)
        return false;
    if (mDatabase.commit()) {
        mActive = false;
        return true;
    }
    StoreWriteError::note(mDatabase.lastError());
    QTextStream(stdout) << "SQL ERROR: commit failed: " << mDatabase.lastError().text() << Qt::endl;
    return false;
}
