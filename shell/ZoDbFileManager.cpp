#include "ZoDbFileManager.h"

#include "ShellLog.h"
#include "ZoDbSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kIgnoredError = "SQL logic error or missing database";
const char* const kConversionTime = "1162400000";

// Before the creation text: the version-0 views, indexes and trigger go, the
// tables are kept under old names.
const char* const kConversionHead[] = {
    "DROP VIEW IF EXISTS v_tmcrlt",
    "DROP VIEW IF EXISTS v_e",
    "DROP VIEW IF EXISTS v_l",
    "DROP INDEX IF EXISTS idx_crlt_crtcrtid",
    "DROP INDEX IF EXISTS idx_crlt_mchmid",
    "DROP INDEX IF EXISTS idx_crlt_mprmid",
    "DROP INDEX IF EXISTS idx_m_mtmtid",
    "DROP INDEX IF EXISTS idx_m_pmid",
    "DROP INDEX IF EXISTS idx_m_sbuid",
    "DROP INDEX IF EXISTS idx_mm_flflid",
    "DROP INDEX IF EXISTS idx_mm_mmfn",
    "DROP INDEX IF EXISTS idx_mm_mmtmmtid",
    "DROP INDEX IF EXISTS idx_tm_llllid",
    "DROP INDEX IF EXISTS idx_tm_md",
    "DROP INDEX IF EXISTS idx_tm_mt",
    "DROP INDEX IF EXISTS idx_tm_mv",
    "DROP INDEX IF EXISTS idx_tm_tmttmtid",
    "DROP TRIGGER IF EXISTS t_m_delete",
    "ALTER TABLE crlt RENAME TO old_crlt",
    "ALTER TABLE m RENAME TO old_m",
    "ALTER TABLE mm RENAME TO old_mm",
    "ALTER TABLE pm RENAME TO old_pm",
    "ALTER TABLE t RENAME TO old_t",
    "ALTER TABLE tm RENAME TO old_tm",
    "ALTER TABLE u RENAME TO old_u",
    "ALTER TABLE uf RENAME TO old_uf",
};

