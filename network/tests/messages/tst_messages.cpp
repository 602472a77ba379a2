#include "AccountReply.h"
#include "BoundedXml.h"
#include "ContentGate.h"
#include "INetManager.h"
#include "ManifestReader.h"
#include "MessageEnvelope.h"
#include "PeerReply.h"
#include "RequestBuilder.h"
#include "SearchReply.h"
#include "SettingsKeys.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "UploadReply.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoTranslation.h"

#include <QDomDocument>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSettings>
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

    void envelopeHeader();
    void leafElements_data();
    void leafElements();
    void requestBodies_data();
    void requestBodies();
    void requestMessages_data();
    void requestMessages();
    void uploadMessageWrapsManifest_data();
    void uploadMessageWrapsManifest();
    void sentTextIsXml_data();
    void sentTextIsXml();

    void replyStates_data();
    void replyStates();
    void accountAnswers_data();
    void accountAnswers();
    void loginAnswers_data();
    void loginAnswers();
    void loginUserFields_data();
    void loginUserFields();
    void exerciseSearch_data();
    void exerciseSearch();
    void lessonSearch_data();
    void lessonSearch();
    void uploadAnswers_data();
    void uploadAnswers();
    void translationDownload_data();
    void translationDownload();
    void translationDownloadKeepsItsCreator();

private:
    TestDatabase* mDb = nullptr;
};

