#include "StoreWriteError.h"

#include <QSqlError>
#include <QStorageInfo>

#include <atomic>

namespace {

std::atomic<int> gLast{StoreWriteError::None};

// Below this the next write of a recording or a page can fail.
const qint64 kNearlyFull = 256 * 1024;

} // namespace

void StoreWriteError::note(const QSqlError& error)
{
    // The primary SQLite result code is the low byte of the extended one.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == 13) // SQLITE_FULL
        gLast = DiskFull;
    else if (code == 8 || code == 3) // SQLITE_READONLY, SQLITE_PERM
        gLast = ReadOnly;
    else if (code == 10) // SQLITE_IOERR: a write that found no space is one of these
        gLast = Other;
    else if (gLast == None && error.type() != QSqlError::NoError)
        gLast = Other;
}

void StoreWriteError::clear()
{
    gLast = None;
}

StoreWriteError::Cause StoreWriteError::last()
{
    return Cause(gLast.load());
}

StoreWriteError::Cause StoreWriteError::explain(const QString& folder)
{
    const Cause noted = last();
    if (noted == DiskFull || noted == ReadOnly)
        return noted;
    QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < kNearlyFull)
        return DiskFull;
    if (storage.isValid() && storage.isReadOnly())
        return ReadOnly;
    return None;
}

QString StoreWriteError::message(const QString& failure, Cause cause)
{
    switch (cause) {
    // The known cause comes first, then what failed, then what to do.
    case DiskFull:
        return tr("The disk is full.") + QLatin1String("  ") + failure + QLatin1String("\n\n")
               + tr("Please free some space on it, then save again.");
    case ReadOnly:
        return tr("The local database cannot be written: the file or its folder is read-only.") + QLatin1String("  ")
               + failure + QLatin1String("\n\n")
               + tr("Please make sure that you may write to them, then start Vireda again.");
    case None:
    case Other:
        break;
    }
    return failure;
}