// After the creation text: the rows move into the new layout.
const char* const kConversionTail[] = {
    "INSERT INTO crlt (crid, mprmid, mchmid, sn, crtcrtid) SELECT crid, mprmid, mchmid, sn, crtcrtid FROM old_crlt",
    "INSERT INTO m (lmid, pmid, mtmtid, r, sbun, sbuid, ip, id, dc) "
    "SELECT lmid, '0', mtmtid, r, sbuid, '-1', ip, id, %1 FROM old_m",
    "UPDATE m SET dnul = 1 WHERE lmid IN (SELECT lmid FROM old_m WHERE ts = -2)",
    "UPDATE m SET ddl = %1 WHERE lmid IN (SELECT lmid FROM old_m WHERE ts > 0)",
    "INSERT INTO tm (mlmid, tmttmtid, mt, md, mv, lclid, llllid, it, ir, sr) "
    "SELECT mlmid, tmttmtid, mt, md, mv, llid, llllid, it, ir, sr FROM old_tm",
    "INSERT INTO mm (mlmid, mmtmmtid, mmfn, mmf, mms, mmd, mmh, mmp, ssssid, cccid, sp, l, mmbr, flflid, mmsf, nc) "
    "SELECT mlmid, mmtmmtid, mmfn, mmf, mms, mmd, mmh, mmp, ssssid, ccid, spspid, l, mmbr, flflid, mmsf, nc FROM old_mm",
    "UPDATE mm SET v = (SELECT old_m.sbuid FROM old_m WHERE old_m.lmid = mm.mlmid)",
    "UPDATE mm SET lclid = (SELECT v_e.lclid FROM v_e WHERE v_e.mmid = mm.mlmid)",
    "INSERT INTO k (kid, ktktid, mlmid, kv, lclid) SELECT tid, ttttid, mlmid, tv, tl FROM old_t",
    "create table tmp (ids int, idx int, mid int)",
    // every translation member gets a term of its own and becomes an exercise
    "INSERT INTO tmp (ids, idx) SELECT crlt.mchmid, m.sbun FROM crlt, m WHERE crlt.crtcrtid = 7 AND m.lmid = crlt.mchmid",
    "UPDATE tmp SET mid = (SELECT MAX(lmid) FROM m)",
    "UPDATE tmp SET mid = mid + rowid",
    "DELETE FROM tmp WHERE ids IS NULL",
    "UPDATE tm SET mv = NULL, lclid = NULL WHERE mlmid IN (SELECT mprmid FROM crlt WHERE crtcrtid = 7)",
    "INSERT INTO m (lmid, pmid, mtmtid, dc, sbun, sbuid) SELECT mid, '0', 1, strftime('%s', 'now'), idx, '-1' FROM tmp",
    "INSERT INTO tm (mlmid, tmttmtid, mv, lclid) SELECT tmp.mid, 1, "
    "(SELECT tm.mv FROM tm WHERE tm.mlmid = tmp.ids), (SELECT tm.lclid FROM tm WHERE tm.mlmid = tmp.ids) FROM tmp",
    "INSERT INTO crlt (mprmid, mchmid, crtcrtid) SELECT ids, mid, 2 FROM tmp",
    "UPDATE tm SET mv = NULL, tmttmtid = 2 WHERE mlmid IN (SELECT ids FROM tmp)",
    // exercise -> translation links turn round into translation -> member
    "DELETE FROM tmp",
    "INSERT INTO tmp (ids, mid, idx) SELECT crlt.mprmid, crlt.mchmid, crlt.crid FROM crlt, tm "
    "WHERE crlt.crtcrtid = 2 AND crlt.mchmid = tm.mlmid AND tm.tmttmtid = 7",
    "DELETE FROM crlt WHERE crid IN (SELECT idx FROM tmp)",
    "INSERT INTO crlt (crid, mprmid, mchmid, crtcrtid) SELECT idx, mid, ids, 7 FROM tmp",
    "UPDATE tm SET mv = NULL, lclid = NULL WHERE mlmid IN (SELECT mprmid FROM crlt WHERE crtcrtid = 7)",
    "UPDATE k SET ktktid = 2 WHERE ktktid = 7",
    "UPDATE m SET sbuid = (SELECT old_u.uid FROM old_u WHERE old_u.unm = m.sbun) "
    "WHERE sbun IN (SELECT unm FROM old_u)",
    // speakers' regions from their fluency in the recording's language
    "DELETE FROM tmp",
    "INSERT INTO tmp (ids, mid, idx) SELECT mm.mlmid, old_uf.spspid, old_uf.ld FROM mm, old_u, old_uf "
    "WHERE mm.v = old_u.unm AND old_uf.uuid = old_u.uid AND old_uf.llid = mm.lclid",
    // each media row takes the first tmp row of its id (SQLite's MIN() picks that row's columns), or NULL
    "UPDATE mm SET sp = t.mid, ld = t.idx FROM (SELECT mm.mlmid AS id, f.mid AS mid, f.idx AS idx FROM mm "
    "LEFT JOIN (SELECT ids, mid, idx, MIN(rowid) FROM tmp GROUP BY ids) AS f ON f.ids = mm.mlmid) AS t "
    "WHERE t.id = mm.mlmid",
    "INSERT INTO u (uid, unm, p, gnm, fnm, e, cccid, sp, l) SELECT uid, unm, p, gnm, fnm, e, ccid, spspid, l FROM old_u",
    "INSERT INTO uf (uuid, lclid, flflid, cccid, sp, l, ld) SELECT uuid, llid, flflid, ccid, spspid, l, ld FROM old_uf",
    "UPDATE uf SET ns = 1 WHERE flflid < 5",
    "UPDATE uf SET ns = 0 WHERE flflid = 5",
};

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// The files SQLite may keep beside a database file.
QStringList sidecars(const QString& fileName)
{
    return {fileName + QLatin1String("-journal"), fileName + QLatin1String("-wal"), fileName + QLatin1String("-shm")};
}

bool anyExists(const QString& fileName)
{
    if (QFileInfo::exists(fileName))
        return true;
    for (const QString& s : sidecars(fileName))
        if (QFileInfo::exists(s))
            return true;
    return false;
}

bool removeWithSidecars(const QString& fileName)
{
    bool ok = true;
    QStringList files = sidecars(fileName);
    files << fileName;
    for (const QString& f : files)
        if (QFileInfo::exists(f) && !QFile::remove(f))
            ok = false;
    return ok;
}

