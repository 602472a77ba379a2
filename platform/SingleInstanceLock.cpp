#include "SingleInstanceLock.h"

#include <QDir>

SingleInstanceLock::SingleInstanceLock(const QString& directory)
    : mLock(QDir(directory).absoluteFilePath(QString::fromLatin1(Name) + QLatin1String(".lock")))
{
    // Never stale by age: only a dead owner frees it.
    mLock.setStaleLockTime(0);
}

bool SingleInstanceLock::tryLock()
{
    if (mLock.isLocked())
        return true;
    return mLock.tryLock(0);
}

bool SingleInstanceLock::heldByAnother() const
{
    return mLock.error() == QLockFile::LockFailedError;
}

QString SingleInstanceLock::fileName() const
{
    return mLock.fileName();
}
