#include "DbFileFixture.h"
#include "ZoDbFileManager.h"
#include "ZoDbSchema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace DbFileFixture;
using Outcome = ZoDbFileManager::Outcome;

namespace {

enum Setup {
    Missing,
    Empty,
    Version0,
    Version1,
    VersionNegative,
    Version2,
    Version2Wal,
    Version3,
    NotADatabase,
    DamagedHeader,
    DamagedPages
};
enum Fault { NoFault, BackupFails, ConversionFails, CreationFails, ConversionAndCreationFail, LockedByAnother };
enum After { Unchanged, Converted, Fresh };

// Fails on purpose where the test asks: the backup without writing anything,
// the conversion or the creation at a statement after all of its own ran.
class FaultyManager : public ZoDbFileManager
{
public:
    FaultyManager(const QString& file, Fault fault)
        : ZoDbFileManager(file)
        , mFault(fault)
    {
    }

    int backupDatabase() override { return mFault == BackupFails ? 0 : ZoDbFileManager::backupDatabase(); }
    int runScript(const QString& script) override
    {
        const bool conversion = script == ZoDbFileManager::conversionText()
                                && (mFault == ConversionFails || mFault == ConversionAndCreationFail);
        const bool creation = script == ZoDbSchema::creationText()
                              && (mFault == CreationFails || mFault == ConversionAndCreationFail);
        if (conversion || creation)
            return ZoDbFileManager::runScript(script + QStringLiteral("INSERT INTO no_such_table VALUES (1)\n"));
        return ZoDbFileManager::runScript(script);
    }

private:
    Fault mFault;
};

// vireda.db.bak, vireda.db.bak1, ...
QStringList backupsIn(const QString& dir)
{
    const QRegularExpression name(QStringLiteral("^vireda\\.db\\.bak\\d*$"));
    return QDir(dir).entryList(QDir::Files, QDir::Name).filter(name);
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(ZoDbFileManager::Outcome)
Q_DECLARE_METATYPE(After)

class TestDbFile : public QObject
{
    Q_OBJECT

private:
    static bool prepare(Setup setup, const QString& file)
    {
        switch (setup) {
        case Missing:
            return true;
        case Empty: {
            QFile f(file);
            return f.open(QIODevice::WriteOnly);
        }
        case Version0:
            return makeVersion0(file);
        case Version1:
            return makeVersioned(file, 1);
        case VersionNegative:
            return makeVersioned(file, -3);
        case Version2:
            return makeVersioned(file, 2);
        case Version2Wal:
            return makeVersioned(file, 2, true);
        case Version3:
            return makeVersioned(file, 3);
        case NotADatabase: {
            QFile f(file);
            return f.open(QIODevice::WriteOnly) && f.write(QByteArray(3000, 'v')) == 3000;
        }
        case DamagedHeader:
            return makeVersioned(file, 2) && scribble(file, 0, 100);
        case DamagedPages:
            return makeVersioned(file, 2) && scribble(file, 4096, -1);
        }
        return false;
    }

    // Overwrites `length` bytes (to the end: -1) from `offset` with garbage.
    static bool scribble(const QString& file, qint64 offset, qint64 length)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadWrite) || f.size() <= offset)
            return false;
        const qint64 n = length < 0 ? f.size() - offset : length;
        QByteArray garbage(n, '\0');
        for (qint64 i = 0; i < n; ++i)
            garbage[i] = char((i * 7919 + 13) % 251);
        return f.seek(offset) && f.write(garbage) == n;
    }

    // A database whose every table is empty and whose layout is the fresh one.
    static bool isFresh(const QString& file)
    {
        const auto counts = tableCounts(file);
        if (counts.keys() != QStringList({"crlt", "f", "i", "k", "m", "mm", "r", "tm", "u", "uf"}))
            return false;
        for (qint64 n : counts)
            if (n != 0)
                return false;
        return userVersion(file) == 2;
    }