bool syncPath(const QString& path, bool directory)
{
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDWR);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool syncParent(const QString& fileName)
{
    return syncPath(QFileInfo(fileName).absolutePath(), true);
}

// Atomically puts "from" in the place of "to".
bool replaceFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 && syncParent(to);
}

QSqlDatabase openNamed(const QString& fileName, const QString& connection)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(fileName);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    db.open();
    return db;
}

void closeNamed(QSqlDatabase& db, const QString& connection)
{
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
}

// Row count of every table, keyed by name; empty on error.
QMap<QString, qint64> tableCounts(QSqlDatabase db, bool* ok)
{
    QMap<QString, qint64> counts;
    QSqlQuery q(db);
    *ok = q.exec(QStringLiteral("select name from sqlite_master where type='table' order by name"));
    QStringList tables;
    while (*ok && q.next())
        tables << q.value(0).toString();
    for (const QString& t : tables) {
        *ok = *ok && q.exec(QStringLiteral("select count(*) from ") + quoted(t)) && q.next();
        if (*ok)
            counts.insert(t, q.value(0).toLongLong());
    }
    return counts;
}

QVariant scalar(QSqlDatabase db, const QString& sql)
{
    QSqlQuery q(db);
    if (q.exec(sql) && q.next())
        return q.value(0);
    return QVariant();
}

} // namespace

ZoDbFileManager::ZoDbFileManager(const QString& fileName)
    : mFileName(fileName)
{
    removeWithSidecars(mFileName + QLatin1String(".backup-partial"));
    removeWithSidecars(mFileName + QLatin1String(".new"));
    openConnection();
}

ZoDbFileManager::~ZoDbFileManager()
{
    closeConnection();
}

bool ZoDbFileManager::openConnection()
{
    closeConnection();
    mDb = openNamed(mFileName, QLatin1String(ConnectionName));
    if (mDb.isOpen()) {
        qCDebug(lcShell) << "local DB opened for possible migration";
        return true;
    }
    qCDebug(lcShell) << mDb.lastError().text();
    return false;
}

void ZoDbFileManager::closeConnection()
{
    if (QSqlDatabase::contains(QLatin1String(ConnectionName)))
        closeNamed(mDb, QLatin1String(ConnectionName));
}

int ZoDbFileManager::checkVersion()
{
    const QVariant v = scalar(mDb, QStringLiteral("pragma user_version"));
    if (!v.isValid())
        return -2;
    const int version = v.toInt();
    return version < ZoDbSchema::Version ? 0 : version == ZoDbSchema::Version ? 1 : -1;
}

int ZoDbFileManager::migrate()
{
    const QVariant v = scalar(mDb, QStringLiteral("pragma user_version"));
    if (v.isValid() && v.toInt() != 0)
        return v.toInt() == ZoDbSchema::Version ? MigrateDone : MigrateFailed;

    if (mBackup.isEmpty() && !backupDatabase()) {
        qCDebug(lcShell) << "database migration not started: no backup";
        return MigrateNotStarted;
    }

    // All of the conversion and the version mark commit together, or nothing does.
    QSqlQuery query(mDb);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        qCDebug(lcShell) << "database migration not started:" << query.lastError().databaseText();
        return MigrateNotStarted;
    }
    mInTransaction = true;
    bool ok = runScript(conversionText()) != 0;
    mInTransaction = false;
    ok = ok && query.exec(ZoDbSchema::versionStatement());
    ok = ok && query.exec(QStringLiteral("COMMIT"));
    if (!ok) {
        query.exec(QStringLiteral("ROLLBACK"));
        qCDebug(lcShell) << "database migration unsuccessful";
        return MigrateFailed;
    }
    qCDebug(lcShell) << "done migrating local DB from version 0 to version 2";
    return MigrateDone;
}

