#pragma once

#include <QLockFile>
#include <QString>

// A lock that lets one process at a time run from a ready-to-run tree. It is
// stale only when its owner died, and it is held until the process ends.
class SingleInstanceLock
{
public:
    static constexpr const char* Name = "Unique Vireda Mutex String";

    explicit SingleInstanceLock(const QString& directory);

    // True when this process now holds the lock (or already did).
    bool tryLock();
    // After a failed tryLock(): true when another process holds the lock,
    // false when the lock file could not be made (an unwritable folder).
    bool heldByAnother() const;

    QString fileName() const;

private:
    QLockFile mLock;
};