void TestMessages::initTestCase()
{
    // The refusal lines of the reader are debug lines of the network category.
    QLoggingCategory::setFilterRules(QStringLiteral("vireda.network.debug=true"));
    SettingsStore::configure();
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
    QTest::newRow("root attribute") << "<message Version=\"3\"><a>x</a></message>"
                                    << Table{{"version", "3"}, {"a", "x"}};
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
        << Table{{"kvps.kvp.kvptypeid#0", "1"},
                 {"kvps.kvp.kvptypeid#1", "3"},
                 {"kvps.kvp.kvpvalue#0", "a"},
                 {"kvps.kvp.kvpvalue#1", "b"}};
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
    const XmlPathMap map(QStringLiteral("<m><header><status>%1</status></header></m>").arg(value),
                         QStringLiteral("doc"));
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
    QTest::newRow("missing file") << "/nonexistent/reply.xml"
                                  << "file" << -1 << false;
    QTest::newRow("badly nested") << "<a><b></a></b>"
                                  << "doc" << -2 << true;
    QTest::newRow("empty text") << ""
                                << "doc" << -2 << true;
    QTest::newRow("unknown kind") << "<a>1</a>"
                                  << "text" << 0 << false;
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
    QTest::newRow("too many elements")
        << QStringLiteral("<m>%1</m>").arg(QStringLiteral("<a/>").repeated(BoundedXml::MaxElements)) << false;
    QTest::newRow("element name at the limit") << QStringLiteral("<m><%1/></m>").arg(longName) << true;
    QTest::newRow("element name too long") << QStringLiteral("<m><%1n/></m>").arg(longName) << false;
    QTest::newRow("attribute name too long") << QStringLiteral("<m %1n=\"1\"/>").arg(longName) << false;
    QTest::newRow("path too long") << nested(BoundedXml::MaxPathLength / 200 + 1, QStringLiteral("p").repeated(200),
                                             "x")
                                   << false;
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

    const Table base{{"manifest.persistentmanifestid", "T-9"},    {"manifest.suppliedbyuserid", "17"},
                     {"textual_manifest.manifestvalue", "chien"}, {"textual_manifest.langid", "fra"},
                     {"textual_manifest.learnerlevelid", "2"},    {"textual_manifest.countryid", "FR"}};

    Table two = base;
    two.insert("exercises.exercise.persistentmanifestid#0", "E-1");
    two.insert("exercises.exercise.persistentmanifestid#1", "E-2");
    QTest::newRow("two exercises, no kvp")
        << two << "anna_b" << QStringList{"E-1", "E-2"} << QList<ZoTranslation::Kvp>();

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

// ------------------------------------------------------------------ requests

namespace {

// The element as one line, with no white space added.
QString compact(const QDomElement& element)
{
    QDomDocument document;
    document.appendChild(document.importNode(element, true));
    return document.toString(-1);
}

// The query elements after the term or the title, all empty but the two given.
QString queryTail(const QString& languageId, const QString& pageNum)
{
    const QString cdata = QStringLiteral("<%1><![CDATA[]]></%1>");
    const QString text = QStringLiteral("<%1></%1>");
    return QStringLiteral("<query_langID>%1</query_langID>").arg(languageId) + text.arg("results_langID")
           + cdata.arg("results_voice") + text.arg("results_speakingSpeedID") + cdata.arg("results_countryLangID")
           + cdata.arg("results_stateProv") + cdata.arg("results_locality") + cdata.arg("results_localeDescriptor")
           + text.arg("results_fluencyLevelID") + text.arg("results_learnerLevelID") + text.arg("max_results")
           + QStringLiteral("<page_num>%1</page_num>").arg(pageNum);
}

QDomElement buildBody(QDomDocument& document, const QString& kind, const Table& fields)
{
    const RequestBuilder builder;
    if (kind == QLatin1String("register"))
        return builder.registerBody(document, fields);
    if (kind == QLatin1String("updateFluency"))
        return builder.updateFluencyBody(document, fields);
    if (kind == QLatin1String("login"))
        return RequestBuilder::loginBody(document, fields.value("Username"), fields.value("Password"));
    if (kind == QLatin1String("passwordReminder"))
        return RequestBuilder::passwordReminderBody(document, fields.value("Username"));
    if (kind == QLatin1String("feedback"))
        return RequestBuilder::feedbackBody(document, fields.value("Comment"), fields.value("Type"));
    if (kind == QLatin1String("exerciseQuery"))
        return RequestBuilder::exerciseQueryBody(document, fields);
    return RequestBuilder::lessonQueryBody(document, fields);
}

} // namespace

void TestMessages::envelopeHeader()
{
    QSettings settings;
    settings.setValue(SettingsKeys::LocalIps, QStringLiteral("pc1,10.0.0.5"));
    settings.setValue(SettingsKeys::XmlVersion, QStringLiteral("1.3"));
    settings.setValue(SettingsKeys::InternalVersion, QStringLiteral("77"));
    settings.setValue(SettingsKeys::DatabaseVersion, QStringLiteral("2"));

    QDomDocument document;
    const QDomElement header = MessageEnvelope::header(document, QStringLiteral("login"), true);
    QStringList names;
    QStringList values;
    for (QDomElement e = header.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        names << e.tagName();
        values << e.text();
    }
    QCOMPARE(names, (QStringList{"from", "to", "type", "xmlVersion", "uiVersion", "dbVersion"}));
    QVERIFY2(QRegularExpression(QStringLiteral("^pc1,10\\.0\\.0\\.5\\|\\d\\d\\.\\d\\d\\.\\d{4}\\|\\d\\d:\\d\\d$"))
                 .match(values.at(0))
                 .hasMatch(),
             qPrintable(values.at(0)));
    QCOMPARE(values.mid(1), (QStringList{"not-impelented", "login", "1.3", "77", "2"}));

    // Without the addresses the origin starts with its separator; without versions, three elements.
    settings.remove(SettingsKeys::LocalIps);
    const QDomElement bare = MessageEnvelope::header(document, QStringLiteral("feedback"), false);
    QVERIFY(bare.firstChildElement(QStringLiteral("from")).text().startsWith(QLatin1Char('|')));
    QVERIFY(bare.firstChildElement(QStringLiteral("xmlVersion")).isNull());
    QCOMPARE(bare.childNodes().count(), 3);
}

void TestMessages::leafElements_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("asCdata");
    QTest::addColumn<bool>("verbatim");
    QTest::addColumn<QString>("expected");

    const QString name = QStringLiteral("  Ann   [Marie]\n");
    QTest::newRow("text folds blanks, keeps brackets") << name << false << false << "<v>Ann [Marie]</v>";
    QTest::newRow("cdata drops brackets") << name << true << false << "<v><![CDATA[Ann Marie]]></v>";
    QTest::newRow("verbatim keeps every blank") << name << true << true << "<v><![CDATA[  Ann   Marie\n]]></v>";
    QTest::newRow("verbatim needs cdata") << name << false << true << "<v>Ann [Marie]</v>";
    QTest::newRow("markup in text is escaped") << "a<b&c" << false << false << "<v>a&lt;b&amp;c</v>";
    QTest::newRow("end of cdata cannot close it") << "x]]>y" << true << false << "<v><![CDATA[x>y]]></v>";
    QTest::newRow("empty cdata") << "" << true << false << "<v><![CDATA[]]></v>";
}

void TestMessages::leafElements()
{
    QFETCH(QString, value);
    QFETCH(bool, asCdata);
    QFETCH(bool, verbatim);
    QFETCH(QString, expected);
    QDomDocument document;
    QCOMPARE(compact(MessageEnvelope::verbatimElement(document, QStringLiteral("v"), value, asCdata, verbatim)),
             expected);
    if (!verbatim)
        QCOMPARE(compact(MessageEnvelope::textElement(document, QStringLiteral("v"), value, asCdata)), expected);
}

