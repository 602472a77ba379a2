#include "BoundedXml.h"
#include "TestDatabase.h"
#include "XmlPathMap.h"
#include "ZoTranslation.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using Table = QHash<QString, QString>;

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void flatten_data();
    void flatten();
    void lookupsIgnoreCase();
    void intValueOf_data();
    void intValueOf();
    void subtreeTakesOnlyWholeSegments();
    void dumpListsEveryEntry();
    void loadFailures_data();
    void loadFailures();
    void readsFile();
    void hostileDocuments_data();
    void hostileDocuments();
    void deepDocumentObjectIsWalkedWithoutRecursion();

    void translationFromTable_data();
    void translationFromTable();
    void translationCopyTakesListedMembersOnly();
    void translationHashHasExactlySevenKeys();
    void translationManifestFromStore();

private:
    TestDatabase* mDb = nullptr;
};

void TestMessages::initTestCase()
{
    mDb = new TestDatabase();
    QVERIFY(mDb->isValid());
    QVERIFY(mDb->exec(QStringLiteral(
        "INSERT INTO u (uid, unm, p) VALUES ('17', 'anna_b', 'secret1')\n"
        "INSERT INTO m (lmid, pmid, mtmtid, sbuid, dc, ip, id) VALUES (40, 'T-40', 7, '17', 1000, 1, 0)\n"
        "INSERT INTO tm (mlmid, tmttmtid, mt, md, lclid, llllid, it, ir) VALUES (40, 7, 'a <title>', 'desc & more', 'fra', 2, 0, 0)\n"
        "INSERT INTO m (lmid, pmid, mtmtid, sbuid, dc) VALUES (41, 'E-41', 1, '17', 1000)\n"
        "INSERT INTO m (lmid, pmid, mtmtid, sbuid, dc) VALUES (42, 'E-42', 1, '17', 1000)\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) VALUES (40, 41, 0, 7)\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) VALUES (40, 42, 0, 7)\n"
        "INSERT INTO crlt (mprmid, mchmid, sn, crtcrtid) VALUES (99, 41, 1, 3)\n"
        "INSERT INTO k (ktktid, mlmid, kv, lclid) VALUES (2, 40, 'at the market', 'eng')\n")));
}

void TestMessages::flatten_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<Table>("expected");

    QTest::newRow("status") << "<message><header><status>1</status></header></message>"
                            << Table{{"header.status", "1"}};
    QTest::newRow("three repeats") << "<message><body><exercise><term>a</term></exercise><exercise><term>b</term>"
                                      "</exercise><exercise><term>c</term></exercise></body></message>"
                                   << Table{{"body.exercise.term#0", "a"},
                                            {"body.exercise.term#1", "b"},
                                            {"body.exercise.term#2", "c"}};
    QTest::newRow("two repeats") << "<r><x>first</x><x>second</x></r>" << Table{{"x#0", "first"}, {"x#1", "second"}};
    QTest::newRow("attribute below body")
        << "<message><body><uploadExerciseReply><exercise persistentManifestID=\"P-1\"/></uploadExerciseReply>"
           "</body></message>"
        << Table{{"body.uploadexercisereply.exercise.persistentmanifestid", "P-1"},
                 {"body.uploadexercisereply.exercise", ""}};
    QTest::newRow("root attribute") << "<message Version=\"3\"><a>x</a></message>" << Table{{"version", "3"}, {"a", "x"}};
    QTest::newRow("empty element") << "<message><body><loginreply><error_description/></loginreply></body></message>"
                                   << Table{{"body.loginreply.error_description", ""}};
    QTest::newRow("text and attribute") << "<m><kvp kvpTypeID=\"2\">Hello World</kvp></m>"
                                        << Table{{"kvp.kvptypeid", "2"}, {"kvp", "Hello World"}};
    QTest::newRow("trimmed at the ends only") << "<m><t>  a   b  </t></m>" << Table{{"t", "a   b"}};
    QTest::newRow("inner element named like the root")
        << "<message><body><message>inner</message></body></message>" << Table{{"body.message", "inner"}};
    QTest::newRow("cdata kept verbatim") << "<m><v><![CDATA[ <b>&amp; ]]></v></m>" << Table{{"v", "<b>&amp;"}};
    QTest::newRow("value keeps its case") << "<M><Term>MiXeD</Term></M>" << Table{{"term", "MiXeD"}};
    QTest::newRow("attribute repeated with its element")
        << "<m><kvps><kvp kvpTypeID=\"1\"><kvpValue>a</kvpValue></kvp><kvp kvpTypeID=\"3\"><kvpValue>b</kvpValue>"
           "</kvp></kvps></m>"
        << Table{{"kvps.kvp.kvptypeid#0", "1"}, {"kvps.kvp.kvptypeid#1", "3"},
                 {"kvps.kvp.kvpvalue#0", "a"}, {"kvps.kvp.kvpvalue#1", "b"}};
}

