#include "TestDatabase.h"
#include "ZoDbCodes.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestZoDbSchema : public QObject
{
    Q_OBJECT

private:
    static QVariant scalar(QSqlDatabase db, const QString& sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }
    static QStringList names(QSqlDatabase db, const QString& type)
    {
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("select name from sqlite_master where type=? and name not like 'sqlite_%' order by name"));
        q.addBindValue(type);
        QStringList out;
        if (q.exec())
            while (q.next())
                out << q.value(0).toString();
        return out;
    }

private slots:
    // A re-created database is made by running the creation text line by
    // line (ZoDbFileManager::runScript): that gives the very layout the
    // store is made for, and a database the store's connection opens.
    void creationTextMakesTheStoreLayout()
    {
        TestDatabase fromText(QStringLiteral("from text"), TestDatabase::Empty);
        QVERIFY(fromText.isValid());
        QVERIFY(fromText.exec(ZoDbSchema::creationText() + ZoDbSchema::versionStatement()));
        TestDatabase made(QStringLiteral("made"));
        QVERIFY(made.isValid());
        const QString layout = QStringLiteral(
            "select group_concat(type || ' ' || name || ' ' || ifnull(sql, ''), '\n') from "
            "(select * from sqlite_master where name not like 'sqlite_%' order by type, name)");
        const QString text = scalar(fromText.database(), layout).toString();
        QCOMPARE(names(fromText.database(), "table").size(), 10);
        QCOMPARE(text, scalar(made.database(), layout).toString());
        QCOMPARE(scalar(fromText.database(), "pragma user_version").toInt(), ZoDbSchema::Version);

        const QString file = fromText.fileName();
        QSqlDatabase opened = ZoDbConnection::open(file, QStringLiteral("opened"));
        QVERIFY(opened.isOpen());
        QCOMPARE(scalar(opened, "pragma integrity_check").toString(), QStringLiteral("ok"));
        QCOMPARE(scalar(opened, "select count(*) from v_e").toInt(), 0);
        opened.close();
        opened = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("opened"));
    }

    void freshFileHasTheLayout()
    {
        TestDatabase tdb(QStringLiteral("schema"));
        QVERIFY(tdb.isValid());
        QSqlDatabase db = tdb.database();
        const QStringList tables = {"crlt", "f", "i", "k", "m", "mm", "r", "tm", "u", "uf"};
        QCOMPARE(names(db, "table"), tables);
        QCOMPARE(names(db, "view"), QStringList({"v_e", "v_l", "v_te", "v_tmcrlt"}));
        QCOMPARE(names(db, "index").size(), 25);
        QCOMPARE(names(db, "trigger"), QStringList({"t_m_delete"}));
        QCOMPARE(scalar(db, "pragma user_version").toInt(), 2);
        for (const QString& t : tables)
            QCOMPARE(scalar(db, "select count(*) from " + t).toInt(), 0);
        QCOMPARE(scalar(db, "pragma journal_mode").toString(), QStringLiteral("wal"));
        QCOMPARE(scalar(db, "pragma synchronous").toInt(), 2);
        QCOMPARE(scalar(db, "pragma busy_timeout").toInt(), ZoDbConnection::BusyTimeoutMs);
        QCOMPARE(scalar(db, "pragma integrity_check").toString(), QStringLiteral("ok"));
    }

    void viewColumns_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("v_tmcrlt") << "v_tmcrlt" << QStringList{"mprmid", "mchmid", "crtcrtid", "mv", "lclid"};
        QTest::newRow("v_e") << "v_e"
                             << QStringList{"mlmid", "mv", "lclid", "mmp",  "mmfn", "cccid", "sp",   "l",    "v",
                                            "ld",    "dc", "ddl",   "pmid", "dul",  "dnul",  "tmid", "mmid", "flflid"};
        QTest::newRow("v_te") << "v_te"
                              << QStringList{"mlmid", "mv", "lclid", "dc", "ddl", "pmid", "dul", "dnul", "tmid"};
        QTest::newRow("v_l") << "v_l" << QStringList{"mlmid", "mt",  "md",  "unm",  "lclid", "llllid",
                                                     "dc",    "ddl", "dul", "dnul", "pmid",  "ec"};
    }
    void viewColumns()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, columns);
        TestDatabase tdb(QStringLiteral("schema"));
        QSqlQuery q(tdb.database());
        QVERIFY(q.exec("pragma table_info(" + view + ")"));
        QStringList got;
        while (q.next())
            got << q.value(1).toString();
        QCOMPARE(got, columns);
    }

    // Exercise 10 (term 11, sound 12), exercise 20 (term 21, no sound), lesson 30 with both.
    void viewsAndTrigger()
    {
        TestDatabase tdb(QStringLiteral("schema"));
        QVERIFY(
            tdb.exec("insert into m (lmid, mtmtid, dc) values (10,1,1),(11,1,1),(12,2,1),(20,1,1),(21,1,1),(30,1,1)\n"
                     "insert into tm (mlmid, tmttmtid, mv, lclid) values (10,2,null,'eng'),(11,1,'house','eng')\n"
                     "insert into tm (mlmid, tmttmtid, mv, lclid) values (20,2,null,'deu'),(21,1,'Haus','deu')\n"
                     "insert into tm (mlmid, tmttmtid, mt, lclid) values (30,3,'L','eng')\n"
                     "insert into mm (mlmid, mmtmmtid, mmfn) values (12,1,'a.wav')\n"
                     "insert into crlt (mprmid, mchmid, sn, crtcrtid) values (10,11,0,2),(10,12,0,2),(20,21,0,2)\n"
                     "insert into crlt (mprmid, mchmid, sn, crtcrtid) values (30,10,0,3),(30,20,1,3)\n"
                     "insert into k (ktktid, mlmid, kv) values (5,10,'x'),(5,20,'y')\n"));
        QSqlDatabase db = tdb.database();
        QCOMPARE(scalar(db, "select group_concat(mlmid || ':' || mv || ':' || tmid || ':' || mmid) from v_e").toString(),
                 QStringLiteral("10:house:11:12"));
        QCOMPARE(scalar(db, "select count(*) from v_te where mlmid=10").toInt(), 2);
        QCOMPARE(scalar(db, "select count(*) from v_te where mlmid=20").toInt(), 1);
        QCOMPARE(scalar(db, "select ec from v_l where mlmid=30").toInt(), 2);

        QVERIFY(tdb.exec("delete from m where lmid=10"));
        QCOMPARE(scalar(db, "select count(*) from tm where mlmid=10").toInt(), 0);
        QCOMPARE(scalar(db, "select count(*) from k where mlmid=10").toInt(), 0);
        QCOMPARE(scalar(db, "select count(*) from crlt where mprmid=10 or mchmid=10").toInt(), 0);
        QCOMPARE(scalar(db, "select count(*) from m where lmid in (11,12,20,21,30)").toInt(), 5);
        QCOMPARE(scalar(db, "select count(*) from mm where mlmid=12").toInt(), 1);
        QCOMPARE(scalar(db, "select count(*) from k").toInt(), 1);
        QCOMPARE(scalar(db, "select ec from v_l where mlmid=30").toInt(), 1);
        QVERIFY(tdb.exec("delete from m where lmid=12"));
        QCOMPARE(scalar(db, "select count(*) from mm").toInt(), 0);
    }

    void codesMatchTheSchemaDefaults()
    {
        TestDatabase tdb(QStringLiteral("schema"));
        QVERIFY(tdb.exec("insert into m (lmid, dc) values (1, 0)"));
        QCOMPARE(scalar(tdb.database(), "select pmid from m").toString(), QString(ZoDbCodes::NoPersistentId));
        QCOMPARE(scalar(tdb.database(), "select typeof(ddl) || typeof(dnul) from m").toString(),
                 QStringLiteral("integerinteger"));
    }

    // A failing statement leaves nothing of the creation behind.
    void createIsAllOrNothing()
    {
        TestDatabase tdb(QStringLiteral("schema"), TestDatabase::Empty);
        QVERIFY(tdb.isValid());
        QVERIFY(tdb.exec("create table tm (x)"));
        QVERIFY(!ZoDbSchema::create(tdb.database()));
        QCOMPARE(names(tdb.database(), "table"), QStringList({"tm"}));
        QCOMPARE(scalar(tdb.database(), "pragma user_version").toInt(), 0);
    }

    void connectionFailsOnANonDatabase()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("junk.db"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        QSqlDatabase db = ZoDbConnection::open(f.fileName(), QStringLiteral("junk"));
        QVERIFY(!db.isOpen());
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("junk")));
        QCOMPARE(f.size(), 4096);
    }
};

QTEST_GUILESS_MAIN(TestZoDbSchema)
#include "tst_zodbschema.moc"