int ZoDbFileManager::recreate()
{
    // A file with content goes only when a verified copy of it exists.
    const bool hasContent = QFileInfo(mFileName).size() > 0 || QFileInfo(mFileName + QLatin1String("-wal")).size() > 0;
    if (hasContent && mBackup.isEmpty() && !backupDatabase()) {
        qCDebug(lcShell) << "local DB not re-created: no backup";
        return 0;
    }

    // The fresh file is made beside the old one and then takes its place.
    const QString fresh = mFileName + QLatin1String(".new");
    closeConnection();
    bool ok = removeWithSidecars(fresh);
    if (ok) {
        mDb = openNamed(fresh, QLatin1String(ConnectionName));
        ok = mDb.isOpen();
        if (!ok)
            qCDebug(lcShell) << mDb.lastError().text();
    }
    if (ok) {
        QSqlQuery query(mDb);
        ok = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (ok) {
            mInTransaction = true;
            ok = runScript(ZoDbSchema::creationText()) != 0;
            mInTransaction = false;
            ok = ok && query.exec(ZoDbSchema::versionStatement()) && query.exec(QStringLiteral("COMMIT"));
            if (!ok) {
                query.exec(QStringLiteral("ROLLBACK"));
                qCDebug(lcShell) << "errors during database creation";
            }
        }
    }
    closeConnection();
    ok = ok && syncPath(fresh, false);
    if (ok) {
        // Left-over journals of the old file must not be applied to the new one.
        for (const QString& s : sidecars(mFileName))
            if (QFileInfo::exists(s) && !QFile::remove(s))
                ok = false;
        ok = ok && replaceFile(fresh, mFileName);
        if (!ok)
            qCDebug(lcShell) << "remove of DB_FILENAME failed";
        else
            qCDebug(lcShell) << "removed" << mFileName;
    }
    if (!ok)
        removeWithSidecars(fresh);
    openConnection();
    return ok ? 1 : 0;
}

int ZoDbFileManager::backupDatabase()
{
    int n = 0;
    QString name = backupName(mFileName, n);
    while (anyExists(name))
        name = backupName(mFileName, ++n);

    // Written under a temporary name and renamed once verified, so that a
    // backup name always holds a complete copy.
    const QString partial = mFileName + QLatin1String(".backup-partial");
    bool ok = removeWithSidecars(partial);
    if (ok) {
        QSqlQuery query(mDb);
        ok = query.prepare(QStringLiteral("VACUUM INTO ?"));
        query.addBindValue(QDir::toNativeSeparators(partial));
        ok = ok && query.exec();
        if (!ok)
            qCDebug(lcShell) << query.lastError().databaseText();
    }
    ok = ok && syncPath(partial, false) && verifyBackup(partial) && replaceFile(partial, name);
    if (!ok) {
        removeWithSidecars(partial);
        qCDebug(lcShell, "error writing %s", name.toUtf8().constData());
        return 0;
    }
    mBackup = name;
    qCDebug(lcShell, "wrote %s", name.toUtf8().constData());
    return 1;
}

bool ZoDbFileManager::verifyBackup(const QString& copy)
{
    const QString connection = QStringLiteral("dbBackupCheck");
    QSqlDatabase db = openNamed(copy, connection);
    bool ok = db.isOpen() && scalar(db, QStringLiteral("pragma quick_check")).toString() == QLatin1String("ok");
    bool sourceOk = false;
    bool copyOk = false;
    if (ok) {
        const auto source = tableCounts(mDb, &sourceOk);
        const auto backup = tableCounts(db, &copyOk);
        ok = sourceOk && copyOk && source == backup
             && scalar(db, QStringLiteral("pragma user_version")) == scalar(mDb, QStringLiteral("pragma user_version"));
    }
    closeNamed(db, connection);
    if (!ok)
        qCDebug(lcShell) << "backup check failed:" << copy;
    return ok;
}

int ZoDbFileManager::runScript(const QString& script)
{
    const QStringList statements = script.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (statements.isEmpty()) {
        qCDebug(lcShell) << "no SQL statements found in DB script";
        return 0;
    }
    int errors = 0;
    QSqlQuery query(mDb);
    for (const QString& statement : statements) {
        if (query.exec(statement))
            continue;
        const QString text = query.lastError().databaseText();
        if (text != QLatin1String(kIgnoredError)) {
            qCDebug(lcShell) << statement.toLatin1();
            qCDebug(lcShell) << text;
            ++errors;
        }
        // Some errors end the whole transaction; what follows would then
        // commit statement by statement.
        if (mInTransaction && transactionLost()) {
            qCDebug(lcShell) << "transaction ended by the error; script stopped";
            ++errors;
            break;
        }
    }
    query.finish();
    qCDebug(lcShell) << "done";
    if (errors > 0) {
        qCDebug(lcShell, "database script encountered %d errors", errors);
        return 0;
    }
    return 1;
}