void TestMessages::flatten()
{
    QFETCH(QString, xml);
    QFETCH(Table, expected);
    const XmlPathMap map(xml, QStringLiteral("doc"));
    QCOMPARE(map.entries(), expected);
    QCOMPARE(map.loadResult(), int(expected.size()));
}

void TestMessages::lookupsIgnoreCase()
{
    const XmlPathMap map(QStringLiteral("<message><body><exercise><term>a</term></exercise><exercise><term>b</term>"
                                        "</exercise><exercise><term>c</term></exercise></body></message>"),
                         QStringLiteral("doc"));
    QCOMPARE(map.occurrences(QStringLiteral("Body.Exercise.Term")), 3);
    QCOMPARE(map.occurrences(QStringLiteral("body.exercise.nothing")), 0);
    QCOMPARE(map.valueOf(QStringLiteral("BODY.exercise.TERM#1")), QStringLiteral("b"));
    QVERIFY(map.valueOf(QStringLiteral("body.exercise.term")).isEmpty());
    QVERIFY(!map.entries().contains(QStringLiteral("body.exercise.term")));
}

void TestMessages::intValueOf_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("number") << "42" << 42;
    QTest::newRow("negative") << "-2" << -2;
    QTest::newRow("not a number") << "4x" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestMessages::intValueOf()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    const XmlPathMap map(QStringLiteral("<m><header><status>%1</status></header></m>").arg(value), QStringLiteral("doc"));
    QCOMPARE(map.intValueOf(QStringLiteral("Header.Status")), expected);
}

void TestMessages::subtreeTakesOnlyWholeSegments()
{
    const XmlPathMap map(QStringLiteral("<message><body><translation><manifest persistentManifestID=\"T1\"/>"
                                        "</translation><translationNote>x</translationNote></body></message>"),
                         QStringLiteral("doc"));
    const Table expected{{"manifest.persistentmanifestid", "T1"}, {"manifest", ""}};
    QCOMPARE(map.subtree(QStringLiteral("Body.Translation")), expected);
}

void TestMessages::dumpListsEveryEntry()
{
    const XmlPathMap map(QStringLiteral("<m><a>1</a><b>two</b></m>"), QStringLiteral("doc"));
    QStringList lines = map.dump().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"a => '1'", "b => 'two'"}));
    QVERIFY(map.dump().endsWith(QLatin1Char('\n')));
}

void TestMessages::loadFailures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("reportsParseError");
    QTest::newRow("missing file") << "/nonexistent/reply.xml" << "file" << -1 << false;
    QTest::newRow("badly nested") << "<a><b></a></b>" << "doc" << -2 << true;
    QTest::newRow("empty text") << "" << "doc" << -2 << true;
    QTest::newRow("unknown kind") << "<a>1</a>" << "text" << 0 << false;
}

void TestMessages::loadFailures()
{
    QFETCH(QString, source);
    QFETCH(QString, kind);
    QFETCH(int, expected);
    QFETCH(bool, reportsParseError);
    if (reportsParseError)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^setContent error: \\d+ \\d+\\n")));
    const XmlPathMap map(source, kind);
    QCOMPARE(map.loadResult(), expected);
    QVERIFY(map.entries().isEmpty());
    QVERIFY(map.valueOf(QStringLiteral("a")).isEmpty());
}

