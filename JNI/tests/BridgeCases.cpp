#include "BridgeCases.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

QByteArray BridgeCases::initLines()
{
    return QByteArrayLiteral("\n-=init()=-\nInitalized the JVM\nFound the ViredaClientNetwork class\n"
                             "Got ViredaClientNetwork constructor\nInstantiated a ViredaClientNetwork object\n");
}

void BridgeCases::addNotStartedRows()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("result");
    const QByteArray minus999 = "-999";
    QTest::newRow("startViredaNet") << QByteArray("startViredaNet") << QByteArrayList{} << minus999;
    QTest::newRow("startMessagingService") << QByteArray("startMessagingService") << QByteArrayList{} << minus999;
    QTest::newRow("startQueryService") << QByteArray("startQueryService") << QByteArrayList{} << minus999;
    QTest::newRow("startDownloadService") << QByteArray("startDownloadService") << QByteArrayList{} << minus999;
    QTest::newRow("startUploadService") << QByteArray("startUploadService") << QByteArrayList{} << minus999;
    QTest::newRow("endSession") << QByteArray("endSession") << QByteArrayList{} << minus999;
    QTest::newRow("cancelDownload") << QByteArray("cancelDownload") << QByteArrayList{"3"} << minus999;
    QTest::newRow("getDownloadStatus") << QByteArray("getDownloadStatus") << QByteArrayList{"3"} << minus999;
    QTest::newRow("getUploadStatus") << QByteArray("getUploadStatus") << QByteArrayList{"3"} << minus999;
    QTest::newRow("isUploadXmlDone") << QByteArray("isUploadXmlDone") << QByteArrayList{"3"} << QByteArray("0");
    QTest::newRow("isDownloadXmlDone") << QByteArray("isDownloadXmlDone") << QByteArrayList{"3"} << QByteArray("0");
    QTest::newRow("getUploadReply") << QByteArray("getUploadReply") << QByteArrayList{"3"} << QByteArray("null");
    QTest::newRow("getDownloadXml") << QByteArray("getDownloadXml") << QByteArrayList{"3"} << QByteArray("null");
    QTest::newRow("getTranslationXml") << QByteArray("getTranslationXml") << QByteArrayList{"3"} << QByteArray("null");
    QTest::newRow("sendMessage") << QByteArray("sendMessage") << QByteArrayList{"<m/>"} << QByteArray("null");
    QTest::newRow("sendQuery") << QByteArray("sendQuery") << QByteArrayList{"<q/>"} << QByteArray("null");
    QTest::newRow("downloadExercise") << QByteArray("downloadExercise") << QByteArrayList{"p1"} << QByteArray("-1");
    QTest::newRow("downloadManifest") << QByteArray("downloadManifest") << QByteArrayList{"p1", "lesson"}
                                      << QByteArray("-1");
    QTest::newRow("uploadManifest") << QByteArray("uploadManifest") << QByteArrayList{"<l/>", "lesson"}
                                    << QByteArray("-1");
    QTest::newRow("upload") << QByteArray("upload") << QByteArrayList{"<e/>", "a.wav"} << QByteArray("-1");
}

void BridgeCases::addMissingMethodRows()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const QByteArray minus999 = "-999";
    QTest::newRow("startViredaNet") << QByteArray("startViredaNet") << QByteArrayList{} << minus999
                                    << QByteArray("\n-=startViredaNet()=-\n")
                                    << QByteArray("GetMethodID for startViredaNet\n");
    for (const char* service :
         {"startMessagingService", "startQueryService", "startDownloadService", "startUploadService", "endSession",
          "cancelDownload", "getDownloadStatus", "getUploadStatus"}) {
        const QByteArray name(service);
        const bool handle = !name.startsWith("start") && name != "endSession";
        QTest::newRow(service) << name << (handle ? QByteArrayList{"3"} : QByteArrayList{}) << minus999
                               << "\n-=" + name + "()=-\n"
                               << "GetMethodID failed for " + name + "\n";
    }
    QTest::newRow("isUploadXmlDone") << QByteArray("isUploadXmlDone") << QByteArrayList{"3"} << QByteArray("0")
                                     << QByteArray() << QByteArray();
    QTest::newRow("isDownloadXmlDone") << QByteArray("isDownloadXmlDone") << QByteArrayList{"3"} << QByteArray("0")
                                       << QByteArray() << QByteArray();
    QTest::newRow("getUploadReply") << QByteArray("getUploadReply") << QByteArrayList{"3"} << QByteArray("null")
                                    << QByteArray() << QByteArray();
    QTest::newRow("getDownloadXml") << QByteArray("getDownloadXml") << QByteArrayList{"3"} << QByteArray("null")
                                    << QByteArray() << QByteArray();
    QTest::newRow("getTranslationXml") << QByteArray("getTranslationXml") << QByteArrayList{"3"} << QByteArray("null")
                                       << QByteArray("Can't initialize ViredaClientNetwork.getTranslationXml()\n")
                                       << QByteArray();
    QTest::newRow("sendMessage") << QByteArray("sendMessage") << QByteArrayList{"<m/>"} << QByteArray("null")
                                 << QByteArray("\n-=sendMessage()=-\n<m/>\n-=End of sendMessage()=-\n"
                                               "GetMethodID failed for sendMessage\n")
                                 << QByteArray();
    QTest::newRow("sendQuery") << QByteArray("sendQuery") << QByteArrayList{"<q/>"} << QByteArray("null")
                               << QByteArray("\n-=sendQuery()=-\nGetMethodID failed for sendQuery\n") << QByteArray();
    QTest::newRow("downloadExercise") << QByteArray("downloadExercise") << QByteArrayList{"p1"} << QByteArray("-1")
                                      << QByteArray("\n-=download()=-\n")
                                      << QByteArray("GetMethodID failed for downloadExercise\n");
    QTest::newRow("downloadManifest") << QByteArray("downloadManifest") << QByteArrayList{"p1", "lesson"}
                                      << QByteArray("-1") << QByteArray() << QByteArray();
    QTest::newRow("uploadManifest") << QByteArray("uploadManifest") << QByteArrayList{"<l/>", "lesson"}
                                    << QByteArray("-1") << QByteArray() << QByteArray();
    QTest::newRow("upload") << QByteArray("upload") << QByteArrayList{"<e/>", "a.wav"} << QByteArray("-1")
                            << QByteArray("\n-=upload()=-\nGetMethodID failed for upload\n") << QByteArray();
}

bool BridgeCases::enterWorkDir(const QTemporaryDir& dir, const QString& jar)
{
    if (!dir.isValid())
        return false;
    if (!jar.isEmpty() && !QFile::copy(jar, dir.filePath(QStringLiteral("ViredaClientNetwork.jar"))))
        return false;
    return QDir::setCurrent(dir.path());
}
