#include "ManifestTemplate.h"
#include "ResourceDoubles.h"
#include "StoreRows.h"
#include "TestDatabase.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QDomDocument>
#include <QtTest>

#include <memory>

using StringHash = QHash<QString, QString>;

namespace {

// A text form of a node in which attribute order does not show but the kind
// of every character-data node (text or CDATA) does.
QString canonical(const QDomNode& node)
{
    if (node.isCDATASection())
        return QStringLiteral("C[") + node.nodeValue() + QLatin1Char(']');
    if (node.isText())
        return QStringLiteral("T[") + node.nodeValue() + QLatin1Char(']');
    if (!node.isElement())
        return QStringLiteral("?") + node.nodeName();
    const QDomElement element = node.toElement();
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i)
        attributes.append(map.item(i).nodeName() + QLatin1Char('=') + map.item(i).nodeValue());
    attributes.sort();
    QString out = QLatin1Char('<') + element.tagName();
    if (!attributes.isEmpty())
        out += QLatin1Char(' ') + attributes.join(QLatin1Char(' '));
    out += QLatin1Char('>');
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
        out += canonical(child);
    return out + QStringLiteral("</") + element.tagName() + QLatin1Char('>');
}

QString canonicalText(const QString& xml)
{
    QDomDocument document;
    const auto parsed = document.setContent(xml);
    if (!parsed)
        return QStringLiteral("not well-formed: ") + xml;
    return canonical(document.documentElement());
}

} // namespace

class TestManifestXml : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ResourceDoubles> mResources;
    std::unique_ptr<TestDatabase> mDb;

    // Exercise 1 with term 2 and sound 3, two key-value pairs, member of
    // translation group 100 with exercises 11 and 12; exercise 30 without
    // sound; lesson 50 with members 20, 21, 22.
    void storeFixture()
    {
        StoreRows rows;
        auto manifest = [&rows](int lmid, const QString& pmid, int type) {
            return rows.insert("m", {{"lmid", QString::number(lmid)},
                                     {"pmid", pmid},
                                     {"mtmtid", QString::number(type)},
                                     {"sbuid", "u-paul"},
                                     {"sbun", "paul"},
                                     {"dc", "1700000000"}});
        };
        QVERIFY(manifest(1, "0", 1));
        QVERIFY(rows.textual(1, 2, "", "fra"));
        QVERIFY(manifest(2, "P-2", 1));
        QVERIFY(rows.textual(2, 1, "a<b & c", "fra"));
        QVERIFY(manifest(3, "0", 2));
        QVERIFY(rows.insert("mm", {{"mlmid", "3"},
                                   {"mmtmmtid", "1"},
                                   {"mmfn", "chat.wav"},
                                   {"mmf", "Wav"},
                                   {"mmp", "Content"},
                                   {"v", "marie"},
                                   {"cccid", "FR"},
                                   {"lclid", "fra"},
                                   {"sp", "Île"},
                                   {"l", "Paris"},
                                   {"ld", "Parisian <accent>"},
                                   {"flflid", "4"}}));
        QVERIFY(rows.relation(1, 2, 2));
        QVERIFY(rows.relation(1, 3, 2));
        QVERIFY(rows.kvp(1, 1, 1, "cat", "eng"));
        QVERIFY(rows.kvp(2, 1, 3, "note ]]> x", ""));

        QVERIFY(manifest(100, "T-100", 1));
        QVERIFY(rows.textual(100, 7, "", "eng"));
        QVERIFY(rows.kvp(3, 100, 2, "ctx", "eng"));
        QVERIFY(manifest(11, "P-11", 1));
        QVERIFY(manifest(12, "P-12", 1));
        QVERIFY(rows.relation(100, 1, 7));
        QVERIFY(rows.relation(100, 11, 7));
        QVERIFY(rows.relation(100, 12, 7));

        QVERIFY(manifest(30, "0", 1));
        QVERIFY(rows.textual(30, 2, "", "deu"));

        QVERIFY(manifest(50, "0", 1));
        QVERIFY(rows.insert("tm", {{"mlmid", "50"},
                                   {"tmttmtid", "3"},
                                   {"mt", "Pets & <Animals>"},
                                   {"md", "desc"},
                                   {"lclid", "fra"},
                                   {"llllid", "2"}}));
        for (int id : {20, 21, 22})
            QVERIFY(manifest(id, QStringLiteral("P-%1").arg(id), 1));
        QVERIFY(rows.relation(50, 21, 3, 2));
        QVERIFY(rows.relation(50, 22, 3, 0));
        QVERIFY(rows.relation(50, 20, 3, 1));
    }

    static ZoExercise exercise(const QString& id, const QString& termId, const QString& mediaId)
    {
        ZoExercise e;
        e.setId(id);
        e.setTermId(termId);
        e.setMediaId(mediaId);
        return e;
    }