void TestMessages::requestBodies_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Table>("fields");
    QTest::addColumn<QString>("expected");

    QTest::newRow("login keeps credentials as typed")
        << "login" << Table{{"Username", "anna_b"}, {"Password", " p  [w] "}}
        << "<login><username><![CDATA[anna_b]]></username><password><![CDATA[ p  [w] ]]></password></login>";
    QTest::newRow("password reminder") << "passwordReminder" << Table{{"Username", "anna_b"}}
                                       << "<passwordReminder><username><![CDATA[anna_b]]></username></passwordReminder>";
    QTest::newRow("feedback comment on one line")
        << "feedback" << Table{{"Comment", "  It  [works]\nwell "}, {"Type", "2"}}
        << "<feedback type=\"2\"><comment><![CDATA[It works well]]></comment></feedback>";
    QTest::newRow("exercise query keeps the term's blanks")
        << "exerciseQuery" << Table{{"Term", "  a  [x] "}, {"LanguageID", "fra"}, {"PageNum", "2"}}
        << "<exerciseQuery><term><![CDATA[  a  x ]]></term>" + queryTail("fra", "2") + "</exerciseQuery>";
    QTest::newRow("lesson query has no term")
        << "lessonQuery"
        << Table{{"Term", "ignored"}, {"Title", " My   [title] "}, {"LanguageID", "deu"}, {"PageNum", "1"}}
        << "<lessonQuery><title><![CDATA[My title]]></title><description><![CDATA[]]></description>"
               + queryTail("deu", "1") + "</lessonQuery>";

    const QString fluency = QStringLiteral(
        "<fluency><languageID>fra</languageID><fluencyID></fluencyID><countryID></countryID>"
        "<provState><![CDATA[IDF]]></provState><locality><![CDATA[]]></locality>"
        "<localeDescriptor><![CDATA[]]></localeDescriptor><nonSpeaking>%1</nonSpeaking></fluency>");
    const Table person{{"Username", "anna_b"}, {"Password", "secret1"}, {"FirstName", "  Ann  "},
                       {"LastName", "B"},      {"Email", "a@b.cd"},     {"FLanguage1", "fra"},
                       {"FStateProv1", "IDF"}, {"FNonSpeaking1", "1"},  {"FIsStudying1", "0"},
                       {"FLanguage3", "deu"}};
    QTest::newRow("register: fluencies end at the first gap")
        << "register" << person
        << "<register><general><username><![CDATA[anna_b]]></username><password><![CDATA[secret1]]></password>"
           "<given><![CDATA[Ann]]></given><family><![CDATA[B]]></family><email><![CDATA[a@b.cd]]></email>"
           "<countryID></countryID><provState><![CDATA[]]></provState><passwordQuestion><![CDATA[]]></passwordQuestion>"
           "<passwordAnswer><![CDATA[]]></passwordAnswer></general>"
               + fluency.arg("1") + "</register>";
    QTest::newRow("fluency update: studying, not speaking")
        << "updateFluency" << person
        << "<updateFluency><general><username><![CDATA[anna_b]]></username><password><![CDATA[secret1]]></password>"
           "</general>"
               + fluency.arg("0") + "</updateFluency>";
    QTest::newRow("register without fluencies")
        << "register" << Table{{"Username", "u"}, {"FLanguage2", "fra"}}
        << "<register><general><username><![CDATA[u]]></username><password><![CDATA[]]></password>"
           "<given><![CDATA[]]></given><family><![CDATA[]]></family><email><![CDATA[]]></email>"
           "<countryID></countryID><provState><![CDATA[]]></provState><passwordQuestion><![CDATA[]]></passwordQuestion>"
           "<passwordAnswer><![CDATA[]]></passwordAnswer></general></register>";
}

void TestMessages::requestBodies()
{
    QFETCH(QString, kind);
    QFETCH(Table, fields);
    QFETCH(QString, expected);
    QDomDocument document;
    QCOMPARE(compact(buildBody(document, kind, fields)), expected);
}

void TestMessages::requestMessages_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("declared");

    const Table fields{{"Username", "anna_b"}, {"Password", "secret1"}, {"Term", "chat"}};
    const RequestBuilder builder;
    QTest::newRow("register") << "register" << builder.registerMessage(fields) << true;
    QTest::newRow("updateFluency") << "updateFluency" << builder.updateFluencyMessage(fields) << true;
    QTest::newRow("login") << "login" << RequestBuilder::loginMessage("anna_b", "secret1") << true;
    QTest::newRow("passwordReminder") << "passwordReminder" << RequestBuilder::passwordReminderMessage("anna_b")
                                      << true;
    QTest::newRow("feedback") << "feedback" << RequestBuilder::feedbackMessage("hello", "1") << true;
    QTest::newRow("exerciseQuery") << "exerciseQuery" << RequestBuilder::exerciseQueryMessage(fields) << true;
    QTest::newRow("lessonQuery") << "lessonQuery" << RequestBuilder::lessonQueryMessage(fields) << false;
}

void TestMessages::requestMessages()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    QFETCH(bool, declared);
    QCOMPARE(text.startsWith(MessageEnvelope::Declaration), declared);
    QVERIFY(text.startsWith(declared ? QStringLiteral("<?xml") : QStringLiteral("<message>")));
    QDomDocument document;
    QVERIFY(document.setContent(text));
    const QDomElement message = document.documentElement();
    QCOMPARE(message.tagName(), QStringLiteral("message"));
    QStringList children;
    for (QDomElement e = message.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        children << e.tagName();
    QCOMPARE(children, (QStringList{"header", "body"}));
    QCOMPARE(message.firstChildElement("header").firstChildElement("type").text(), type);
    const QDomElement body = message.firstChildElement("body");
    QCOMPARE(body.childNodes().count(), 1);
    QCOMPARE(body.firstChildElement().tagName(), type);
}

