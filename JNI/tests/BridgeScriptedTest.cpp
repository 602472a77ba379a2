#include "BridgeScriptedTest.h"

#include "BridgeCases.h"
#include "StdCapture.h"

#include <QTest>

#include <cstring>

void BridgeScriptedTest::initTestCase()
{
    QString error;
    QVERIFY2(mApi.load(&error), qPrintable(error));
    QVERIFY(BridgeCases::enterWorkDir(mDir, QStringLiteral(VIREDA_SCRIPTED_JAR)));
}

// The scripted client answers "LAST" with the record of the call before.
QByteArray BridgeScriptedTest::lastCall()
{
    StdCapture quiet;
    QByteArray got = mApi.call("sendQuery", {"LAST"});
    quiet.finish();
    return got.startsWith("text:") ? got.mid(5) : got;
}

void BridgeScriptedTest::exportsBeforeInitAreSilent_data()
{
    BridgeCases::addNotStartedRows();
}

void BridgeScriptedTest::exportsBeforeInitAreSilent()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, result);
    StdCapture capture;
    const QByteArray got = mApi.call(name, args);
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), QByteArray());
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::initPrintsFiveLines()
{
    StdCapture capture;
    const QByteArray got = mApi.call("init");
    capture.finish();
    QCOMPARE(got, QByteArray("1"));
    QCOMPARE(capture.out(), BridgeCases::initLines());
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::numberExports_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("out");
    auto logged = [](const QByteArray& banner, const QByteArray& method) {
        return "\n-=" + banner + "()=-\nCalling ViredaClientNetwork." + method + "()\n";
    };
    int value = 11; // the scripted client numbers its starts from 11
    for (const char* start : {"startViredaNet", "startMessagingService", "startQueryService", "startDownloadService",
                              "startUploadService"}) {
        QTest::newRow(start) << QByteArray(start) << QByteArrayList{} << QByteArray::number(value++)
                             << logged(start, start);
    }
    QTest::newRow("endSession") << QByteArray("endSession") << QByteArrayList{} << QByteArray("16")
                                << logged("endSession", "endSession");
    QTest::newRow("getDownloadStatus") << QByteArray("getDownloadStatus") << QByteArrayList{"5"} << QByteArray("1005")
                                       << logged("getDownloadStatus", "getDownloadStatus");
    QTest::newRow("isDownloadXmlDone") << QByteArray("isDownloadXmlDone") << QByteArrayList{"5"} << QByteArray("2005")
                                       << QByteArray();
    QTest::newRow("isUploadXmlDone calls isUploadXMLDone")
        << QByteArray("isUploadXmlDone") << QByteArrayList{"5"} << QByteArray("3005") << QByteArray();
    QTest::newRow("getUploadStatus") << QByteArray("getUploadStatus") << QByteArrayList{"5"} << QByteArray("4005")
                                     << logged("getUploadStatus", "getUploadStatus");
    QTest::newRow("cancelDownload") << QByteArray("cancelDownload") << QByteArrayList{"5"} << QByteArray("5005")
                                    << logged("cancelDownload", "cancelDownload");
    QTest::newRow("uploadManifest") << QByteArray("uploadManifest") << QByteArrayList{"<l/>", "lesson"}
                                    << QByteArray("21") << QByteArray();
    QTest::newRow("downloadManifest") << QByteArray("downloadManifest") << QByteArrayList{"p", "lesson"}
                                      << QByteArray("22") << QByteArray();
    QTest::newRow("downloadExercise") << QByteArray("downloadExercise") << QByteArrayList{"p"} << QByteArray("23")
                                      << logged("download", "downloadExercise");
    QTest::newRow("negative handle") << QByteArray("getDownloadStatus") << QByteArrayList{"-3"} << QByteArray("997")
                                     << logged("getDownloadStatus", "getDownloadStatus");
}

void BridgeScriptedTest::numberExports()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, out);
    StdCapture capture;
    const QByteArray got = mApi.call(name, args);
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), out);
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::textExports_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("handle");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("getDownloadXml calls getDownloadXML")
        << QByteArray("getDownloadXml") << 7 << QByteArray("text:download-xml:7");
    QTest::newRow("getTranslationXml calls getTranslationXML")
        << QByteArray("getTranslationXml") << 7 << QByteArray("text:translation-xml:7");
    QTest::newRow("getUploadReply") << QByteArray("getUploadReply") << 7 << QByteArray("text:upload-reply:7");
    QTest::newRow("getDownloadXml null") << QByteArray("getDownloadXml") << -1 << QByteArray("null");
    QTest::newRow("getTranslationXml null") << QByteArray("getTranslationXml") << -1 << QByteArray("null");
    QTest::newRow("getUploadReply null") << QByteArray("getUploadReply") << -1 << QByteArray("null");
}