private slots:
    void decision_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<After>("after");
        QTest::addColumn<int>("backups");
        QTest::addColumn<bool>("migrating");

        const Outcome ready = ZoDbFileManager::Ready;
        const Outcome damaged = ZoDbFileManager::Damaged;
        const Outcome notChanged = ZoDbFileManager::NotChanged;
        QTest::newRow("missing") << Missing << NoFault << ready << Fresh << 1 << true;
        QTest::newRow("empty") << Empty << NoFault << ready << Fresh << 1 << true;
        QTest::newRow("version 2") << Version2 << NoFault << ready << Unchanged << 0 << false;
        QTest::newRow("version 2, WAL") << Version2Wal << NoFault << ready << Unchanged << 0 << false;
        QTest::newRow("version 3") << Version3 << NoFault << ready << Unchanged << 0 << false;
        QTest::newRow("not a database") << NotADatabase << NoFault << damaged << Unchanged << 0 << false;
        QTest::newRow("garbage in the header") << DamagedHeader << NoFault << damaged << Unchanged << 0 << false;
        QTest::newRow("garbage in the table pages") << DamagedPages << NoFault << damaged << Unchanged << 0 << false;
        QTest::newRow("version 0") << Version0 << NoFault << ready << Converted << 1 << true;
        QTest::newRow("version 1") << Version1 << NoFault << ready << Fresh << 1 << true;
        QTest::newRow("negative version") << VersionNegative << NoFault << ready << Fresh << 1 << true;
        QTest::newRow("version 0, backup fails") << Version0 << BackupFails << notChanged << Unchanged << 0 << true;
        QTest::newRow("version 1, backup fails") << Version1 << BackupFails << notChanged << Unchanged << 0 << true;
        QTest::newRow("version 0, conversion fails") << Version0 << ConversionFails << ready << Fresh << 1 << true;
        QTest::newRow("version 0, conversion and creation fail")
            << Version0 << ConversionAndCreationFail << Outcome(ZoDbFileManager::Failed) << Unchanged << 1 << true;
        QTest::newRow("version 1, creation fails")
            << Version1 << CreationFails << Outcome(ZoDbFileManager::Failed) << Unchanged << 1 << true;
        QTest::newRow("version 0, locked by another writer")
            << Version0 << LockedByAnother << Outcome(ZoDbFileManager::Busy) << Unchanged << 1 << true;
    }

    void decision()
    {
        QFETCH(Setup, setup);
        QFETCH(Fault, fault);
        QFETCH(Outcome, outcome);
        QFETCH(After, after);
        QFETCH(int, backups);
        QFETCH(bool, migrating);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("vireda.db"));
        QVERIFY(prepare(setup, file));
        const QByteArray bytes = fileBytes(file);
        const bool readable = setup != NotADatabase && setup != DamagedHeader && setup != DamagedPages;
        const QByteArray content = readable ? contentDigest(file) : QByteArray();

        QStringList messages;
        auto callback = [&](const QString& text) { messages << text; };
        Outcome result;
        if (fault == NoFault) {
            result = ZoDbFileManager::ensureDatabase(file, callback);
        } else if (fault == LockedByAnother) {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(file);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec("BEGIN IMMEDIATE"));
            result = ZoDbFileManager::ensureDatabase(file, callback);
            QVERIFY(lock.exec("ROLLBACK"));
            lock = QSqlQuery();
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase("other");
        } else {
            FaultyManager manager(file, fault);
            result = manager.run(callback);
        }
        QCOMPARE(result, outcome);
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("dbForMigration")));
        QCOMPARE(messages, migrating ? QStringList{ZoDbFileManager::migratingMessage()} : QStringList());

        switch (after) {
        case Unchanged:
            if (setup == Version2 || setup == Version2Wal || setup == Version3 || !readable)
                QCOMPARE(fileBytes(file), bytes);
            else
                QCOMPARE(contentDigest(file), content);
            break;
        case Converted:
            QCOMPARE(userVersion(file), 2);
            QCOMPARE(tableCounts(file).value("m"), 14);
            QVERIFY(tableCounts(file).contains("old_m"));
            break;
        case Fresh:
            QVERIFY(isFresh(file));
            break;
        }

        // Every backup is a complete copy of the file as it was.
        const QStringList names = backupsIn(dir.path());
        QCOMPARE(names.size(), backups);
        for (const QString& name : names) {
            const QString copy = dir.filePath(name);
            QCOMPARE(scalar(copy, "pragma quick_check"), QStringLiteral("ok"));
            if (setup == Missing || setup == Empty)
                QVERIFY(tableCounts(copy).isEmpty());
            else
                QCOMPARE(contentDigest(copy), content);
        }

        // Nothing else is left behind: no journals, no half-written files.
        QStringList expected = QStringList{"vireda.db"} + names;
        expected.sort();
        QCOMPARE(files(dir.path()), expected);
    }

    // A verified backup is taken before a file with content is replaced.
    void recreateOnItsOwnKeepsACopy()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("vireda.db");
        QVERIFY(makeVersioned(file, 1));
        const QByteArray content = contentDigest(file);
        {
            ZoDbFileManager manager(file);
            QCOMPARE(manager.recreate(), 1);
            QCOMPARE(manager.lastBackup(), file + ".bak");
            QCOMPARE(manager.checkVersion(), 1);
        }
        QVERIFY(isFresh(file));
        QCOMPARE(contentDigest(file + ".bak"), content);
    }

    // A damaged file set aside keeps every byte under the first free name,
    // and a fresh file takes its place.
    void setAside_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("garbage in the header") << DamagedHeader << QStringList{} << "vireda.db.damaged";
        QTest::newRow("garbage in the pages") << DamagedPages << QStringList{} << "vireda.db.damaged";
        QTest::newRow("one set aside before")
            << DamagedHeader << QStringList{"vireda.db.damaged"} << "vireda.db.damaged1";
        QTest::newRow("only a journal of an earlier one")
            << DamagedPages << QStringList{"vireda.db.damaged-wal"} << "vireda.db.damaged1";
    }

    void setAside()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath("vireda.db");
        QVERIFY(prepare(setup, file));
        QMap<QString, QByteArray> before{{"vireda.db", fileBytes(file)}};
        for (const QString& name : present) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(name.toUtf8());
            before.insert(name, name.toUtf8());
        }

        ZoDbFileManager manager(file);
        QCOMPARE(manager.run(), ZoDbFileManager::Damaged);
        QCOMPARE(manager.asideName(), dir.filePath(expected));
        QCOMPARE(manager.setAside(), dir.filePath(expected));
        QCOMPARE(manager.checkVersion(), 1);
        QCOMPARE(manager.run(), ZoDbFileManager::Ready);

        QVERIFY(isFresh(file));
        QCOMPARE(fileBytes(dir.filePath(expected)), before.value("vireda.db"));
        for (const QString& name : present)
            QCOMPARE(fileBytes(dir.filePath(name)), before.value(name));
        QVERIFY(backupsIn(dir.path()).isEmpty());
    }

    void backupName_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList() << "vireda.db.bak";
        QTest::newRow("bak") << QStringList{"vireda.db.bak"} << "vireda.db.bak1";
        QTest::newRow("bak, bak1") << QStringList{"vireda.db.bak", "vireda.db.bak1"} << "vireda.db.bak2";
        QTest::newRow("journal of bak1") << QStringList{"vireda.db.bak", "vireda.db.bak1-wal"} << "vireda.db.bak2";
        QTest::newRow("gap") << QStringList{"vireda.db.bak1"} << "vireda.db.bak";
    }
    void backupName()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath("vireda.db");
        QVERIFY(makeVersioned(file, 2));
        for (const QString& name : present) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("occupied");
        }
        ZoDbFileManager manager(file);
        QCOMPARE(manager.backupDatabase(), 1);
        QCOMPARE(manager.lastBackup(), dir.filePath(expected));
        QCOMPARE(contentDigest(dir.filePath(expected)), contentDigest(file));
        for (const QString& name : present)
            QCOMPARE(fileBytes(dir.filePath(name)), QByteArray("occupied"));
    }

    void runScript_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("rows");
        QTest::newRow("no statements") << "" << 0 << 0;
        QTest::newRow("blank lines only") << "\n\n\n" << 0 << 0;
        QTest::newRow("all succeed, trailing newline") << "insert into t values (1)\ninsert into t values (2)\n"
                                                       << 1 << 2;
        QTest::newRow("one fails, the rest still run")
            << "insert into t values (1)\ninsert into nowhere values (2)\ninsert into t values (3)\n"
            << 0 << 2;
        QTest::newRow("the ignored error text")
            << "insert into t values (1)\ninsert into t values ('SQL logic error or missing database')\n"
               "insert into t values (3)\n"
            << 1 << 2;
        QTest::newRow("a near text is counted")
            << "insert into t values ('SQL logic error')\ninsert into t values (3)\n"
            << 0 << 1;
    }
    // A trigger raises its value as the error text, so any text can be injected.
    void runScript()
    {
        QFETCH(QString, script);
        QFETCH(int, result);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString file = dir.filePath("vireda.db");
        QVERIFY(runSqlFile(file, "raise_fixture.sql"));
        {
            ZoDbFileManager manager(file);
            QCOMPARE(manager.runScript(script), result);
        }
        QCOMPARE(scalar(file, "select count(*) from t").toInt(), rows);
    }

    void conversionText()
    {
        const QString text = ZoDbFileManager::conversionText();
        QVERIFY(text.endsWith('\n'));
        const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 99);
        QVERIFY(!lines.first().startsWith(' '));
        for (int i = 1; i < lines.size(); ++i)
            QVERIFY(lines.at(i).startsWith(' '));
        // the creation text stands unchanged in the middle
        QCOMPARE(lines.mid(26, 40), ZoDbSchema::creationStatements());
    }

    // Every row of the small version-0 file lands where the conversion puts it.
    void conversionOfTheFixture()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("vireda.db");
        QVERIFY(makeVersion0(file));
        QCOMPARE(ZoDbFileManager::ensureDatabase(file), ZoDbFileManager::Ready);
        auto q = [&](const QString& sql) { return scalar(file, sql); };

        QCOMPARE(q("pragma integrity_check"), QStringLiteral("ok"));
        QCOMPARE(userVersion(file), 2);
        for (const char* t : {"old_crlt", "old_m", "old_mm", "old_pm", "old_t", "old_tm", "old_u", "old_uf", "tmp"})
            QVERIFY2(tableCounts(file).contains(t), t);

        // nothing orphaned
        QCOMPARE(q("select count(*) from crlt where mprmid not in (select lmid from m) "
                   "or mchmid not in (select lmid from m)"),
                 QStringLiteral("0"));
        for (const char* t : {"tm", "mm", "k"})
            QCOMPARE(q(QString("select count(*) from %1 where mlmid not in (select lmid from m)").arg(t)),
                     QStringLiteral("0"));

        // manifests
        QCOMPARE(q("select count(*) from m"), QStringLiteral("14"));
        QCOMPARE(q("select group_concat(lmid || ':' || sbuid || ':' || sbun, ' ') from m where lmid <= 12"),
                 QStringLiteral("1:U-1:anna 2:U-1:anna 3:U-1:anna 4:U-2:ben 5:U-2:ben 6:U-2:ben 7:U-1:anna "
                                "8:U-1:anna 9:U-3:carla 10:U-3:carla 11:U-2:ben 12:-1:dieter"));
        QCOMPARE(q("select count(*) from m where lmid <= 12 and dc = 1162400000 and pmid = '0'"), QStringLiteral("12"));
        QCOMPARE(q("select group_concat(lmid) from m where dnul = 1"), QStringLiteral("7"));
        QCOMPARE(q("select group_concat(lmid) from m where ddl = 1162400000"), QStringLiteral("4,5,6"));
        QCOMPARE(q("select r || ip || id from m where lmid = 7"), QStringLiteral("none01"));

        // translation members became exercises with terms of their own
        QCOMPARE(q("select group_concat(e.mlmid || ':' || e.tmttmtid || ':' || ifnull(e.mv, '-') || '>' || "
                   "t.tmttmtid || ':' || t.mv || ':' || t.lclid || ':' || ifnull(c.sn, 'null') || ':' || m.sbuid, ' ') "
                   "from tm e, crlt c, tm t, m where e.mlmid in (9, 11) and c.mprmid = e.mlmid "
                   "and c.crtcrtid = 2 and t.mlmid = c.mchmid and m.lmid = t.mlmid and t.mlmid > 12 order by e.mlmid"),
                 QStringLiteral("9:2:->1:maison:fra:null:U-3 11:2:->1:casa:spa:null:U-2"));
        QCOMPARE(q("select group_concat(mlmid || ':' || ifnull(mv, '-') || ':' || ifnull(lclid, '-'), ' ') "
                   "from tm where tmttmtid = 7"),
                 QStringLiteral("8:-:- 10:-:-"));
        // group links turned round, same ids
        QCOMPARE(q("select group_concat(crid || ':' || mprmid || '>' || mchmid || ':' || crtcrtid, ' ') "
                   "from crlt where crtcrtid = 7 order by crid"),
                 QStringLiteral("7:8>3:7 8:8>6:7 9:10>9:7 10:10>11:7"));
        QCOMPARE(q("select count(*) from crlt"), QStringLiteral("12"));

        // media rows: voice, language and region of the speaker
        QCOMPARE(
            q("select group_concat(mlmid || ':' || v || ':' || lclid || ':' || cccid || ':' || sp || ':' || ld || ':' || mmp, ' ') from mm"),
            QStringLiteral("2:anna:eng:us:Texas:southern:Content 5:ben:deu:de:Bayern:bairisch:Content"));
        QCOMPARE(q("select group_concat(kid || ':' || ktktid || ':' || mlmid || ':' || kv || ':' || lclid, ' ') from k"),
                 QStringLiteral("1:5:3:a building:eng 2:2:8:context:eng 3:4:6:ein Gebäude:deu 4:2:10:ctx:fra"));
        QCOMPARE(
            q("select group_concat(uid || ':' || unm || ':' || p || ':' || cccid || ':' || sp || ':' || l, ' ') from u"),
            QStringLiteral("U-1:anna:pw1:us:TX:Austin U-2:ben:pw2:de:BY:Munich U-3:carla:pw3:ca:QC:Montreal"));
        QCOMPARE(q("select group_concat(uuid || ':' || lclid || ':' || flflid || ':' || ns, ' ') from uf"),
                 QStringLiteral("U-1:eng:5:0 U-1:deu:3:1 U-2:deu:5:0 U-2:fra:2:1 U-3:fra:5:0"));
        QCOMPARE(
            q("select group_concat(mt || ':' || md || ':' || lclid || ':' || llllid || ':' || it || ':' || sr) from tm where mlmid = 7"),
            QStringLiteral("Basics:first lesson:eng:2:1:share"));

        // the views of the new layout read the converted rows
        QCOMPARE(q("select group_concat(mlmid || ':' || mv || ':' || mmfn, ' ') from v_e"),
                 QStringLiteral("3:house:house.wav 6:Haus:haus.wav"));
        QCOMPARE(q("select unm || ':' || ec from v_l"), QStringLiteral("anna:2"));
        QCOMPARE(q("select mv from v_te where mlmid = 9"), QStringLiteral("maison"));
    }

    // A child converting a larger file is killed at random moments: the file is
    // then either as it was or fully converted, and every backup is complete.
    void killedConversion()
    {
        QTemporaryDir dir;
        const QString original = dir.filePath("original.db");
        QVERIFY(makeLargeVersion0(original, 2000));
        const QByteArray originalContent = contentDigest(original);

        const QString work = dir.filePath("run");
        QVERIFY(QDir().mkpath(work));
        const QString file = work + "/vireda.db";
        QStringList checked; // backups already compared in this round
        auto reset = [&] {
            checked.clear();
            for (const QString& f : files(work))
                QFile::remove(work + '/' + f);
            return QFile::copy(original, file);
        };
        auto runChild = [&](int killAfterMs) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.setStandardOutputFile(QProcess::nullDevice());
            child.start(QStringLiteral(DBFILE_CRASH_CHILD), {file});
            if (!child.waitForStarted())
                return -1;
            if (killAfterMs >= 0 && !child.waitForFinished(killAfterMs)) {
                child.kill();
                child.waitForFinished();
                return -2;
            }
            child.waitForFinished(60000);
            return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
        };
        auto checkBackups = [&](bool required) {
            const QStringList names = backupsIn(work);
            if (required)
                QVERIFY(!names.isEmpty());
            for (const QString& name : names) {
                if (checked.contains(name))
                    continue;
                QCOMPARE(contentDigest(work + '/' + name), originalContent);
                checked << name;
            }
        };

        // A full run gives the reference and the time a conversion takes.
        QVERIFY(reset());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(runChild(-1), 0);
        const int fullMs = int(timer.elapsed());
        const auto converted = tableCounts(file);
        QCOMPARE(userVersion(file), 2);
        QVERIFY(converted.contains("old_m"));
        QVERIFY(converted.value("m") > tableCounts(original).value("m"));
        checkBackups(true);

        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u, full run %d ms", seed, fullMs);
        QRandomGenerator random(seed);
        int untouched = 0;
        const int rounds = 10;
        for (int round = 0; round < rounds; ++round) {
            QVERIFY(reset());
            // every other kill late, near the commit; now and then past the end
            const int from = round % 2 ? fullMs * 7 / 10 : 0;
            const int at = from + random.bounded(fullMs + fullMs / 10 + 1 - from);
            runChild(at);
            const int version = userVersion(file);
            if (version == 0) {
                QCOMPARE(contentDigest(file), originalContent);
                ++untouched;
            } else {
                QCOMPARE(version, 2);
                QCOMPARE(tableCounts(file), converted);
                QCOMPARE(scalar(file, "pragma quick_check"), QStringLiteral("ok"));
            }
            checkBackups(version == 2);

            // The next start finishes the work.
            QCOMPARE(runChild(-1), 0);
            QCOMPARE(tableCounts(file), converted);
            checkBackups(true);
            QCOMPARE(files(work), QStringList{"vireda.db"} + backupsIn(work));
        }
        qInfo("%d of %d runs left the file untouched", untouched, rounds);
    }
};

QTEST_GUILESS_MAIN(TestDbFile)
#include "tst_dbfile.moc"