void TestMessages::uploadMessageWrapsManifest_data()
{
    QTest::addColumn<QString>("manifest");
    QTest::addColumn<QString>("expectedBody");

    QTest::newRow("manifest goes in whole")
        << "<lesson numChildren=\"1\"><manifest a=\"1\"/></lesson>"
        << "<body><uploadLesson><lesson numChildren=\"1\"><manifest a=\"1\"/></lesson></uploadLesson></body>";
    QTest::newRow("unreadable manifest leaves it empty") << "<lesson>"
                                                         << "<body><uploadLesson/></body>";
}

void TestMessages::uploadMessageWrapsManifest()
{
    QFETCH(QString, manifest);
    QFETCH(QString, expectedBody);
    const QString text = RequestBuilder::uploadMessage(manifest, UploadReply::LessonKind);
    QVERIFY(text.startsWith(MessageEnvelope::Declaration));
    QDomDocument document;
    QVERIFY(document.setContent(text));
    QCOMPARE(document.documentElement().firstChildElement("header").firstChildElement("type").text(),
             UploadReply::LessonKind);
    QCOMPARE(compact(document.documentElement().firstChildElement("body")), expectedBody);
}

// Text the learner types with characters XML cannot hold: every message
// still reads as XML, keeps the rest of the text and drops those characters.
void TestMessages::sentTextIsXml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    const QString typed = QStringLiteral("chat\x01 noir\x0B!\uFFFE");
    const Table withTerm{
        {"Term", typed}, {"Title", typed}, {"Description", typed}, {"LanguageID", "fra"}, {"PageNum", "1"}};
    const RequestBuilder builder;
    QTest::newRow("feedback") << RequestBuilder::feedbackMessage(typed, "1") << "chat noir!";
    QTest::newRow("exercise search term") << RequestBuilder::exerciseQueryMessage(withTerm) << "chat noir!";
    QTest::newRow("lesson search title") << RequestBuilder::lessonQueryMessage(withTerm) << "chat noir!";
    QTest::newRow("name at registration")
        << builder.registerMessage({{"Username", "anna_b"}, {"FirstName", typed}}) << "chat noir!";
    QTest::newRow("field value of an upload")
        << RequestBuilder::uploadMessage(QStringLiteral("<exercise><kvps><kvp><kvpValue><![CDATA[%1]]></kvpValue>"
                                                        "</kvp></kvps></exercise>")
                                             .arg(typed),
                                         UploadReply::ExerciseKind)
        << "chat noir!";
}

void TestMessages::sentTextIsXml()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    BoundedXml::Error error;
    QVERIFY2(BoundedXml::check(text, &error), qPrintable(error.message));
    QVERIFY(ContentGate::isXmlText(text));
    QVERIFY2(text.contains(kept), qPrintable(text));
}

// ------------------------------------------------------------------ replies

namespace {

QString reply(const QString& status, const QString& body = QString())
{
    return QStringLiteral("<message><header><status>%1</status></header><body>%2</body></message>").arg(status, body);
}

QString loginAnswer(const QString& status, const QString& username, int fluencies = 0)
{
    QString fluencyText;
    for (int i = 0; i < fluencies; ++i)
        fluencyText += QStringLiteral("<fluency><languageID>fra</languageID><localeDescriptor>d%1</localeDescriptor>"
                                      "<fluencyID>1</fluencyID><countryID>FR</countryID><provState>p%1</provState>"
                                      "<locality>l%1</locality><nonSpeaking>%2</nonSpeaking></fluency>")
                           .arg(i)
                           .arg(i % 2);
    return reply(status, QStringLiteral("<loginReply><user><general><userID>17</userID><username>%1</username>"
                                        "<password>secret1</password><given>Anna</given></general>%2</user>"
                                        "<error_description>wrong</error_description></loginReply>")
                             .arg(username, fluencyText));
}

QString exerciseElement(const QString& id, const QString& term)
{
    return QStringLiteral("<exercise><manifest persistentManifestID=\"%1\" suppliedByUserName=\"anna_b\"/>"
                          "<term><textual_manifest><manifestValue>%2</manifestValue></textual_manifest></term>"
                          "</exercise>")
        .arg(id, term);
}

QString lessonElement(const QStringList& sequence)
{
    QString members;
    for (int i = 0; i < sequence.size(); ++i)
        members +=
            QStringLiteral("<exercise sequenceNb=\"%1\" persistentManifestID=\"E-%2\"/>").arg(sequence.at(i)).arg(i);
    return QStringLiteral("<lesson><manifest persistentManifestID=\"L-1\"/><exercises>%1</exercises></lesson>")
        .arg(members);
}

} // namespace