private slots:
    void initTestCase()
    {
        // The store's debug lines are read below.
        QLoggingCategory::setFilterRules(QStringLiteral("vireda.store.debug=true"));
        mResources = std::make_unique<ResourceDoubles>();
        QVERIFY(mResources->isValid());
    }

    void init()
    {
        mDb = std::make_unique<TestDatabase>();
        QVERIFY(mDb->isValid());
        storeFixture();
    }

    void cleanup() { mDb.reset(); }

    void cleanupTestCase() { mResources.reset(); }

    void manifestElement_data()
    {
        QTest::addColumn<QString>("manifestTemplate");
        QTest::addColumn<StringHash>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three kinds") << "Aa=x,Nb=y,Cc=z" << StringHash{{"x", "1"}, {"y", "2"}, {"z", "<&"}}
                                     << "<e a='1'><b>2</b><c><![CDATA[<&]]></c></e>";
        QTest::newRow("empty and absent values") << "Aa=x,Nb=y,Cc=z" << StringHash{{"x", ""}, {"y", ""}} << "<e/>";
        QTest::newRow("unknown kind") << "Xa=x,Aq=x" << StringHash{{"x", "1"}} << "<e q='1'/>";
        QTest::newRow("items without column or name") << "Aa,Ab=x,,=x" << StringHash{{"x", "1"}} << "<e b='1'/>";
        QTest::newRow("children in template order")
            << "Nz=a,Ay=b,Nx=c" << StringHash{{"a", "1"}, {"b", "2"}, {"c", "3"}} << "<e y='2'><z>1</z><x>3</x></e>";
        QTest::newRow("columns are case-sensitive") << "Aa=X,Ab=x" << StringHash{{"x", "1"}} << "<e b='1'/>";
        QTest::newRow("markup in text") << "Nn=x" << StringHash{{"x", "<i>&amp;"}}
                                        << "<e><n>&lt;i&gt;&amp;amp;</n></e>";
        QTest::newRow("section end marker") << "Cc=x" << StringHash{{"x", "a]]>b"}} << "<e><c>a]]&gt;b</c></e>";
    }

    void manifestElement()
    {
        QFETCH(QString, manifestTemplate);
        QFETCH(StringHash, row);
        QFETCH(QString, expected);
        QDomDocument document;
        document.appendChild(ManifestTemplate::manifestElement(document, "e", manifestTemplate, row));
        QCOMPARE(canonicalText(document.toString(1)), canonicalText(expected));
    }

    void exerciseDocument_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("termId");
        QTest::addColumn<QString>("mediaId");
        QTest::addColumn<QString>("expected");
        const QString head = "<manifest localManifestID='1' persistentManifestID='0' suppliedByUserID='u-paul'"
                             " manifestTypeID='1'/>"
                             "<textual_manifest textualManifestTypeID='2'><langID>fra</langID></textual_manifest>"
                             "<term><manifest localManifestID='2' persistentManifestID='P-2'"
                             " suppliedByUserID='u-paul' manifestTypeID='1'/>"
                             "<textual_manifest textualManifestTypeID='1'>"
                             "<manifestValue><![CDATA[a<b & c]]></manifestValue><langID>fra</langID>"
                             "</textual_manifest></term>";
        const QString kvps = "<kvps><kvp kvpTypeID='1'><kvpValue><![CDATA[cat]]></kvpValue><langID>eng</langID>"
                             "</kvp><kvp kvpTypeID='3'><kvpValue>note ]]&gt; x</kvpValue></kvp></kvps>";
        QTest::newRow("stored exercise")
            << "1"
            << "2"
            << "3"
            << "<exercise>" + head
                   + "<media><manifest localManifestID='3' persistentManifestID='0' suppliedByUserID='u-paul'"
                     " manifestTypeID='2'/>"
                     "<media_manifest mediaManifestTypeID='1' fluencyLevelID='4'>"
                     "<mediaManifestFileName>chat.wav</mediaManifestFileName>"
                     "<mediaManifestFormat>Wav</mediaManifestFormat><voice>marie</voice><langID>fra</langID>"
                     "<localeDescriptor><![CDATA[Parisian <accent>]]></localeDescriptor><countryID>FR</countryID>"
                     "<stateProv><![CDATA[Île]]></stateProv><locality><![CDATA[Paris]]></locality>"
                     "</media_manifest></media>"
                   + kvps + "</exercise>";
        QTest::newRow("without sound") << "1"
                                       << "2"
                                       << ""
                                       << "<exercise>" + head + "<media><manifest/><media_manifest/></media>" + kvps
                                              + "</exercise>";
        QTest::newRow("nothing stored")
            << "99"
            << "98"
            << "97"
            << "<exercise><manifest/><textual_manifest/><term><manifest/><textual_manifest/></term>"
               "<media><manifest/><media_manifest/></media><kvps/></exercise>";
    }

    void exerciseDocument()
    {
        QFETCH(QString, id);
        QFETCH(QString, termId);
        QFETCH(QString, mediaId);
        QFETCH(QString, expected);
        const QString text = exercise(id, termId, mediaId).manifestXml();
        QCOMPARE(canonicalText(text), canonicalText(expected));
        QVERIFY2(text.startsWith("<exercise>\n <manifest"), qPrintable(text));
    }

    void translationDocuments_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QStringList>("expected");
        const QString group = "<Translation><manifest localManifestID='100' persistentManifestID='T-100'"
                              " suppliedByUserID='u-paul'/>"
                              "<textual_manifest textualManifestTypeID='7'><langID>eng</langID></textual_manifest>"
                              "%1"
                              "<kvps><kvp kvpTypeID='2'><kvpValue><![CDATA[ctx]]></kvpValue><langID>eng</langID>"
                              "</kvp></kvps></Translation>";
        QTest::newRow("group of three") << "1"
                                        << QStringList{group.arg(
                                               "<Exercise localManifestID='11' persistentManifestID='P-11'/>"
                                               "<Exercise localManifestID='12' persistentManifestID='P-12'/>")};
        QTest::newRow("seen from another member")
            << "12"
            << QStringList{group.arg("<Exercise localManifestID='1' persistentManifestID='0'/>"
                                     "<Exercise localManifestID='11' persistentManifestID='P-11'/>")};
        QTest::newRow("in no group") << "30" << QStringList();
    }

    void translationDocuments()
    {
        QFETCH(QString, id);
        QFETCH(QStringList, expected);
        for (int i = 0; i < expected.size(); ++i)
            QTest::ignoreMessage(QtDebugMsg, "*** Translation record ***");
        const QStringList documents = exercise(id, "", "").translationManifestsXml();
        QCOMPARE(documents.size(), expected.size());
        for (int i = 0; i < documents.size(); ++i)
            QCOMPARE(canonicalText(documents.at(i)), canonicalText(expected.at(i)));
    }

    void lessonDocument()
    {
        const QString expected =
            "<lesson numChildren='3'>"
            "<manifest localManifestID='50' persistentManifestID='0' suppliedByUserID='u-paul' manifestTypeID='1'>"
            "<dateCreated>1700000000</dateCreated></manifest>"
            "<textual_manifest textualManifestTypeID='3' learnerLevelID='2'>"
            "<manifestTitle><![CDATA[Pets & <Animals>]]></manifestTitle>"
            "<manifestDescription><![CDATA[desc]]></manifestDescription><langID>fra</langID></textual_manifest>"
            "<exercises><exercise sequenceNb='0' persistentManifestID='P-22'/>"
            "<exercise sequenceNb='1' persistentManifestID='P-20'/>"
            "<exercise sequenceNb='2' persistentManifestID='P-21'/></exercises>"
            "<kvps/></lesson>";
        const QString text = ZoLesson::manifestXml("50");
        QCOMPARE(canonicalText(text), canonicalText(expected));
        QVERIFY2(text.startsWith("<lesson numChildren=\"3\">\n <manifest"), qPrintable(text));
    }

    void kvpsFollowRowOrder()
    {
        StoreRows rows;
        QVERIFY(rows.kvp(9, 30, 1, "second", "eng"));
        QVERIFY(rows.kvp(4, 30, 3, "first", "fra"));
        QDomDocument document;
        document.appendChild(ManifestTemplate::kvpsElement(document, ZoDbHelper(), "30"));
        QCOMPARE(canonical(document.documentElement()),
                 canonicalText("<kvps><kvp kvpTypeID='3'><kvpValue><![CDATA[first]]></kvpValue><langID>fra</langID>"
                               "</kvp><kvp kvpTypeID='1'><kvpValue><![CDATA[second]]></kvpValue>"
                               "<langID>eng</langID></kvp></kvps>"));
    }
};

QTEST_MAIN(TestManifestXml)
#include "tst_manifestxml.moc"