void BridgeScriptedTest::textExports()
{
    QFETCH(QByteArray, name);
    QFETCH(int, handle);
    QFETCH(QByteArray, result);
    StdCapture capture;
    const QByteArray got = mApi.call(name, {QByteArray::number(handle)});
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), QByteArray());
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::argumentsReachJava_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("uploadManifest") << QByteArray("uploadManifest") << QByteArrayList{"<lesson/>", "lesson"}
                                    << QByteArray("uploadManifest|<lesson/>|lesson");
    QTest::newRow("uploadManifest null kind")
        << QByteArray("uploadManifest") << QByteArrayList{"<t/>", BridgeApi::kNull}
        << QByteArray("uploadManifest|<t/>|null");
    QTest::newRow("downloadManifest order") << QByteArray("downloadManifest") << QByteArrayList{"pm-1", "exercise"}
                                            << QByteArray("downloadManifest|pm-1|exercise");
    QTest::newRow("downloadExercise") << QByteArray("downloadExercise") << QByteArrayList{"pm-2"}
                                      << QByteArray("downloadExercise|pm-2");
}

void BridgeScriptedTest::argumentsReachJava()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, record);
    StdCapture quiet;
    mApi.call(name, args);
    quiet.finish();
    QCOMPARE(lastCall(), record);
}

void BridgeScriptedTest::uploadBuildsPathArray_data()
{
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("no paths") << QByteArrayList{"<x/>"} << QByteArray("100")
                              << QByteArray("\n-=upload()=-\nNumber of files to upload is 0\n")
                              << QByteArray("upload|<x/>|");
    QTest::newRow("one path") << QByteArrayList{"<x/>", "Content/a.wav"} << QByteArray("101")
                              << QByteArray("\n-=upload()=-\nNumber of files to upload is 1\n")
                              << QByteArray("upload|<x/>|Content/a.wav");
    QTest::newRow("null path left null")
        << QByteArrayList{"<x/>", "a.wav", BridgeApi::kNull} << QByteArray("102")
        << QByteArray("\n-=upload()=-\nERROR: unable to create jstring filepath\nNumber of files to upload is 2\n")
        << QByteArray("upload|<x/>|a.wav,<null>");
    QTest::newRow("null message goes on")
        << QByteArrayList{BridgeApi::kNull, "b.wav"} << QByteArray("101")
        << QByteArray("\n-=upload()=-\nERROR: unable to create jstring XMLData\nNumber of files to upload is 1\n")
        << QByteArray("upload|null|b.wav");
}

void BridgeScriptedTest::uploadBuildsPathArray()
{
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, record);
    StdCapture capture;
    const QByteArray got = mApi.call("upload", args);
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), out);
    QCOMPARE(capture.err(), QByteArray());
    QCOMPARE(lastCall(), record);
}

void BridgeScriptedTest::sendMessageEchoesRequestAndReply()
{
    StdCapture capture;
    const QByteArray got = mApi.call("sendMessage", {"<m>hi</m>"});
    capture.finish();
    QCOMPARE(got, QByteArray("text:sendMessage:<m>hi</m>"));
    QCOMPARE(capture.out(), QByteArray("\n-=sendMessage()=-\n<m>hi</m>\n-=End of sendMessage()=-\n"
                                       "Calling ViredaClientNetwork.sendMessage()\n"
                                       "sendMessage() got REPLY FROM SERVER:\n\"sendMessage:<m>hi</m>\n\""));
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::secretsAreMaskedInEcho_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("hidden");
    QTest::addColumn<QByteArrayList>("shown");
    QTest::newRow("login cdata") << QByteArray("<login><username><![CDATA[ann]]></username>"
                                               "<password><![CDATA[s3cret]]></password></login>")
                                 << QByteArrayList{"s3cret"} << QByteArrayList{"<password>********</password>", "ann"};
    QTest::newRow("register with answer")
        << QByteArray(
               "<general><password><![CDATA[pw</password>x]]></password><passwordQuestion>pet?</passwordQuestion>"
               "<passwordAnswer>rex</passwordAnswer></general>")
        << QByteArrayList{"pw<", "x]]", "rex"}
        << QByteArrayList{"<passwordQuestion>pet?</passwordQuestion>", "<passwordAnswer>********</passwordAnswer>"};
    QTest::newRow("attribute and text") << QByteArray("<password kind=\"p\">plain</password>")
                                        << QByteArrayList{"plain"}
                                        << QByteArrayList{"<password kind=\"p\">********</password>"};
    QTest::newRow("empty element kept") << QByteArray("<a><password/><b>x</b></a>") << QByteArrayList{}
                                        << QByteArrayList{"<password/><b>x</b>"};
}

void BridgeScriptedTest::secretsAreMaskedInEcho()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, hidden);
    QFETCH(QByteArrayList, shown);
    StdCapture capture;
    const QByteArray got = mApi.call("sendMessage", {request});
    capture.finish();
    // Java receives the request unchanged; only the echo hides secrets.
    QCOMPARE(got, "text:sendMessage:" + request);
    for (const QByteArray& secret : hidden)
        QVERIFY2(!capture.out().contains(secret), capture.out().constData());
    for (const QByteArray& text : shown)
        QVERIFY2(capture.out().contains(text), capture.out().constData());
    QVERIFY(capture.out().contains("got REPLY FROM SERVER"));
}