void TestMessages::replyStates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNull");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("isEmpty");
    QTest::addColumn<QString>("status");

    const int noAnswer = int(PeerReply::State::NoAnswer);
    const int unreadable = int(PeerReply::State::Unreadable);
    const int pastLimit = int(PeerReply::State::PastLimit);
    const int read = int(PeerReply::State::Read);
    QTest::newRow("no answer") << QString() << true << noAnswer << true << "";
    QTest::newRow("empty answer") << "" << false << unreadable << true << "";
    QTest::newRow("badly nested") << "<message><header><status>1</header></status></message>" << false << unreadable
                                  << false << "";
    QTest::newRow("entity declared")
        << "<!DOCTYPE m [<!ENTITY s \"1\">]><message><header><status>&s;</status></header></message>" << false
        << unreadable << false << "";
    QTest::newRow("client stopped reading") << PeerReply::TooLarge << false << pastLimit << false << "";
    QTest::newRow("nested past the limit")
        << "<message><header><status>1</status></header>" + nested(BoundedXml::MaxDepth, "b") + "</message>" << false
        << pastLimit << false << "";
    QTest::newRow("well-formed") << reply("1") << false << read << false << "1";
    QTest::newRow("names in any case, status trimmed")
        << "<Message><HEADER><Status> -1 </Status></HEADER></Message>" << false << read << false << "-1";
    QTest::newRow("markup inside text stays text")
        << reply("<![CDATA[<status>1</status>]]>") << false << read << false << "<status>1</status>";
}

void TestMessages::replyStates()
{
    QFETCH(QString, text);
    QFETCH(bool, isNull);
    QFETCH(int, state);
    QFETCH(bool, isEmpty);
    QFETCH(QString, status);
    if (!isNull && state != int(PeerReply::State::Read))
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^setContent error: ")));
    const PeerReply answer(text, isNull);
    QCOMPARE(int(answer.state()), state);
    QCOMPARE(answer.isEmpty(), isEmpty);
    QCOMPARE(answer.status(), status);
    // A reply not read yields nothing, by path or by element.
    if (!answer.isRead()) {
        QVERIFY(answer.paths().entries().isEmpty());
        QVERIFY(answer.elements({QStringLiteral("header")}, QStringLiteral("status")).isEmpty());
    }
}

void TestMessages::accountAnswers_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("networkDown");

    const QString garbage = QStringLiteral("<message><header>");
    QTest::newRow("register: accepted") << "register" << reply("1") << 1 << false;
    QTest::newRow("register: name taken") << "register" << reply("-1") << -1 << false;
    QTest::newRow("register: too many") << "register" << reply("-4") << int(INetManager::TooManyRequests) << false;
    QTest::newRow("register: other status") << "register" << reply("7") << 7 << true;
    QTest::newRow("register: no status") << "register" << reply("") << 0 << true;
    QTest::newRow("register: unreadable") << "register" << garbage << 0 << true;
    QTest::newRow("reminder: sent") << "reminder" << reply("1") << 1 << false;
    QTest::newRow("reminder: refused") << "reminder" << reply("-1") << -1 << false;
    QTest::newRow("reminder: no mail server")
        << "reminder" << reply("-2") << int(AccountReply::ReminderNotAvailable) << false;
    QTest::newRow("reminder: too many") << "reminder" << reply("-4") << int(AccountReply::ReminderTooMany) << false;
    QTest::newRow("reminder: no answer") << "reminder" << garbage << 0 << true;
    QTest::newRow("fluency: accepted") << "fluency" << reply("1") << 1 << false;
    QTest::newRow("fluency: refused") << "fluency" << reply("-1") << 0 << false;
    QTest::newRow("fluency: no answer") << "fluency" << reply("0") << -1 << true;
    QTest::newRow("feedback: accepted") << "feedback" << reply("1") << 1 << false;
    QTest::newRow("feedback: refused") << "feedback" << reply("-1") << 0 << false;
    QTest::newRow("feedback: no answer") << "feedback" << garbage << -1 << false;
}

void TestMessages::accountAnswers()
{
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(bool, networkDown);
    const PeerReply answer(text);
    AccountReply::Outcome outcome;
    if (operation == QLatin1String("register"))
        outcome = AccountReply::registration(answer);
    else if (operation == QLatin1String("reminder"))
        outcome = AccountReply::passwordReminder(answer);
    else if (operation == QLatin1String("fluency"))
        outcome = AccountReply::fluencyUpdate(answer);
    else
        outcome = {AccountReply::feedback(answer), false};
    QCOMPARE(outcome.result, result);
    QCOMPARE(outcome.networkDown, networkDown);
}