void TestMessages::readsFile()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("reply.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<message><header><status>1</status><type>login</type></header></message>");
    file.close();
    const XmlPathMap map(file.fileName(), QStringLiteral("file"));
    QCOMPARE(map.loadResult(), 2);
    QCOMPARE(map.valueOf(QStringLiteral("header.type")), QStringLiteral("login"));
}

namespace {

QString nested(int depth, const QString& name, const QString& inner = QString())
{
    return QStringLiteral("<%1>").arg(name).repeated(depth) + inner + QStringLiteral("</%1>").arg(name).repeated(depth);
}

QString withAttributes(int elements, int attributes)
{
    QString one = QStringLiteral("<e");
    for (int i = 0; i < attributes; ++i)
        one += QStringLiteral(" a%1=\"%1\"").arg(i);
    one += QStringLiteral("/>");
    return QStringLiteral("<m>") + one.repeated(elements) + QStringLiteral("</m>");
}

} // namespace

void TestMessages::hostileDocuments_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("accepted");

    const int depth = BoundedXml::MaxDepth;
    const QString longName = QStringLiteral("n").repeated(BoundedXml::MaxNameLength);
    QTest::newRow("depth at the limit") << nested(depth, "a", "x") << true;
    QTest::newRow("depth past the limit") << nested(depth + 1, "a", "x") << false;
    QTest::newRow("nested 100,000 deep") << nested(100000, "a") << false;
    QTest::newRow("nested 2,000 deep with long names") << nested(2000, longName, "x") << false;
    QTest::newRow("attributes at the limit") << withAttributes(2, BoundedXml::MaxAttributes) << true;
    QTest::newRow("8 elements of 9,000 attributes") << withAttributes(8, 9000) << false;
    QTest::newRow("200,000 attributes") << withAttributes(1, 200000) << false;
    QTest::newRow("'=' inside quotes is no attribute")
        << QStringLiteral("<m a=\"%1\"/>").arg(QStringLiteral("=").repeated(1000)) << true;
    QTest::newRow("too many elements") << QStringLiteral("<m>%1</m>").arg(QStringLiteral("<a/>").repeated(BoundedXml::MaxElements)) << false;
    QTest::newRow("element name at the limit") << QStringLiteral("<m><%1/></m>").arg(longName) << true;
    QTest::newRow("element name too long") << QStringLiteral("<m><%1n/></m>").arg(longName) << false;
    QTest::newRow("attribute name too long") << QStringLiteral("<m %1n=\"1\"/>").arg(longName) << false;
    QTest::newRow("path too long") << nested(BoundedXml::MaxPathLength / 200 + 1, QStringLiteral("p").repeated(200), "x") << false;
    // 10,000 leaves, each stored under a path of about 1,800 characters: past the paths' total.
    QTest::newRow("paths too long in all")
        << nested(7, QStringLiteral("q").repeated(250), QStringLiteral("<%1>x</%1>").arg(longName).repeated(10000))
        << false;
    QTest::newRow("document too long")
        << QStringLiteral("<m>%1</m>").arg(QStringLiteral("x").repeated(BoundedXml::MaxDocumentLength)) << false;
    QTest::newRow("entity declared") << "<!DOCTYPE m [<!ENTITY x \"y\">]><m>&x;</m>" << false;
}

void TestMessages::hostileDocuments()
{
    QFETCH(QString, xml);
    QFETCH(bool, accepted);
    if (!accepted)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^setContent error: ")));
    const XmlPathMap map(xml, QStringLiteral("doc"));
    if (accepted) {
        QVERIFY(map.loadResult() > 0);
        QVERIFY(!map.entries().isEmpty());
    } else {
        // Refused as a whole: nothing of it is used.
        QCOMPARE(map.loadResult(), -2);
        QVERIFY(map.entries().isEmpty());
    }
}