bool ZoDbFileManager::transactionLost()
{
    QSqlQuery probe(mDb);
    if (!probe.exec(QStringLiteral("BEGIN")))
        return false;
    probe.exec(QStringLiteral("ROLLBACK"));
    return true;
}

bool ZoDbFileManager::isIntact()
{
    QSqlQuery query(mDb);
    if (query.exec(QStringLiteral("pragma quick_check")))
        return query.next() && query.value(0).toString() == QLatin1String("ok");
    // SQLITE_CORRUPT and SQLITE_NOTADB; a busy or unreadable file is not called damaged.
    const int code = query.lastError().nativeErrorCode().toInt() & 0xff;
    qCDebug(lcShell) << "integrity check failed:" << query.lastError().databaseText();
    return code != 11 && code != 26;
}

ZoDbFileManager::Outcome ZoDbFileManager::checkAccess() const
{
    // True when the file or one of its journals exists and this account lacks the right.
    const auto denied = [this](int mode) {
        QStringList files = sidecars(mFileName);
        files.prepend(mFileName);
        for (const QString& f : std::as_const(files)) {
            const QByteArray name = QFile::encodeName(f);
            if (::access(name.constData(), F_OK) == 0 && ::access(name.constData(), mode) != 0)
                return true;
        }
        return false;
    };
    if (denied(R_OK))
        return Unreadable;
    // The journals are made beside the file.
    const QByteArray folder = QFile::encodeName(QFileInfo(mFileName).absolutePath());
    if (denied(W_OK) || ::access(folder.constData(), W_OK | X_OK) != 0)
        return ReadOnly;
    return Ready;
}

ZoDbFileManager::Outcome ZoDbFileManager::run(const std::function<void(const QString&)>& aboutToMigrate)
{
    const Outcome access = checkAccess();
    if (access != Ready) {
        qCDebug(lcShell) << "local DB cannot be used:" << (access == Unreadable ? "unreadable" : "read-only");
        return access;
    }
    if (!isIntact()) {
        qCDebug(lcShell) << "local DB damaged, left as it was";
        return Damaged;
    }
    if (checkVersion() != 0)
        return Ready;
    if (aboutToMigrate)
        aboutToMigrate(migratingMessage());
    const int migrated = migrate();
    if (migrated == MigrateDone) {
        qCDebug(lcShell) << "db update successful";
        return Ready;
    }
    if (migrated == MigrateNotStarted) {
        qCDebug(lcShell) << "db update failed, file left as it was";
        return mBackup.isEmpty() ? NotChanged : Busy;
    }
    if (migrated != MigrateFailed) {
        qCDebug(lcShell) << "???";
        return Ready;
    }
    qCDebug(lcShell) << "db update failed";
    if (recreate()) {
        qCDebug(lcShell) << "created empty local DB";
        return Ready;
    }
    qCDebug(lcShell) << "create empty local DB failed!";
    // Without a verified copy the file was left as it was.
    return mBackup.isEmpty() ? NotChanged : Failed;
}

QString ZoDbFileManager::asideName() const
{
    int n = 0;
    QString name = mFileName + QLatin1String(".damaged");
    while (anyExists(name))
        name = mFileName + QLatin1String(".damaged") + QString::number(++n);
    return name;
}

QString ZoDbFileManager::setAside()
{
    const QString aside = asideName();
    closeConnection();
    // The journals go with the file: applied to a new file they would damage it.
    QStringList from = sidecars(mFileName);
    QStringList to = sidecars(aside);
    from.prepend(mFileName);
    to.prepend(aside);
    QList<int> moved;
    bool ok = true;
    for (int i = 0; ok && i < from.size(); ++i) {
        if (!QFileInfo::exists(from.at(i)))
            continue;
        ok = std::rename(QFile::encodeName(from.at(i)).constData(), QFile::encodeName(to.at(i)).constData()) == 0;
        if (ok)
            moved << i;
    }
    if (!ok) {
        for (int i : std::as_const(moved))
            std::rename(QFile::encodeName(to.at(i)).constData(), QFile::encodeName(from.at(i)).constData());
        qCDebug(lcShell) << "local DB could not be set aside";
        openConnection();
        return QString();
    }
    syncParent(mFileName);
    qCDebug(lcShell, "set aside as %s", aside.toUtf8().constData());
    openConnection();
    if (!recreate()) {
        qCDebug(lcShell) << "create empty local DB failed!";
        return QString();
    }
    return aside;
}

