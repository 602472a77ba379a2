#pragma once

#include <QCoreApplication>
#include <QString>

class QSqlError;

// The cause of the last failed statement on the local database, kept for the
// message of a failed save: the learner is told when the disk is full or the
// file cannot be written instead of an unknown error.
class StoreWriteError
{
    Q_DECLARE_TR_FUNCTIONS(StoreWriteError)

public:
    enum Cause { None, DiskFull, ReadOnly, Other };

    // Called with each error of the store's connection.
    static void note(const QSqlError& error);
    // Forgets the cause; call before a save.
    static void clear();
    static Cause last();

    // The cause of a failed save: the noted one, or else a full disk found
    // beside the file "folder"; None when neither is known.
    static Cause explain(const QString& folder);

    // The cause in words, then "failure", then what to do; "failure" alone
    // when the cause is unknown.
    static QString message(const QString& failure, Cause cause);
};