void TestMessages::loginAnswers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("username");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<bool>("networkDown");
    QTest::addColumn<QString>("registered");

    QTest::newRow("accepted") << loginAnswer("1", "anna_b") << "anna_b" << 1 << true << false << "anna_b";
    QTest::newRow("accepted, newer program")
        << loginAnswer("0", "anna_b") << "anna_b" << 0 << true << false << "anna_b";
    QTest::newRow("registered in other case")
        << loginAnswer("1", "Anna_B") << "anna_b" << 1 << true << false << "Anna_B";
    QTest::newRow("reply names another user") << loginAnswer("1", "bob") << "anna_b" << 3 << false << false << "";
    // The Kelvin sign folds to "k": equal in any case, but no accepted name.
    QTest::newRow("name outside the accepted characters")
        << loginAnswer("1", QString(QChar(0x212A)) + "im") << "kim" << 3 << false << false << "";
    QTest::newRow("wrong password") << loginAnswer("-1", "") << "anna_b" << 2 << false << false << "";
    QTest::newRow("version refused") << loginAnswer("-2", "") << "anna_b" << -2 << false << false << "";
    QTest::newRow("too many") << loginAnswer("-4", "") << "anna_b" << int(INetManager::TooManyRequests) << false
                              << false << "";
    QTest::newRow("other status") << loginAnswer("9", "anna_b") << "anna_b" << 3 << false << true << "";
    QTest::newRow("unreadable") << "<message>"
                                << "anna_b" << 3 << false << true << "";
}

void TestMessages::loginAnswers()
{
    QFETCH(QString, text);
    QFETCH(QString, username);
    QFETCH(int, result);
    QFETCH(bool, signedIn);
    QFETCH(bool, networkDown);
    QFETCH(QString, registered);
    const AccountReply::Login login = AccountReply::login(PeerReply(text), username);
    QCOMPARE(login.result, result);
    QCOMPARE(login.signedIn, signedIn);
    QCOMPARE(login.networkDown, networkDown);
    QCOMPARE(login.registeredName, registered);
}

void TestMessages::loginUserFields_data()
{
    QTest::addColumn<int>("fluencies");
    QTest::newRow("none") << 0;
    QTest::newRow("one, plain paths") << 1;
    QTest::newRow("three, numbered paths") << 3;
}

void TestMessages::loginUserFields()
{
    QFETCH(int, fluencies);
    const ZoDbHelper lookup;
    const Table fields = AccountReply::userFields(PeerReply(loginAnswer("1", "anna_b", fluencies)), lookup);
    QCOMPARE(fields.size(), 11 + 7 * fluencies);
    QCOMPARE(fields.value("Id"), QStringLiteral("17"));
    QCOMPARE(fields.value("Username"), QStringLiteral("anna_b"));
    QCOMPARE(fields.value("FirstName"), QStringLiteral("Anna"));
    for (int i = 0; i < fluencies; ++i) {
        const QString n = QString::number(i + 1);
        QCOMPARE(fields.value("FLocaleDesc" + n), QStringLiteral("d%1").arg(i));
        QCOMPARE(fields.value("FLocality" + n), QStringLiteral("l%1").arg(i));
        QCOMPARE(fields.value("FNonSpeaking" + n), QString::number(i % 2));
        QVERIFY(!fields.value("FLanguage" + n).isEmpty());
    }
    QVERIFY(!fields.contains("FLanguage" + QString::number(fluencies + 1)));
}

void TestMessages::exerciseSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNull");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<int>("total");

    const int untouched = 99;
    const QString two = exerciseElement("E-1", "chat") + exerciseElement("E-2", "chien");
    auto answer = [](const QString& status, const QString& inner) {
        return reply(status, QStringLiteral("<exerciseQueryReply>%1</exerciseQueryReply>").arg(inner));
    };
    QTest::newRow("no answer") << QString() << true << 0 << QStringList() << untouched;
    QTest::newRow("empty answer") << "" << false << -1 << QStringList() << untouched;
    QTest::newRow("refused") << answer("-1", two + "<error_description>no</error_description>") << false << 0
                             << QStringList() << untouched;
    QTest::newRow("nothing found") << answer("1", "<total_result_available>4</total_result_available>") << false << 2
                                   << QStringList() << untouched;
    QTest::newRow("two found") << answer("1", two + "<total_result_available>5</total_result_available>") << false << 1
                               << QStringList{"chat", "chien"} << 5;
    QTest::newRow("exercise outside the reply is no result")
        << reply("1", two) << false << 2 << QStringList() << untouched;
    QTest::newRow("total below zero counts nothing")
        << answer("1", two + "<total_result_available>-3</total_result_available>") << false << 1
        << QStringList{"chat", "chien"} << 0;
    QTest::newRow("more results than a page holds")
        << answer("1", exerciseElement("E", "x").repeated(ContentGate::MaxResultRows + 1)) << false
        << int(INetManager::ReplyPastLimit) << QStringList() << untouched;
    QTest::newRow("client stopped reading")
        << PeerReply::TooLarge << false << int(INetManager::ReplyPastLimit) << QStringList() << untouched;
}