QString ZoDbFileManager::lastBackup() const
{
    return mBackup;
}

QString ZoDbFileManager::fileName() const
{
    return mFileName;
}

ZoDbFileManager::Outcome ZoDbFileManager::ensureDatabase(const QString& fileName,
                                                         const std::function<void(const QString&)>& aboutToMigrate)
{
    ZoDbFileManager manager(fileName);
    return manager.run(aboutToMigrate);
}

QString ZoDbFileManager::migratingMessage()
{
    return tr("Migrating local database.  This could take a few minutes...");
}

QString ZoDbFileManager::fatalTitle()
{
    return QStringLiteral("Vireda");
}

QString ZoDbFileManager::fatalMessage()
{
    return tr(
        "Vireda encountered a problem while updating the local database.  Please uninstall, then reinstall Vireda.");
}

QString ZoDbFileManager::damagedQuestion(const QString& fileName, const QString& asideName)
{
    return tr("The local database \"%1\" is damaged: Vireda cannot read the exercises, lessons and users in it.\n\n"
              "You can keep the file as it is and quit, for example to restore it from a copy of your own, "
              "or set it aside as \"%2\" and start with a new, empty database. "
              "Nothing is deleted either way.")
        .arg(QFileInfo(fileName).fileName(), QFileInfo(asideName).fileName());
}

QStringList ZoDbFileManager::damagedButtons()
{
    return {tr("Keep It and Quit"), tr("Set Aside and Start Anew")};
}

QString ZoDbFileManager::notChangedMessage(const QString& fileName)
{
    return tr("Vireda could not update the local database \"%1\" because it could not make a safe copy of it "
              "first. Nothing was changed.\n\nPlease make sure the disk has free space for at least two copies "
              "of the database and that Vireda's folder can be written to, then start Vireda again.")
        .arg(QFileInfo(fileName).fileName());
}

QString ZoDbFileManager::busyMessage(const QString& fileName)
{
    return tr("Vireda could not update the local database \"%1\" because another program is using it. "
              "Nothing was changed.\n\nPlease close the other program, then start Vireda again.")
        .arg(QFileInfo(fileName).fileName());
}

QString ZoDbFileManager::unreadableMessage(const QString& fileName)
{
    return tr("Vireda cannot read the local database \"%1\": your account may not read this file, "
              "for example because it belongs to another account. Nothing was changed.\n\n"
              "Please make sure that the file belongs to you or that you may read and write it, "
              "then start Vireda again.")
        .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()));
}

QString ZoDbFileManager::readOnlyMessage(const QString& fileName)
{
    return tr("Vireda cannot write to the local database \"%1\": the file or its folder is read-only, "
              "so nothing could be saved. Nothing was changed.\n\n"
              "Please make sure that you may write to the file and its folder, then start Vireda again.")
        .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()));
}

QString ZoDbFileManager::notSetAsideMessage(const QString& fileName)
{
    return tr("Vireda could not set the damaged database \"%1\" aside or could not make a new one. "
              "The damaged file is kept.\n\nPlease make sure the disk has free space and that Vireda's "
              "folder can be written to, then start Vireda again.")
        .arg(QFileInfo(fileName).fileName());
}

QStringList ZoDbFileManager::conversionStatements()
{
    QStringList lines;
    for (const char* s : kConversionHead)
        lines << QLatin1String(s);
    for (QString s : ZoDbSchema::creationStatements()) {
        s = s.trimmed();
        s.chop(1); // its ";"
        lines << s;
    }
    for (const char* s : kConversionTail)
        lines << QString::fromLatin1(s).replace(QLatin1String("%1"), QLatin1String(kConversionTime));
    return lines;
}

QString ZoDbFileManager::conversionText()
{
    QString text;
    bool first = true;
    for (const QString& s : conversionStatements()) {
        text += (first ? QString() : QStringLiteral(" ")) + s + QLatin1String("; \n");
        first = false;
    }
    return text;
}

QString ZoDbFileManager::backupName(const QString& fileName, int number)
{
    return fileName + QLatin1String(".bak") + (number > 0 ? QString::number(number) : QString());
}
