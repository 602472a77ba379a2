#include "ResourceDoubles.h"
#include "StoreRows.h"
#include "TestDatabase.h"
#include "ZoDbHelper.h"

#include <QSqlQuery>
#include <QtTest>

#include <memory>

using StringHash = QHash<QString, QString>;

namespace {

QVariant scalar(const QString& sql, const QVariant& bound, QSqlDatabase db = QSqlDatabase::database())
{
    QSqlQuery q(db);
    q.prepare(sql);
    q.addBindValue(bound);
    if (!q.exec() || !q.next())
        return QVariant();
    return q.value(0);
}

} // namespace

class TestZoDbHelper : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ResourceDoubles> mResources;
    std::unique_ptr<TestDatabase> mDb;

private slots:
    void initTestCase()
    {
        mResources = std::make_unique<ResourceDoubles>();
        QVERIFY(mResources->isValid());
    }

    void init()
    {
        mDb = std::make_unique<TestDatabase>();
        QVERIFY(mDb->isValid());
    }

    void cleanup() { mDb.reset(); }

    void cleanupTestCase() { mResources.reset(); }

    void lookups_data()
    {
        // Resource: 0 language, 1 country, 2 fluency level, 3 learner level, 4 tag, 5 manifest (names only).
        QTest::addColumn<int>("resource");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::newRow("language") << 0 << "German"
                                  << "deu";
        QTest::newRow("country") << 1 << "Italy"
                                 << "IT";
        QTest::newRow("fluency level") << 2 << "Fluent"
                                       << "3";
        QTest::newRow("learner level") << 3 << "Advanced"
                                       << "3";
        QTest::newRow("tag") << 4 << "Context"
                             << "2";
        QTest::newRow("manifest") << 5 << "Translation"
                                  << "7";
        QTest::newRow("unknown language") << 0 << ""
                                          << "zzz";
        QTest::newRow("country id is not a language") << 0 << ""
                                                      << "FR";
    }

    void lookups()
    {
        QFETCH(int, resource);
        QFETCH(QString, name);
        QFETCH(QString, id);
        ZoDbHelper helper;
        using Lookup = QString (ZoDbHelper::*)(QString) const;
        const Lookup toId[] = {&ZoDbHelper::languageId,     &ZoDbHelper::countryId, &ZoDbHelper::fluencyLevelId,
                               &ZoDbHelper::learnerLevelId, &ZoDbHelper::tagId,     nullptr};
        const Lookup toName[] = {&ZoDbHelper::languageName,     &ZoDbHelper::countryName, &ZoDbHelper::fluencyLevelName,
                                 &ZoDbHelper::learnerLevelName, &ZoDbHelper::tagName,     &ZoDbHelper::manifestName};
        QCOMPARE((helper.*toName[resource])(id), name);
        if (toId[resource] && !name.isEmpty())
            QCOMPARE((helper.*toId[resource])(name), id);
    }

    void lists()
    {
        ZoDbHelper helper;
        QCOMPARE(helper.languageList(), (QStringList{"English", "French", "German", "Italian", "Spanish"}));
        QCOMPARE(helper.countryList(), (QStringList{"United States", "France", "Germany", "Italy"}));
        QCOMPARE(helper.fluencyLevelList(), (QStringList{"Beginner", "Intermediate", "Fluent", "Native"}));
        QCOMPARE(helper.learnerLevelList(), (QStringList{"Novice", "Middle", "Advanced"}));
        QCOMPARE(helper.tagList(), (QStringList{"Translation", "Context", "Note"}));
    }

    void releaseResources()
    {
        const QStringList files = {"ZoLanguageResource.dll",     "ZoCountryResource.dll", "ZoFluencyLevelResource.dll",
                                   "ZoLearnerLevelResource.dll", "ZoTagResource.dll",     "ZoManifestResource.dll"};
        const QList<int> released = {1, 1, 1, 1, 0, 0};
        QList<int> before;
        for (const QString& file : files) {
            QObject* root = ResourceDoubles::instance(file);
            QVERIFY(root);
            before.append(root->property("releaseCount").toInt());
        }
        ZoDbHelper helper;
        helper.releaseResources();
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(ResourceDoubles::instance(files.at(i))->property("releaseCount").toInt() - before.at(i),
                     released.at(i));
    }

    void missingResourceLeavesOthers()
    {
        // The tree has no SIL resource; the six tables still answer.
        QVERIFY(!QFile::exists(mResources->tree().filePath("Plugins_dll/Resources/ZoSILResource.so")));
        ZoDbHelper helper;
        QCOMPARE(helper.languageName("eng"), QStringLiteral("English"));
        QCOMPARE(helper.manifestName("1"), QStringLiteral("Textual"));
    }

    void deletedInstanceIsLoadedAgain()
    {
        ZoDbHelper before;
        QCOMPARE(before.tagName("2"), QStringLiteral("Context"));
        QPointer<QObject> root = ResourceDoubles::instance("ZoTagResource.dll");
        QVERIFY(root);
        delete root.data();
        QVERIFY(!root);
        QCOMPARE(before.tagName("2"), QString());
        ZoDbHelper after;
        QCOMPARE(after.tagName("3"), QStringLiteral("Note"));
        QCOMPARE(before.tagName("3"), QStringLiteral("Note"));
    }

    void userVersion_data()
    {
        QTest::addColumn<bool>("schema");
        QTest::addColumn<QString>("version");
        QTest::newRow("created file") << true << "2";
        QTest::newRow("empty file") << false << "0";
    }

    void userVersion()
    {
        QFETCH(bool, schema);
        QFETCH(QString, version);
        TestDatabase other(QStringLiteral("version"), schema ? TestDatabase::Schema : TestDatabase::Empty);
        QVERIFY(other.isValid());
        QCOMPARE(ZoDbHelper(other.database()).userVersion(), version);
    }

    void persistentIds()
    {
        StoreRows rows;
        QVERIFY(rows.manifest(1));
        QVERIFY(rows.manifest(2, "P-2"));
        QVERIFY(rows.manifest(3, ""));
        QVERIFY(rows.manifest(4, "it"));
        QVERIFY(rows.manifest(5, "pmid"));
        ZoDbHelper helper;
        QCOMPARE(helper.countByPersistentId("0"), 0);
        QCOMPARE(helper.countByPersistentId("P-2"), 1);
        QCOMPARE(helper.countByPersistentId("p-2"), 0);
        QCOMPARE(helper.countByPersistentId("pmid"), 1);
        QCOMPARE(helper.countByPersistentId("' OR '1'='1"), 0);
        QCOMPARE(helper.localIdOf("P-2"), 2);
        QCOMPARE(helper.localIdOf("it"), 4);
        QCOMPARE(helper.localIdOf("pmid"), 5);
        QCOMPARE(helper.localIdOf("nothing"), 0);
        QCOMPARE(helper.persistentIdOf("2"), QStringLiteral("P-2"));
        QCOMPARE(helper.persistentIdOf("1"), QStringLiteral("0"));
        QCOMPARE(helper.persistentIdOf("3"), QStringLiteral("0"));
        QCOMPARE(helper.persistentIdOf("99"), QStringLiteral("0"));
        QCOMPARE(helper.persistentIdOf("2 OR 1=1"), QStringLiteral("0"));
    }

    void assignPersistentId_data()
    {
        QTest::addColumn<QString>("localId");
        QTest::addColumn<QString>("persistentId");
        QTest::addColumn<bool>("downloaded");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("storedPmid"); // pmid of manifest 1 afterwards
        QTest::newRow("uploaded") << "1"
                                  << "NEW-1" << false << 1 << "NEW-1";
        QTest::newRow("downloaded") << "1"
                                    << "NEW-1" << true << 1 << "NEW-1";
        QTest::newRow("zero") << "1"
                              << "0" << false << 1 << "0";
        QTest::newRow("held by another") << "1"
                                         << "TAKEN" << false << 0 << "0";
        QTest::newRow("its own id again") << "2"
                                          << "TAKEN" << true << 1 << "0";
        QTest::newRow("no such manifest") << "77"
                                          << "NEW-77" << false << 0 << "0";
        QTest::newRow("quotes kept") << "1"
                                     << "a'b\"c" << false << 1 << "a'b\"c";
        QTest::newRow("local id is not sql") << "1 OR 1=1"
                                             << "X" << false << 0 << "0";
    }

    void assignPersistentId()
    {
        QFETCH(QString, localId);
        QFETCH(QString, persistentId);
        QFETCH(bool, downloaded);
        QFETCH(int, result);
        QFETCH(QString, storedPmid);
        StoreRows rows;
        QVERIFY(rows.manifest(1));
        QVERIFY(rows.manifest(2, "TAKEN"));
        ZoDbHelper helper;
        QCOMPARE(helper.assignPersistentId(localId, persistentId, downloaded), result);
        QCOMPARE(scalar("SELECT pmid FROM m WHERE lmid = ?", 1).toString(), storedPmid);
        QCOMPARE(scalar("SELECT pmid FROM m WHERE lmid = ?", 2).toString(), QStringLiteral("TAKEN"));
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        const int target = localId.toInt();
        const qint64 ddl = scalar("SELECT ddl FROM m WHERE lmid = ?", target).toLongLong();
        const qint64 dul = scalar("SELECT dul FROM m WHERE lmid = ?", target).toLongLong();
        if (result == 1) {
            QVERIFY(qAbs((downloaded ? ddl : dul) - now) < 120);
            QCOMPARE(downloaded ? dul : ddl, 0);
        } else {
            QCOMPARE(ddl, 0);
            QCOMPARE(dul, 0);
        }
    }

    void clearPersistentId()
    {
        StoreRows rows;
        QVERIFY(rows.manifest(1, "P-1"));
        ZoDbHelper helper;
        QCOMPARE(helper.assignPersistentId("1", "P-9", false), 1);
        QCOMPARE(helper.clearPersistentId("1"), 1);
        QCOMPARE(scalar("SELECT pmid FROM m WHERE lmid = ?", 1).toString(), QStringLiteral("0"));
        QCOMPARE(scalar("SELECT dul FROM m WHERE lmid = ?", 1).toInt(), 0);
        QCOMPARE(helper.clearPersistentId("2"), 0);
    }

    void translationRelatives_data()
    {
        QTest::addColumn<QString>("localId");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("two groups") << "10" << QStringList{"100,11,12", "200,13"};
        QTest::newRow("one group") << "13" << QStringList{"200,10"};
        QTest::newRow("alone in its group") << "14" << QStringList{"300"};
        QTest::newRow("no group") << "15" << QStringList();
        QTest::newRow("lesson links do not count") << "16" << QStringList();
    }

    void translationRelatives()
    {
        QFETCH(QString, localId);
        QFETCH(QStringList, groups);
        StoreRows rows;
        QVERIFY(rows.relation(100, 10, 7));
        QVERIFY(rows.relation(100, 11, 7));
        QVERIFY(rows.relation(100, 12, 7));
        QVERIFY(rows.relation(200, 10, 7));
        QVERIFY(rows.relation(200, 13, 7));
        QVERIFY(rows.relation(300, 14, 7));
        QVERIFY(rows.relation(400, 16, 3));
        QVERIFY(rows.relation(400, 10, 3));
        QCOMPARE(ZoDbHelper().translationRelatives(localId), groups);
    }

    void records()
    {
        StoreRows rows;
        QVERIFY(rows.manifest(5, "P-5", 2));
        QVERIFY(rows.textual(5, 1, "chat", "fra"));
        QVERIFY(rows.insert("mm", {{"mlmid", "5"},
                                   {"mmtmmtid", "1"},
                                   {"mmfn", "chat.wav"},
                                   {"mmp", "Content"},
                                   {"v", "marie"},
                                   {"flflid", "4"}}));
        QVERIFY(rows.kvp(3, 5, 1, "cat", "eng"));
        QVERIFY(rows.kvp(1, 5, 2, "pet", "eng"));
        QVERIFY(rows.kvp(2, 6, 1, "other", "eng"));
        ZoDbHelper helper;

        const StringHash m = helper.manifestRecord("5");
        QCOMPARE(QSet<QString>(m.keyBegin(), m.keyEnd()), (QSet<QString>{"lmid", "pmid", "mtmtid", "r", "sbuid", "sbun",
                                                                         "dc", "ip", "id", "ddl", "dul", "dnul"}));
        QCOMPARE(m.value("lmid"), QStringLiteral("5"));
        QCOMPARE(m.value("pmid"), QStringLiteral("P-5"));
        QCOMPARE(m.value("mtmtid"), QStringLiteral("2"));
        QCOMPARE(m.value("r"), QString());
        QCOMPARE(m.value("dc"), QStringLiteral("1700000000"));

        const StringHash tm = helper.textualManifestRecord("5");
        QCOMPARE(tm.size(), 11);
        QCOMPARE(tm.value("mv"), QStringLiteral("chat"));
        QCOMPARE(tm.value("lclid"), QStringLiteral("fra"));
        QCOMPARE(tm.value("tmttmtid"), QStringLiteral("1"));

        const StringHash mm = helper.mediaManifestRecord("5");
        QCOMPARE(mm.size(), 19);
        QCOMPARE(mm.value("mmfn"), QStringLiteral("chat.wav"));
        QCOMPARE(mm.value("mmp"), QStringLiteral("Content"));
        QCOMPARE(mm.value("v"), QStringLiteral("marie"));
        QCOMPARE(mm.value("flflid"), QStringLiteral("4"));
        QCOMPARE(mm.value("nc"), QString());

        const QList<StringHash> k = helper.kvpRecords("5");
        QCOMPARE(k.size(), 2);
        QCOMPARE(k.at(0), (StringHash{{"kid", "1"}, {"ktktid", "2"}, {"mlmid", "5"}, {"kv", "pet"}, {"lclid", "eng"}}));
        QCOMPARE(k.at(1).value("kv"), QStringLiteral("cat"));

        QVERIFY(helper.manifestRecord("6").isEmpty());
        QVERIFY(helper.textualManifestRecord("6").isEmpty());
        QVERIFY(helper.mediaManifestRecord("5 OR 1=1").isEmpty());
        QVERIFY(helper.kvpRecords("7").isEmpty());
    }

    void languagesOf_data()
    {
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("languages");
        QTest::newRow("shared language once") << QStringList{"1", "2"} << QStringList{"French"};
        QTest::newRow("two languages") << QStringList{"1", "3"} << QStringList{"French", "German"};
        QTest::newRow("unknown ids") << QStringList{"8", "9"} << QStringList();
        QTest::newRow("no ids") << QStringList() << QStringList();
        QTest::newRow("ids are not sql") << QStringList{"1) OR (1=1"} << QStringList();
    }

    void languagesOf()
    {
        QFETCH(QStringList, ids);
        QFETCH(QStringList, languages);
        StoreRows rows;
        QVERIFY(rows.textual(1, 2, "", "fra"));
        QVERIFY(rows.textual(2, 2, "", "fra"));
        QVERIFY(rows.textual(3, 2, "", "deu"));
        QStringList got = ZoDbHelper().languagesOf(ids);
        got.sort();
        QCOMPARE(got, languages);
    }

    void findTermId_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("id");
        QTest::newRow("plain") << "chat"
                               << "French" << 1;
        QTest::newRow("names a column") << "it"
                                        << "English" << 2;
        QTest::newRow("names the searched column") << "mv"
                                                   << "English" << 3;
        QTest::newRow("single quote") << "O'Brien"
                                      << "English" << 4;
        QTest::newRow("double quotes") << "say \"hi\""
                                       << "English" << 5;
        QTest::newRow("percent and underscore") << "100%_"
                                                << "English" << 6;
        QTest::newRow("wildcards match nothing else") << "10_%_"
                                                      << "English" << -1;
        QTest::newRow("injection") << "x\" OR \"1\"=\"1"
                                   << "English" << -1;
        QTest::newRow("other language") << "chat"
                                        << "English" << -1;
        QTest::newRow("exercise rows are not terms") << "chien"
                                                     << "French" << -1;
        QTest::newRow("case counts") << "Chat"
                                     << "French" << -1;
    }

    void findTermId()
    {
        QFETCH(QString, term);
        QFETCH(QString, language);
        QFETCH(int, id);
        StoreRows rows;
        QVERIFY(rows.textual(1, 1, "chat", "fra"));
        QVERIFY(rows.textual(2, 1, "it", "eng"));
        QVERIFY(rows.textual(3, 1, "mv", "eng"));
        QVERIFY(rows.textual(4, 1, "O'Brien", "eng"));
        QVERIFY(rows.textual(5, 1, "say \"hi\"", "eng"));
        QVERIFY(rows.textual(6, 1, "100%_", "eng"));
        QVERIFY(rows.textual(7, 2, "chien", "fra"));
        QCOMPARE(ZoDbHelper().findTermId(term, language), id);
    }

    void users_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("uid");
        QTest::newRow("lower case") << "anna"
                                    << "u1";
        QTest::newRow("capital") << "Anna"
                                 << "u2";
        // One account in any letter case: the spelling stored first.
        QTest::newRow("other case") << "ANNA"
                                    << "u1";
        QTest::newRow("underscore") << "a_c"
                                    << "u3";
        QTest::newRow("no wildcard") << "abc"
                                     << "u4";
        QTest::newRow("percent") << "a%"
                                 << "-1";
        QTest::newRow("quote") << "o'neil"
                               << "u5";
        QTest::newRow("injection") << "x' OR '1'='1"
                                   << "-1";
        QTest::newRow("unknown") << "zoe"
                                 << "-1";
    }

    void users()
    {
        QFETCH(QString, name);
        QFETCH(QString, uid);
        StoreRows rows;
        const QStringList names = {"anna", "Anna", "a_c", "abc", "o'neil"};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(rows.insert("u", {{"uid", QStringLiteral("u%1").arg(i + 1)}, {"unm", names.at(i)}}));
        ZoDbHelper helper;
        QCOMPARE(helper.userIdOf(name), uid);
        if (uid != "-1")
            QCOMPARE(helper.userNameOf(uid).toLower(), name.toLower());
    }

    void userNameOf_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("name");
        QTest::newRow("numeric id") << "42"
                                    << "num";
        QTest::newRow("text id") << "ab-cd"
                                 << "txt";
        QTest::newRow("unknown") << "43"
                                 << "";
        QTest::newRow("injection") << "x' OR '1'='1"
                                   << "";
        QTest::newRow("bare injection") << "0 OR 1=1"
                                        << "";
    }

    void userNameOf()
    {
        QFETCH(QString, uid);
        QFETCH(QString, name);
        StoreRows rows;
        QVERIFY(rows.insert("u", {{"uid", "42"}, {"unm", "num"}}));
        QVERIFY(rows.insert("u", {{"uid", "ab-cd"}, {"unm", "txt"}}));
        QCOMPARE(ZoDbHelper().userNameOf(uid), name);
    }

    void memberQueries()
    {
        StoreRows rows;
        for (int id : {20, 21, 22, 23})
            QVERIFY(rows.manifest(id, QStringLiteral("P-%1").arg(id)));
        QVERIFY(rows.relation(50, 21, 3, 2));
        QVERIFY(rows.relation(50, 22, 3, 0));
        QVERIFY(rows.relation(50, 20, 3, 1));
        QVERIFY(rows.relation(50, 23, 7));
        QVERIFY(rows.relation(60, 23, 7));
        QVERIFY(rows.relation(60, 20, 7));
        ZoDbHelper helper;
        const QList<StringHash> lesson = helper.lessonExercises("50");
        QCOMPARE(lesson, (QList<StringHash>{{{"lmid", "22"}, {"pmid", "P-22"}, {"sn", "0"}},
                                            {{"lmid", "20"}, {"pmid", "P-20"}, {"sn", "1"}},
                                            {{"lmid", "21"}, {"pmid", "P-21"}, {"sn", "2"}}}));
        QList<StringHash> group = helper.translationExercises("60");
        std::sort(group.begin(), group.end(),
                  [](const StringHash& a, const StringHash& b) { return a.value("lmid") < b.value("lmid"); });
        QCOMPARE(group, (QList<StringHash>{{{"lmid", "20"}, {"pmid", "P-20"}}, {{"lmid", "23"}, {"pmid", "P-23"}}}));
        QVERIFY(helper.lessonExercises("60").isEmpty());
    }

    void legacyMediaPath_data()
    {
        QTest::addColumn<QString>("manifestId");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("file");
        QTest::newRow("found") << "m1"
                               << "old/dir"
                               << "a.wav";
        QTest::newRow("no media") << "m2"
                                  << ""
                                  << "";
        QTest::newRow("unknown") << "m3"
                                 << ""
                                 << "";
        QTest::newRow("quote") << "m'1"
                               << ""
                               << "";
    }

    void legacyMediaPath()
    {
        QFETCH(QString, manifestId);
        QFETCH(QString, path);
        QFETCH(QString, file);
        TestDatabase legacy(QStringLiteral("legacy"), TestDatabase::Empty);
        QVERIFY(legacy.exec("CREATE TABLE exercise_lt (manifests_id TEXT, media_manifest_id INTEGER)\n"
                            "CREATE TABLE media_manifests (id INTEGER, path TEXT, filename TEXT)\n"
                            "INSERT INTO exercise_lt VALUES ('m1', 7)\n"
                            "INSERT INTO exercise_lt VALUES ('m2', -1)\n"
                            "INSERT INTO media_manifests VALUES (7, 'old/dir', 'a.wav')\n"
                            "INSERT INTO media_manifests VALUES (-1, 'bad', 'bad.wav')"));
        QString out[2] = {"stale", "stale"};
        ZoDbHelper(legacy.database()).legacyMediaPath(out, manifestId);
        QCOMPARE(out[0], path);
        QCOMPARE(out[1], file);
        // The current layout has neither table.
        QString current[2] = {"stale", "stale"};
        ZoDbHelper().legacyMediaPath(current, "m1");
        QCOMPARE(current[0], QString());
        QCOMPARE(current[1], QString());
    }

    void givenConnection()
    {
        TestDatabase other(QStringLiteral("other"));
        QVERIFY(other.isValid());
        QVERIFY(StoreRows(other.database()).manifest(8, "ONLY-HERE"));
        QCOMPARE(ZoDbHelper(other.database()).localIdOf("ONLY-HERE"), 8);
        QCOMPARE(ZoDbHelper().localIdOf("ONLY-HERE"), 0);
        QCOMPARE(ZoDbHelper(other.database()).assignPersistentId("8", "MOVED", true), 1);
        QCOMPARE(ZoDbHelper(other.database()).persistentIdOf("8"), QStringLiteral("MOVED"));
    }
};

QTEST_MAIN(TestZoDbHelper)
#include "tst_zodbhelper.moc"