void TestMessages::deepDocumentObjectIsWalkedWithoutRecursion()
{
    // A document built in memory is not checked on parsing; its walk must still end.
    QDomDocument document;
    QDomElement parent = document.createElement(QStringLiteral("m"));
    document.appendChild(parent);
    for (int i = 0; i < 10000; ++i) {
        QDomElement child = document.createElement(QStringLiteral("a"));
        parent.appendChild(child);
        parent = child;
    }
    parent.appendChild(document.createTextNode(QStringLiteral("bottom")));
    const XmlPathMap map(document);
    // 10,000 levels of "a." make one path of 20,000 characters, within the paths' total.
    QCOMPARE(map.loadResult(), 1);
    QCOMPARE(map.entries().constBegin().value(), QStringLiteral("bottom"));
}

void TestMessages::translationFromTable_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("username");
    QTest::addColumn<QStringList>("persistentExerciseIds");
    QTest::addColumn<QList<ZoTranslation::Kvp>>("kvps");

    const Table base{{"manifest.persistentmanifestid", "T-9"},
                     {"manifest.suppliedbyuserid", "17"},
                     {"textual_manifest.manifestvalue", "chien"},
                     {"textual_manifest.langid", "fra"},
                     {"textual_manifest.learnerlevelid", "2"},
                     {"textual_manifest.countryid", "FR"}};

    Table two = base;
    two.insert("exercises.exercise.persistentmanifestid#0", "E-1");
    two.insert("exercises.exercise.persistentmanifestid#1", "E-2");
    QTest::newRow("two exercises, no kvp") << two << "anna_b" << QStringList{"E-1", "E-2"} << QList<ZoTranslation::Kvp>();

    Table one = base;
    one.insert("exercises.exercise.persistentmanifestid", "E-1");
    one.insert("kvps.kvp.kvptypeid", "2");
    one.insert("kvps.kvp.kvpvalue", "at the market");
    one.insert("kvps.kvp.langid", "eng");
    QTest::newRow("one exercise, one kvp")
        << one << "anna_b" << QStringList{"E-1", ""}
        << QList<ZoTranslation::Kvp>{{{"typeID", "2"}, {"value", "at the market"}, {"langID", "eng"}}};

    Table three = two;
    three.insert("manifest.suppliedbyuserid", "99");
    for (int n = 0; n < 3; ++n) {
        three.insert(QStringLiteral("kvps.kvp.kvptypeid#%1").arg(n), QString::number(n + 1));
        three.insert(QStringLiteral("kvps.kvp.kvpvalue#%1").arg(n), QStringLiteral("v%1").arg(n));
        three.insert(QStringLiteral("kvps.kvp.langid#%1").arg(n), QStringLiteral("eng"));
    }
    QTest::newRow("unknown supplier, three kvps")
        << three << "" << QStringList{"E-1", "E-2"}
        << QList<ZoTranslation::Kvp>{{{"typeID", "1"}, {"value", "v0"}, {"langID", "eng"}},
                                     {{"typeID", "2"}, {"value", "v1"}, {"langID", "eng"}},
                                     {{"typeID", "3"}, {"value", "v2"}, {"langID", "eng"}}};
}

void TestMessages::translationFromTable()
{
    QFETCH(Table, table);
    QFETCH(QString, username);
    QFETCH(QStringList, persistentExerciseIds);
    QFETCH(QList<ZoTranslation::Kvp>, kvps);

    const ZoTranslation translation(table);
    QCOMPARE(translation.id(), QStringLiteral("0"));
    QCOMPARE(translation.pId(), QStringLiteral("T-9"));
    QCOMPARE(translation.value(), QStringLiteral("chien"));
    QCOMPARE(translation.username(), username);
    QCOMPARE(translation.userId(), table.value("manifest.suppliedbyuserid"));
    QCOMPARE(translation.langId(), QStringLiteral("fra"));
    QCOMPARE(translation.countryCode(), QStringLiteral("FR"));
    QCOMPARE(translation.learnerLevel(), QStringLiteral("2"));
    QCOMPARE(translation.exerciseIds(), (QStringList{"0", "0"}));
    QCOMPARE(translation.persistentExerciseIds(), persistentExerciseIds);
    QCOMPARE(translation.kvps(), kvps);
    QCOMPARE(translation.type(), QStringLiteral("Translation"));
}

