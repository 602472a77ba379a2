#include "BridgeRealClientTest.h"

#include "BridgeCases.h"
#include "StdCapture.h"
#include "TestSound.h"
#include "TestTree.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

QByteArray message(const QByteArray& type, const QByteArray& body)
{
    return kDeclaration + "<message><header><from>pc1|01.02.2024|10:00</from><to>not-impelented</to><type>" + type
           + "</type></header><body><" + type + ">" + body + "</" + type + "></body></message>";
}

QDomDocument parse(const QByteArray& reply)
{
    QDomDocument doc;
    doc.setContent(reply.startsWith("text:") ? reply.mid(5) : reply);
    return doc;
}

QString firstText(const QDomDocument& doc, const QString& tag)
{
    return doc.elementsByTagName(tag).item(0).toElement().text().trimmed();
}

bool waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done())
            return true;
        QThread::msleep(20);
    }
    return false;
}

// A WAV sound of bytes of every value: downloads keep WAV sounds only.
QByteArray soundBytes()
{
    QByteArray samples;
    for (int i = 0; i < 70000; ++i)
        samples.append(static_cast<char>((i * 131 + i / 7) & 0xFF));
    return TestSound::pcm8(samples);
}

} // namespace

BridgeRealClientTest::BridgeRealClientTest() = default;
BridgeRealClientTest::~BridgeRealClientTest() = default;

QByteArray BridgeRealClientTest::send(const QByteArray& exportName, const QByteArray& text, QByteArray* out)
{
    StdCapture capture;
    const QByteArray reply = mApi.call(exportName, {text});
    capture.finish();
    if (out)
        *out = capture.out();
    return reply;
}

void BridgeRealClientTest::initTestCase()
{
    QString error;
    QVERIFY2(mApi.load(&error), qPrintable(error));
    mTree = std::make_unique<TestTree>(TestTree::NoPlugins);
    QVERIFY(mTree->isValid());
    // The peer's data must be this test's own, whatever the built tree holds.
    QDir root(mTree->path());
    root.remove(QStringLiteral("PeerData"));
    root.remove(QStringLiteral("vireda-peer.properties"));
    QFile settings(root.filePath(QStringLiteral("vireda-peer.properties")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("peer.data=TestPeerData\n");
    settings.close();
    QVERIFY(QFile::exists(root.filePath(QStringLiteral("ViredaClientNetwork.jar"))));
    mTree->enter();
}

void BridgeRealClientTest::initAndServicesStart()
{
    StdCapture capture;
    const QByteArray init = mApi.call("init");
    capture.finish();
    QCOMPARE(init, QByteArray("1"));
    QCOMPARE(capture.out(), BridgeCases::initLines());
    QCOMPARE(capture.err(), QByteArray());
    StdCapture quiet;
    QByteArrayList results;
    for (const char* start :
         {"startViredaNet", "startMessagingService", "startQueryService", "startDownloadService", "startUploadService"})
        results << mApi.call(start);
    quiet.finish();
    QCOMPARE(results, QByteArrayList({"1", "1", "1", "1", "1"}));
    QVERIFY(QFile::exists(QStringLiteral("TestPeerData/peer.db")));
}

void BridgeRealClientTest::classArchiveMapped()
{
    // The virtual machine maps the build's archive only when it was made for
    // these jars and a class path that starts as the bridge's does.
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(maps.readAll().contains("/ViredaClientNetwork.jsa\n"));
}

void BridgeRealClientTest::accountMessages_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("status");
    const QByteArray general =
        "<general><username><![CDATA[Zoe.e2e]]></username><password><![CDATA[pässwörd]]></password>"
        "<given><![CDATA[Zoë]]></given><family/><email><![CDATA[z@example.org]]></email>"
        "<countryID>ES</countryID></general>";
    QTest::newRow("register") << message("register", general
                                                         + "<fluency><languageID>spa</languageID>"
                                                           "<nonSpeaking>0</nonSpeaking></fluency>")
                              << QStringLiteral("1");
    QTest::newRow("same name in capitals")
        << message("register", "<general><username>ZOE.E2E</username><password>x</password></general>")
        << QStringLiteral("-1");
    QTest::newRow("wrong password")
        << message("login", "<username><![CDATA[Zoe.e2e]]></username><password><![CDATA[wrong]]></password>")
        << QStringLiteral("-1");
    QTest::newRow("login") << message("login", "<username><![CDATA[zoe.E2E]]></username>"
                                               "<password><![CDATA[pässwörd]]></password>")
                           << QStringLiteral("1");
    QTest::newRow("fluency update")
        << message("updateFluency", "<general><username>Zoe.e2e</username><password>pässwörd</password></general>"
                                    "<fluency><languageID>eng</languageID><nonSpeaking>1</nonSpeaking></fluency>")
        << QStringLiteral("1");
    QTest::newRow("feedback") << message("feedback", "<comment><![CDATA[Nice]]></comment>") << QStringLiteral("1");
}

void BridgeRealClientTest::accountMessages()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, status);
    QByteArray out;
    const QByteArray reply = send("sendMessage", request, &out);
    QVERIFY2(reply.startsWith("text:"), reply.constData());
    QCOMPARE(firstText(parse(reply), QStringLiteral("status")), status);
    QVERIFY(!out.contains("pässwörd"));
}