void TestMessages::exerciseSearch()
{
    QFETCH(QString, text);
    QFETCH(bool, isNull);
    QFETCH(int, status);
    QFETCH(QStringList, terms);
    QFETCH(int, total);
    if (!isNull && (text.isEmpty() || text == PeerReply::TooLarge))
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^setContent error: ")));
    const ZoDbHelper lookup;
    int gotStatus = 42;
    int gotTotal = 99;
    const QList<ZoExercise> found = SearchReply::exercises(PeerReply(text, isNull), lookup, &gotStatus, &gotTotal);
    QCOMPARE(gotStatus, status);
    QCOMPARE(gotTotal, total);
    QStringList gotTerms;
    for (const ZoExercise& exercise : found) {
        gotTerms << exercise.term();
        QCOMPARE(exercise.mediaPath(), QStringLiteral("Content"));
        QCOMPARE(exercise.id(), QStringLiteral("0"));
        QCOMPARE(exercise.creator(), QStringLiteral("anna_b"));
    }
    QCOMPARE(gotTerms, terms);
}

void TestMessages::lessonSearch_data()
{
    QTest::addColumn<QString>("lessons");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("members");

    QTest::newRow("one member") << lessonElement({"1"}) << 1 << QList<int>{1};
    QTest::newRow("members in order") << lessonElement({"2", "1", "3"}) << 1 << QList<int>{3};
    QTest::newRow("repeated numbers drop the lesson")
        << lessonElement({"1", "1"}) + lessonElement({"1"}) << 1 << QList<int>{1};
    QTest::newRow("number out of range drops it") << lessonElement({"1", "5"}) << 1 << QList<int>();
    QTest::newRow("number not a number drops it") << lessonElement({"1", "x"}) << 1 << QList<int>();
    QTest::newRow("lesson without members stays") << lessonElement({}) << 1 << QList<int>{0};
    QStringList many;
    for (int i = 1; i <= ContentGate::MaxLessonMembers + 1; ++i)
        many << QString::number(i);
    QTest::newRow("more members than a lesson holds refuses all")
        << lessonElement({"1"}) + lessonElement(many) << int(INetManager::ReplyPastLimit) << QList<int>();
}

void TestMessages::lessonSearch()
{
    QFETCH(QString, lessons);
    QFETCH(int, status);
    QFETCH(QList<int>, members);
    int gotStatus = 42;
    int total = 99;
    const QList<ZoLesson> found =
        SearchReply::lessons(PeerReply(reply("1", "<lessonQueryReply>" + lessons
                                                      + "<total_result_available>7</total_result_available>"
                                                        "</lessonQueryReply>")),
                             &gotStatus, &total);
    QCOMPARE(gotStatus, status);
    QCOMPARE(total, status == 1 ? 7 : 0);
    QList<int> gotMembers;
    for (const ZoLesson& lesson : found) {
        gotMembers << int(lesson.persistentExerciseIds().size());
        QCOMPARE(lesson.pId(), QStringLiteral("L-1"));
    }
    QCOMPARE(gotMembers, members);
}

void TestMessages::uploadAnswers_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Table>("expected");

    const QString ids = QStringLiteral("<exercise persistentManifestID=\"E-9\"/><term persistentManifestID=\"T-9\"/>"
                                       "<media persistentManifestID=\"M-9\"/>");
    QTest::newRow("lesson accepted")
        << "uploadLesson" << reply("1", "<uploadLessonReply><lesson persistentManifestID=\"L-9\"/></uploadLessonReply>")
        << Table{{"PId", "L-9"}};
    QTest::newRow("translation accepted")
        << "uploadTranslation"
        << reply("1", "<uploadTranslationReply><translation persistentManifestID=\"R-9\"/></uploadTranslationReply>")
        << Table{{"PId", "R-9"}};
    QTest::newRow("lesson refused in its own reply")
        << "uploadLesson"
        << reply("-1", "<uploadLessonReply><error_description>late</error_description></uploadLessonReply>")
        << Table{{"Error", "late"}};
    QTest::newRow("lesson refused in an exercise reply")
        << "uploadLesson"
        << reply("-1", "<uploadExerciseReply><error_description>busy</error_description></uploadExerciseReply>")
        << Table{{"Error", "busy"}};
    QTest::newRow("exercise with sound accepted")
        << "sound" << reply("1", "<uploadExerciseReply>" + ids + "</uploadExerciseReply>")
        << Table{{"PId", "E-9"}, {"PersistentTermId", "T-9"}, {"PersistentMediaId", "M-9"}};
    QTest::newRow("exercise without sound accepted")
        << "silent" << reply("1", "<uploadExerciseReply>" + ids + "</uploadExerciseReply>")
        << Table{{"PId", "E-9"}, {"PersistentTermId", "T-9"}};
    QTest::newRow("exercise refused")
        << "sound"
        << reply("0",
                 "<uploadExerciseReply>" + ids + "<error_description>full</error_description></uploadExerciseReply>")
        << Table{{"Error", "full"}};
    QTest::newRow("unreadable reply") << "sound"
                                      << "<message>" << Table{{"Error", ""}};
}

void TestMessages::uploadAnswers()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(Table, expected);
    const PeerReply answer(text);
    if (kind == QLatin1String("sound") || kind == QLatin1String("silent"))
        QCOMPARE(UploadReply::exercise(answer, kind == QLatin1String("sound")), expected);
    else
        QCOMPARE(UploadReply::manifest(answer, kind), expected);
}

