#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QFile>
#include <QNetworkInterface>
#include <QtTest>

#include <memory>

// Two ready-to-run trees share one stand-alone peer service; each side runs
// in a process of its own, since a process holds one Java virtual machine.
class TestCourierEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstTreeRegistersAndUploads();
    void secondTreeFindsAndDownloads();
    void hostileContentAndCaseOfNames();
    void pinnedCertificateOverHttps();

private:
    std::unique_ptr<TestTree> newTree();
    // With an empty peerUrl the agent finds its peer in the tree's vireda-peer.properties.
    void runAgent(TestTree& tree, const QString& role, const QString& peerUrl);

    PeerServiceProcess mPeer;
    std::unique_ptr<TestTree> mFirst;
    std::unique_ptr<TestTree> mSecond;
    std::unique_ptr<TestTree> mThird;
};

std::unique_ptr<TestTree> TestCourierEndToEnd::newTree()
{
    auto tree = std::make_unique<TestTree>();
    if (!tree->isValid() || !TestDatabase::createFile(tree->filePath(QStringLiteral("vireda.db"))))
        return nullptr;
    return tree;
}

void TestCourierEndToEnd::initTestCase()
{
    QVERIFY2(mPeer.start(), qPrintable(mPeer.error()));
    mFirst = newTree();
    mSecond = newTree();
    mThird = newTree();
    QVERIFY(mFirst && mSecond && mThird);
}

void TestCourierEndToEnd::cleanupTestCase()
{
    mPeer.stop();
}

void TestCourierEndToEnd::runAgent(TestTree& tree, const QString& role, const QString& peerUrl)
{
    AgentProcess agent(tree, peerUrl, QStringLiteral("offscreen"));
    agent.setEnvironment(QStringLiteral("ENDTOEND_FIRST_USER"), QStringLiteral("first_user"));
    agent.setEnvironment(QStringLiteral("ENDTOEND_SECOND_USER"), QStringLiteral("second.user"));
    // The Java virtual machine's own signal handling trips the test crash handler.
    agent.run(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler"), role}, 100000);
    const QString failure = agent.failure(3);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestCourierEndToEnd::firstTreeRegistersAndUploads()
{
    runAgent(*mFirst, QStringLiteral("uploader"), mPeer.url());
}

void TestCourierEndToEnd::secondTreeFindsAndDownloads()
{
    runAgent(*mSecond, QStringLiteral("downloader"), mPeer.url());
}

void TestCourierEndToEnd::hostileContentAndCaseOfNames()
{
    runAgent(*mThird, QStringLiteral("hostile"), mPeer.url());
}

namespace {

// An IPv4 address of this machine other than loopback, or an empty text.
QString networkAddress()
{
    for (const QNetworkInterface& device : QNetworkInterface::allInterfaces()) {
        const auto flags = device.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : device.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLoopback())
                return entry.ip().toString();
        }
    }
    return QString();
}

} // namespace

// A peer on the network serves HTTPS with a certificate of its own; each
// program names the peer and that one certificate in vireda-peer.properties
// and registers, signs in, uploads, searches and downloads through it.
void TestCourierEndToEnd::pinnedCertificateOverHttps()
{
    const QString found = networkAddress();
    const QString address = found.isEmpty() ? QStringLiteral("127.0.0.1") : found;
    PeerServiceProcess peer;
    peer.setBindAddress(address);
    std::unique_ptr<TestTree> uploading = newTree();
    std::unique_ptr<TestTree> downloading = newTree();
    QVERIFY(uploading && downloading);
    const QString certificate = uploading->filePath(QStringLiteral("peer.pem"));
    QVERIFY2(peer.useNewCertificate(certificate), qPrintable(peer.error()));
    QVERIFY(QFile::copy(certificate, downloading->filePath(QStringLiteral("peer.pem"))));
    QVERIFY2(peer.start(), qPrintable(peer.error()));
    QVERIFY2(peer.url().startsWith(QStringLiteral("https://%1:").arg(address)), qPrintable(peer.url()));

    for (TestTree* tree : {uploading.get(), downloading.get()}) {
        QFile settings(tree->filePath(QStringLiteral("vireda-peer.properties")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        QVERIFY(settings.write(QStringLiteral("peer.url=%1\npeer.certificate=peer.pem\n").arg(peer.url()).toUtf8())
                > 0);
    }
    runAgent(*uploading, QStringLiteral("uploader"), QString());
    if (QTest::currentTestFailed())
        return;
    runAgent(*downloading, QStringLiteral("downloader"), QString());
    if (QTest::currentTestFailed())
        return;
    peer.stop();
    if (found.isEmpty())
        QSKIP("this machine has no network address other than loopback: HTTPS was shown on 127.0.0.1 only");
}

QTEST_GUILESS_MAIN(TestCourierEndToEnd)
#include "tst_courier_endtoend.moc"
