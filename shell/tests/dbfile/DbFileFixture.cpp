#include "DbFileFixture.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

// A short-lived connection of its own on a file.
class Connection
{
public:
    explicit Connection(const QString& file)
        : mName(QStringLiteral("fixture-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mName);
        db.setDatabaseName(file);
        db.open();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(mName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(mName);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(mName, false); }

private:
    QString mName;
};

bool execLines(QSqlDatabase db, const QString& text)
{
    QSqlQuery q(db);
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty())
            continue;
        if (!q.exec(line)) {
            qWarning() << "fixture:" << line << q.lastError().text();
            return false;
        }
    }
    return true;
}

QString readFixture(const QString& name)
{
    QFile f(QStringLiteral(VIREDA_TEST_SOURCE_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

} // namespace

namespace DbFileFixture {

bool runSqlFile(const QString& dbFile, const QString& sqlFile)
{
    const QString text = readFixture(sqlFile);
    Connection c(dbFile);
    QSqlDatabase db = c.db();
    if (text.isEmpty() || !db.isOpen() || !db.transaction())
        return false;
    if (execLines(db, text) && db.commit())
        return true;
    db.rollback();
    return false;
}

bool makeVersion0(const QString& dbFile)
{
    return runSqlFile(dbFile, QStringLiteral("version0_layout.sql"))
           && runSqlFile(dbFile, QStringLiteral("version0_rows.sql"));
}

bool makeLargeVersion0(const QString& dbFile, int exercises)
{
    if (!runSqlFile(dbFile, QStringLiteral("version0_layout.sql")))
        return false;
    Connection c(dbFile);
    QSqlDatabase db = c.db();
    QSqlQuery q(db);
    if (!db.transaction())
        return false;
    q.prepare(QStringLiteral("CREATE TEMP TABLE seq AS WITH RECURSIVE c(i) AS "
                             "(SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < ?) SELECT i FROM c"));
    q.addBindValue(exercises);
    bool ok = q.exec();
    // term 4i-3, sound 4i-2, exercise 4i-1, and 4i: a lesson every 50, a group every 25, else a loose term
    const QString text = QStringLiteral(
        "INSERT INTO u SELECT 'U-' || i, 'user' || i, 'pw', 'G', 'F', 'e@x', 'de', 'BY', 'L' FROM seq WHERE i <= 20\n"
        "INSERT INTO uf (uuid, llid, flflid, ccid, spspid, l, ld) SELECT 'U-' || i, 'deu', 1 + i % 5, 'de', 'S' || i, 'L', 'D' || i FROM seq WHERE i <= 20\n"
        "INSERT INTO m SELECT 4 * i - 3, 1, NULL, 'user' || (1 + i % 20), 1, 0, CASE i % 3 WHEN 0 THEN 0 WHEN 1 THEN 9 ELSE -2 END FROM seq\n"
        "INSERT INTO m SELECT 4 * i - 2, 2, NULL, 'user' || (1 + i % 20), 1, 0, 0 FROM seq\n"
        "INSERT INTO m SELECT 4 * i - 1, 1, NULL, 'user' || (1 + i % 20), 1, 0, 0 FROM seq\n"
        "INSERT INTO m SELECT 4 * i, 1, NULL, 'user' || (1 + i % 20), 1, 0, 0 FROM seq\n"
        "INSERT INTO tm SELECT 4 * i - 3, 1, NULL, NULL, 'term ' || i, 'deu', NULL, 0, 0, NULL FROM seq\n"
        "INSERT INTO tm SELECT 4 * i - 1, 2, NULL, 'exercise ' || i, NULL, 'deu', NULL, 0, 0, NULL FROM seq\n"
        "INSERT INTO tm SELECT 4 * i, CASE WHEN i % 50 = 0 THEN 3 WHEN i % 25 = 0 THEN 7 ELSE 1 END, 'title ' || i, 'desc', 'word ' || i, 'eng', 1, 0, 0, NULL FROM seq\n"
        "INSERT INTO mm SELECT 4 * i - 2, 1, 's' || i || '.wav', 'Wav', 100, '00:00:01', NULL, 'Content', 1, 'de', 'BY', 'L', 128, 3, 22050, 1 FROM seq\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) SELECT 4 * i - 1, 4 * i - 3, 0, 2 FROM seq\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) SELECT 4 * i - 1, 4 * i - 2, 0, 2 FROM seq\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) SELECT 4 * (i - i % 50 + 50), 4 * i - 1, i % 50, 3 FROM seq WHERE i - i % 50 + 50 <= (SELECT MAX(i) FROM seq)\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) SELECT 4 * i - 1, 4 * (i - i % 25 + 25), 0, 2 FROM seq WHERE i % 25 < 2 AND (i - i % 25 + 25) % 50 <> 0 AND i - i % 25 + 25 <= (SELECT MAX(i) FROM seq)\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) SELECT 4 * i, 4 * (i - 1), 0, 7 FROM seq WHERE i % 25 = 0 AND i % 50 <> 0\n"
        "INSERT INTO t (ttttid, mlmid, tv, tl) SELECT 5, 4 * i - 1, 'note ' || i, 'eng' FROM seq\n"
        "INSERT INTO pm SELECT i, 4 * i - 1, 'P-' || i FROM seq WHERE i <= 100\n");
    ok = ok && execLines(db, text);
    ok = ok && db.commit();
    if (!ok)
        db.rollback();
    return ok;
}

bool makeVersioned(const QString& dbFile, int version, bool wal)
{
    Connection c(dbFile);
    QSqlQuery q(c.db());
    bool ok = c.db().isOpen();
    if (wal)
        ok = ok && q.exec(QStringLiteral("pragma journal_mode=WAL"));
    ok = ok && q.exec(QStringLiteral("CREATE TABLE kept (x TEXT)"));
    ok = ok && q.prepare(QStringLiteral("INSERT INTO kept VALUES (?)"));
    q.addBindValue(QStringLiteral("row of version %1").arg(version));
    ok = ok && q.exec();
    ok = ok && q.exec(QStringLiteral("pragma user_version=%1").arg(version));
    return ok;
}

int userVersion(const QString& dbFile)
{
    const QString v = scalar(dbFile, QStringLiteral("pragma user_version"));
    return v.isNull() ? -1000 : v.toInt();
}

QMap<QString, qint64> tableCounts(const QString& dbFile)
{
    QMap<QString, qint64> counts;
    Connection c(dbFile);
    QSqlQuery q(c.db());
    QStringList tables;
    if (q.exec(QStringLiteral("select name from sqlite_master where type='table'")))
        while (q.next())
            tables << q.value(0).toString();
    for (const QString& t : tables)
        if (q.exec(QStringLiteral("select count(*) from \"%1\"").arg(t)) && q.next())
            counts.insert(t, q.value(0).toLongLong());
    return counts;
}

QByteArray contentDigest(const QString& dbFile)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    Connection c(dbFile);
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select type, name, sql from sqlite_master order by type, name")))
        return QByteArray();
    QStringList tables;
    while (q.next()) {
        hash.addData(q.value(2).toString().toUtf8());
        if (q.value(0).toString() == QLatin1String("table"))
            tables << q.value(1).toString();
    }
    // Each table's rows as one text made by SQLite itself: reading row by row
    // through QSqlQuery cost most of this test's time.
    for (const QString& t : tables) {
        QStringList columns;
        if (!q.exec(QStringLiteral("pragma table_info(\"%1\")").arg(t)))
            return QByteArray();
        while (q.next())
            columns << QStringLiteral("quote(\"%1\")").arg(q.value(1).toString());
        if (!q.exec(
                QStringLiteral("select count(*), group_concat(%1, char(10)) from (select * from \"%2\" order by rowid)")
                    .arg(columns.join(QStringLiteral(" || ',' || ")), t))
            || !q.next())
            return QByteArray();
        hash.addData(t.toUtf8() + ' ' + q.value(0).toByteArray() + '\n' + q.value(1).toString().toUtf8());
    }
    hash.addData(QByteArray::number(userVersion(dbFile)));
    return hash.result().toHex();
}

QString scalar(const QString& dbFile, const QString& sql)
{
    Connection c(dbFile);
    QSqlQuery q(c.db());
    if (q.exec(sql) && q.next())
        return q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString();
    return QString();
}

QByteArray fileBytes(const QString& fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList files(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace DbFileFixture