void BridgeRealClientTest::uploadThenDownloadExercise()
{
    const QByteArray sound = soundBytes();
    QFile recording(QStringLiteral("Content/rec.wav"));
    QVERIFY(recording.open(QIODevice::WriteOnly));
    recording.write(sound);
    recording.close();

    const QByteArray exercise =
        "<exercise><manifest localManifestID=\"5\" persistentManifestID=\"0\"/>"
        "<textual_manifest learnerLevelID=\"2\"><langID>spa</langID></textual_manifest>"
        "<term><manifest localManifestID=\"6\"/><textual_manifest><manifestValue><![CDATA[Mañana 𠀀]]></manifestValue>"
        "<langID>spa</langID></textual_manifest></term>"
        "<media><manifest localManifestID=\"7\"/><media_manifest fluencyLevelID=\"3\">"
        "<mediaManifestFileName>rec.wav</mediaManifestFileName><voice>Zoë</voice><langID>spa</langID>"
        "</media_manifest></media><kvps><kvp kvpTypeID=\"1\"><kvpValue><![CDATA[tomorrow]]></kvpValue>"
        "<langID>eng</langID></kvp></kvps></exercise>";
    StdCapture quiet;
    const QByteArray handle = mApi.call("upload", {message("uploadExercise", exercise), "rec.wav"});
    quiet.finish();
    QVERIFY2(handle.toInt() >= 0, handle.constData());
    QVERIFY(waitFor([&] { return mApi.call("isUploadXmlDone", {handle}) == "1"; }));
    const QByteArray replyText = mApi.call("getUploadReply", {handle});
    const QDomDocument reply = parse(replyText);
    QVERIFY2(firstText(reply, QStringLiteral("status")) == QLatin1String("1"), replyText.constData());
    mExercisePmid = reply.elementsByTagName(QStringLiteral("exercise"))
                        .item(0)
                        .toElement()
                        .attribute(QStringLiteral("persistentManifestID"));
    QVERIFY(!mExercisePmid.isEmpty());
    QVERIFY(mExercisePmid != QLatin1String("0") && mExercisePmid.size() <= 36);

    StdCapture quiet2;
    const QByteArray download = mApi.call("downloadExercise", {mExercisePmid.toUtf8()});
    quiet2.finish();
    QVERIFY(download.toInt() >= 0);
    QByteArray status;
    QVERIFY(waitFor([&] {
        StdCapture polling;
        status = mApi.call("getDownloadStatus", {download});
        return status == "100" || status.toInt() < 0;
    }));
    QCOMPARE(status, QByteArray("100"));
    const QDomDocument got = parse(mApi.call("getDownloadXml", {download}));
    const QDomElement ex = got.elementsByTagName(QStringLiteral("exercise")).item(0).toElement();
    QCOMPARE(firstText(got, QStringLiteral("manifestValue")), QStringLiteral("Mañana 𠀀"));
    const QString stored = firstText(got, QStringLiteral("mediaManifestFileName"));
    QVERIFY(!stored.isEmpty() && stored != QLatin1String("rec.wav"));
    QFile fetched(QStringLiteral("Content/") + stored);
    QVERIFY(fetched.open(QIODevice::ReadOnly));
    QCOMPARE(fetched.readAll(), sound);
    const QDomDocument translations = parse(mApi.call("getTranslationXml", {download}));
    QCOMPARE(firstText(translations, QStringLiteral("status")), QStringLiteral("-1"));
}

void BridgeRealClientTest::searchFindsUploadedExercise_data()
{
    QTest::addColumn<QByteArray>("term");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("total");
    QTest::newRow("part in capitals") << QByteArray("MAÑ") << QByteArray("spa") << QStringLiteral("1");
    QTest::newRow("other language") << QByteArray("mañ") << QByteArray("eng") << QStringLiteral("0");
    QTest::newRow("not contained") << QByteArray("tarde") << QByteArray("spa") << QStringLiteral("0");
}

void BridgeRealClientTest::searchFindsUploadedExercise()
{
    QFETCH(QByteArray, term);
    QFETCH(QByteArray, language);
    QFETCH(QString, total);
    QVERIFY(!mExercisePmid.isEmpty());
    const QByteArray body = "<term><![CDATA[" + term + "]]></term><query_langID>" + language
                            + "</query_langID><results_langID/><max_results>20</max_results><page_num>1</page_num>";
    const QDomDocument reply = parse(send("sendQuery", message("exerciseQuery", body)));
    QCOMPARE(firstText(reply, QStringLiteral("status")), QStringLiteral("1"));
    QCOMPARE(firstText(reply, QStringLiteral("total_result_available")), total);
    const QDomNodeList found = reply.elementsByTagName(QStringLiteral("exercise"));
    QCOMPARE(found.size(), total.toInt());
    if (found.size() == 1) {
        const QDomElement manifest = found.item(0).firstChildElement(QStringLiteral("manifest"));
        QCOMPARE(manifest.attribute(QStringLiteral("persistentManifestID")), mExercisePmid);
        QCOMPARE(manifest.attribute(QStringLiteral("suppliedByUserName")), QStringLiteral("Zoe.e2e"));
    }
}

void BridgeRealClientTest::endSessionSignsOut()
{
    QCOMPARE(mApi.call("endSession"), QByteArray("1"));
    QCOMPARE(mApi.call("endSession"), QByteArray("0"));
    // The peer no longer knows the session: a fluency update asks to sign in.
    const QDomDocument reply = parse(
        send("sendMessage", message("updateFluency", "<general><username>Zoe.e2e</username>"
                                                     "</general>")));
    QCOMPARE(firstText(reply, QStringLiteral("status")), QStringLiteral("-1"));
}