void TestMessages::translationCopyTakesListedMembersOnly()
{
    ZoTranslation source(Table{{"manifest.persistentmanifestid", "T-1"},
                               {"manifest.suppliedbyuserid", "17"},
                               {"textual_manifest.manifestvalue", "chien"},
                               {"textual_manifest.manifestdescription", "a dog"},
                               {"exercises.exercise.persistentmanifestid", "E-1"}});
    source.setTitle(QStringLiteral("title"));
    source.setParentLmid(QStringLiteral("5"));
    source.setParentPmid(QStringLiteral("P-5"));
    source.setKvps({{{"typeID", "2"}, {"value", "x"}, {"langID", "eng"}}});

    const ZoTranslation copy(source);
    QCOMPARE(copy.toHash(), source.toHash());
    QCOMPARE(copy.persistentExerciseIds(), source.persistentExerciseIds());
    QCOMPARE(copy.kvps(), source.kvps());
    QVERIFY(copy.title().isEmpty());
    QVERIFY(copy.description().isEmpty());
    QVERIFY(copy.userId().isEmpty());
    QVERIFY(copy.parentLmid().isEmpty());
    QVERIFY(copy.parentPmid().isEmpty());

    ZoTranslation target;
    target.setTitle(QStringLiteral("kept"));
    target = source;
    QCOMPARE(target.title(), QStringLiteral("kept"));
    QCOMPARE(target.pId(), QStringLiteral("T-1"));
    QCOMPARE(target.username(), QStringLiteral("anna_b"));
}

void TestMessages::translationHashHasExactlySevenKeys()
{
    QStringList keys = ZoTranslation().toHash().keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"CountryCode", "Id", "LangId", "LearnerLevel", "PId", "Username", "Value"}));
}

void TestMessages::translationManifestFromStore()
{
    QDomDocument document;
    QVERIFY(document.setContent(ZoTranslation::manifestXml(QStringLiteral("40"))));
    const QDomElement root = document.documentElement();
    QCOMPARE(root.tagName(), QStringLiteral("translation"));
    QVERIFY(!root.hasAttribute(QStringLiteral("numChildren")));
    QStringList children;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        children << e.tagName();
    QCOMPARE(children, (QStringList{"manifest", "textual_manifest", "exercises", "kvps"}));

    const QDomElement manifest = root.firstChildElement(QStringLiteral("manifest"));
    QCOMPARE(manifest.attribute(QStringLiteral("persistentManifestID")), QStringLiteral("T-40"));
    QCOMPARE(manifest.attribute(QStringLiteral("manifestTypeID")), QStringLiteral("7"));
    QCOMPARE(manifest.firstChildElement(QStringLiteral("dateCreated")).text(), QStringLiteral("1000"));

    const QDomElement textual = root.firstChildElement(QStringLiteral("textual_manifest"));
    const QDomElement title = textual.firstChildElement(QStringLiteral("manifestTitle"));
    QCOMPARE(title.text(), QStringLiteral("a <title>"));
    QVERIFY(title.firstChild().isText() && !title.firstChild().isCDATASection());
    QCOMPARE(textual.firstChildElement(QStringLiteral("manifestDescription")).text(), QStringLiteral("desc & more"));
    QCOMPARE(textual.firstChildElement(QStringLiteral("langID")).text(), QStringLiteral("fra"));

    QStringList members;
    const QDomElement exercises = root.firstChildElement(QStringLiteral("exercises"));
    for (QDomElement e = exercises.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        QCOMPARE(e.tagName(), QStringLiteral("exercise"));
        QCOMPARE(e.attributes().count(), 1);
        members << e.attribute(QStringLiteral("persistentManifestID"));
    }
    members.sort();
    QCOMPARE(members, (QStringList{"E-41", "E-42"}));

    const QDomElement kvp = root.firstChildElement(QStringLiteral("kvps")).firstChildElement(QStringLiteral("kvp"));
    QCOMPARE(kvp.attribute(QStringLiteral("kvpTypeID")), QStringLiteral("2"));
    QCOMPARE(kvp.firstChildElement(QStringLiteral("kvpValue")).text(), QStringLiteral("at the market"));
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
