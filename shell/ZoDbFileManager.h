#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>

#include <functional>

// Brings the local database file to schema version 2 before the store opens
// it: examines the file on its own connection "dbForMigration", converts a
// version-0 file in one transaction after a verified backup, or replaces the
// file with a fresh one. A non-empty file is never replaced without a verified
// backup of it.
class ZoDbFileManager
{
    Q_DECLARE_TR_FUNCTIONS(ZoDbFileManager)

public:
    static constexpr const char* ConnectionName = "dbForMigration";

    // migrate() results
    enum { MigrateFailed = 0, MigrateDone = 1, MigrateNotStarted = -1 };

    // What the start-up decision leaves.
    enum Outcome {
        Ready,      // the store can open the file
        Damaged,    // the file fails its integrity check; untouched
        NotChanged, // no verified backup could be made; untouched
        Busy,       // another program holds the file; untouched
        Failed,     // neither conversion nor re-creation worked
        Unreadable, // this account may not read the file; untouched
        ReadOnly    // the file or its folder cannot be written; untouched
    };

    // Opens the file on "dbForMigration" (a missing file is created empty) and
    // removes what an interrupted earlier run may have left beside it.
    explicit ZoDbFileManager(const QString& fileName = QStringLiteral("vireda.db"));
    virtual ~ZoDbFileManager();

    ZoDbFileManager(const ZoDbFileManager&) = delete;
    ZoDbFileManager& operator=(const ZoDbFileManager&) = delete;

    // 1: version 2; -1: newer; 0: older; -2: the version cannot be read.
    virtual int checkVersion();
    // Converts a version-0 file: MigrateDone (also for a file already at
    // version 2), MigrateNotStarted (no verified backup, or the file could not
    // be locked; untouched) or MigrateFailed (file as it was, backup kept).
    virtual int migrate();
    // Replaces the file by a fresh version-2 file: 1 on success, 0 on failure
    // (the file then stays as it was).
    virtual int recreate();
    // Writes a verified copy to the first free backup name: 1 or 0.
    virtual int backupDatabase();
    // Runs each non-empty line as one statement; 1 when none failed.
    virtual int runScript(const QString& script);

    // False when "pragma quick_check" finds faults or the file is no database.
    virtual bool isIntact();
    // Ready, Unreadable or ReadOnly, from the rights of this account on the
    // file, its journals and its folder.
    Outcome checkAccess() const;

    // The start-up decision. The callback, if any, is called with the splash
    // text just before a conversion starts.
    Outcome run(const std::function<void(const QString&)>& aboutToMigrate = nullptr);

    // Renames the file and its journals to asideName() and puts a fresh
    // version-2 file in its place. The name the old file now has, or empty
    // when it could not be renamed (then nothing changed) or no fresh file
    // could be made.
    QString setAside();
    // The first free "vireda.db.damaged", "vireda.db.damaged1", ...
    QString asideName() const;

    // Name of the verified backup written by this object, if any.
    QString lastBackup() const;
    QString fileName() const;

    // The decision of the main window at start-up.
    static Outcome ensureDatabase(const QString& fileName = QStringLiteral("vireda.db"),
                                  const std::function<void(const QString&)>& aboutToMigrate = nullptr);

    static QString migratingMessage();
    static QString fatalTitle();
    static QString fatalMessage();
    static QString damagedQuestion(const QString& fileName, const QString& asideName);
    static QStringList damagedButtons();
    static QString notChangedMessage(const QString& fileName);
    static QString notSetAsideMessage(const QString& fileName);
    static QString busyMessage(const QString& fileName);
    static QString unreadableMessage(const QString& fileName);
    static QString readOnlyMessage(const QString& fileName);

    // The version-0 to version-2 conversion, one statement per line.
    static QString conversionText();
    static QStringList conversionStatements();

    // "vireda.db.bak", then "vireda.db.bak1", "vireda.db.bak2" ...
    static QString backupName(const QString& fileName, int number);

private:
    bool openConnection();
    void closeConnection();
    bool verifyBackup(const QString& copy);
    bool transactionLost();

    QString mFileName;
    QSqlDatabase mDb;
    QString mBackup;
    bool mInTransaction = false;
};