void TestMessages::translationDownload_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("exerciseIds");
    QTest::addColumn<QStringList>("translationIds");

    auto translation = [](const QString& id, const QString& first, const QString& second) {
        return QStringLiteral("<translation><manifest persistentManifestID=\"%1\"/><exercises>"
                              "<exercise persistentManifestID=\"%2\"/><exercise persistentManifestID=\"%3\"/>"
                              "</exercises></translation>")
            .arg(id, first, second);
    };
    auto download = [](const QString& inner) {
        return reply("1", QStringLiteral("<downloadTranslation>%1</downloadTranslation>").arg(inner));
    };
    QTest::newRow("unreadable") << "<message>"
                                << "setContent failed" << QStringList() << QStringList();
    QTest::newRow("past a limit") << PeerReply::TooLarge << "setContent failed" << QStringList() << QStringList();
    QTest::newRow("no translations")
        << reply("-1", "<downloadTranslation><error_description>none</error_description></downloadTranslation>")
        << "ExerciseHasNoTranslations" << QStringList() << QStringList();
    QTest::newRow("exercise outside the reply")
        << reply("1", exerciseElement("E-1", "chat")) << "OK" << QStringList() << QStringList();
    QTest::newRow("translation with its exercise")
        << download(exerciseElement("E-1", "chat") + translation("R-1", "E-1", "E-7")) << "OK" << QStringList{"E-1"}
        << QStringList{"R-1"};
    QTest::newRow("translation naming no exercise of the reply")
        << download(exerciseElement("E-1", "chat") + translation("R-1", "E-5", "E-7")) << "OK" << QStringList()
        << QStringList();
    QTest::newRow("each exercise goes out once") << download(
        exerciseElement("E-1", "chat") + translation("R-1", "E-1", "E-7") + translation("R-2", "E-1", "E-8"))
                                                 << "OK" << QStringList{"E-1"} << QStringList{"R-1"};
    // Exercises of one id are taken in reply order; a translation takes the
    // first of the reply among those it names.
    QTest::newRow("the first free exercise of the reply")
        << download(exerciseElement("E-1", "a") + exerciseElement("E-2", "b") + exerciseElement("E-1", "c")
                    + translation("R-1", "E-2", "E-1") + translation("R-2", "E-2", "E-9")
                    + translation("R-3", "E-1", "E-2") + translation("R-4", "E-1", "E-2"))
        << "OK" << QStringList{"E-1", "E-2", "E-1"} << QStringList{"R-1", "R-2", "R-3"};
    const int limit = ContentGate::MaxResultRows;
    QTest::newRow("exercises at the row limit")
        << download(exerciseElement("E-1", "a").repeated(limit) + translation("R-1", "E-5", "E-1")) << "OK"
        << QStringList{"E-1"} << QStringList{"R-1"};
    QTest::newRow("exercises past the row limit")
        << download(exerciseElement("E-1", "a").repeated(limit + 1) + translation("R-1", "E-5", "E-1"))
        << "setContent failed" << QStringList() << QStringList();
    QTest::newRow("translations past the row limit")
        << download(exerciseElement("E-1", "a") + translation("R-1", "E-5", "E-1").repeated(limit + 1))
        << "setContent failed" << QStringList() << QStringList();
}

void TestMessages::translationDownload()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QFETCH(QStringList, exerciseIds);
    QFETCH(QStringList, translationIds);
    if (result == QLatin1String("setContent failed"))
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral("^(setContent error: |refused translations: )")));
    const ZoDbHelper lookup;
    QList<ZoTranslation> translations;
    QList<ZoExercise> exercises;
    QCOMPARE(ManifestReader::translations(text, lookup, &translations, &exercises), result);
    QStringList gotExercises;
    for (const ZoExercise& exercise : exercises)
        gotExercises << exercise.pId();
    QStringList gotTranslations;
    for (const ZoTranslation& translation : translations)
        gotTranslations << translation.pId();
    QCOMPARE(gotExercises, exerciseIds);
    QCOMPARE(gotTranslations, translationIds);
}

// The copy handed on for the store keeps who made the translation.
void TestMessages::translationDownloadKeepsItsCreator()
{
    const QString text = reply(
        "1", QStringLiteral("<downloadTranslation>%1<translation><manifest persistentManifestID=\"R-1\" "
                            "suppliedByUserID=\"u42\"/><exercises><exercise persistentManifestID=\"E-1\"/>"
                            "<exercise persistentManifestID=\"E-2\"/></exercises></translation></downloadTranslation>")
                 .arg(exerciseElement("E-1", "chat")));
    const ZoDbHelper lookup;
    QList<ZoTranslation> translations;
    QCOMPARE(ManifestReader::translations(text, lookup, &translations, nullptr), QStringLiteral("OK"));
    QCOMPARE(translations.size(), 1);
    QCOMPARE(translations.first().userId(), QStringLiteral("u42"));
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