void BridgeScriptedTest::nullReplies_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("sendMessage") << QByteArray("sendMessage")
                                 << QByteArray("\n-=sendMessage()=-\nNULL\n-=End of sendMessage()=-\n"
                                               "Calling ViredaClientNetwork.sendMessage()\n"
                                               "JNI ERROR: convertJStrToCStr failed");
    QTest::newRow("sendQuery") << QByteArray("sendQuery")
                               << QByteArray("\n-=sendQuery()=-\nQuery returned null. Network error.");
}

void BridgeScriptedTest::nullReplies()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, out);
    StdCapture capture;
    const QByteArray got = mApi.call(name, {"NULL"});
    capture.finish();
    QCOMPARE(got, QByteArray("null"));
    QCOMPARE(capture.out(), out);
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeScriptedTest::emptyReplyIsAReply()
{
    StdCapture capture;
    const QByteArray message = mApi.call("sendMessage", {"EMPTY"});
    const QByteArray query = mApi.call("sendQuery", {"EMPTY"});
    capture.finish();
    QCOMPARE(message, QByteArray("text:"));
    QCOMPARE(query, QByteArray("text:"));
    QVERIFY(capture.out().endsWith("sendMessage() got REPLY FROM SERVER:\n\"\n\"\n-=sendQuery()=-\n"));
}

void BridgeScriptedTest::exceptionThenWorkingCall_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("failure");
    QTest::newRow("sendMessage") << QByteArray("sendMessage") << QByteArrayList{"THROW"} << QByteArray("null");
    QTest::newRow("sendQuery") << QByteArray("sendQuery") << QByteArrayList{"THROW"} << QByteArray("null");
    QTest::newRow("downloadExercise") << QByteArray("downloadExercise") << QByteArrayList{"THROW"} << QByteArray("-1");
    QTest::newRow("upload") << QByteArray("upload") << QByteArrayList{"THROW", "a.wav"} << QByteArray("-1");
    QTest::newRow("getDownloadStatus") << QByteArray("getDownloadStatus") << QByteArrayList{"-7"} << QByteArray("-999");
    QTest::newRow("isUploadXmlDone") << QByteArray("isUploadXmlDone") << QByteArrayList{"-7"} << QByteArray("0");
    QTest::newRow("getTranslationXml") << QByteArray("getTranslationXml") << QByteArrayList{"-7"} << QByteArray("null");
}

void BridgeScriptedTest::exceptionThenWorkingCall()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, failure);
    StdCapture capture;
    const QByteArray got = mApi.call(name, args);
    const QByteArray next = mApi.call("sendQuery", {"after"});
    capture.finish();
    QCOMPARE(got, failure);
    QVERIFY2(capture.err().contains("scripted failure"), capture.err().constData());
    QCOMPARE(next, QByteArray("text:sendQuery:after"));
}

void BridgeScriptedTest::textRoundTrip_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("codePoints");
    QTest::addColumn<QByteArray>("back");
    const QByteArray bad = "\xef\xbf\xbd"; // U+FFFD
    QTest::newRow("latin, cjk and beyond U+FFFF")
        << QByteArray("ñ 汉 𠀀") << QByteArray("f1 20 6c49 20 20000") << QByteArray("ñ 汉 𠀀");
    QTest::newRow("emoji pair") << QByteArray("a😀b") << QByteArray("61 1f600 62") << QByteArray("a😀b");
    QTest::newRow("malformed byte") << QByteArray("x\xff"
                                                  "y")
                                    << QByteArray("78 fffd 79") << "x" + bad + "y";
    QTest::newRow("cut sequence") << QByteArray("\xe6\xb1"
                                                "z")
                                  << QByteArray("fffd 7a") << bad + "z";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("fffd") << bad;
}

void BridgeScriptedTest::textRoundTrip()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, codePoints);
    QFETCH(QByteArray, back);
    StdCapture quiet;
    const QByteArray seen = mApi.call("sendQuery", {"CODEPOINTS:" + sent});
    const QByteArray echoed = mApi.call("sendQuery", {sent});
    quiet.finish();
    QCOMPARE(seen, "text:" + codePoints);
    QCOMPARE(echoed, "text:sendQuery:" + back);
}

void BridgeScriptedTest::returnedTextLastsUntilSameExportIsCalled()
{
    using HandleTextFn = const char* (*)(int);
    auto download = reinterpret_cast<HandleTextFn>(mApi.resolve("getDownloadXml"));
    auto translation = reinterpret_cast<HandleTextFn>(mApi.resolve("getTranslationXml"));
    auto reply = reinterpret_cast<HandleTextFn>(mApi.resolve("getUploadReply"));
    QVERIFY(download && translation && reply);
    const char* first = download(1);
    const char* second = translation(2);
    const char* third = reply(3);
    QVERIFY(first && second && third);
    QCOMPARE(first, "download-xml:1");
    QCOMPARE(second, "translation-xml:2");
    QCOMPARE(third, "upload-reply:3");
    const char* again = download(44);
    QCOMPARE(again, "download-xml:44");
    QCOMPARE(second, "translation-xml:2");
}
