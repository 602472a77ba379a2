#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QFile>
#include <QtTest>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

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
    void pinnedCertificateOverHttps_data();
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

// A network namespace of the test's own: the calling thread, and so every
// program it starts, enters it; loopback is up and holds a second address
// that is not loopback. It is gone once the thread left it and the programs
// started in it have ended.
class NetworkNamespace
{
public:
    static constexpr const char* Address = "10.99.0.1";

    NetworkNamespace() = default;
    ~NetworkNamespace() { leave(); }
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    // Empty when entered; otherwise why not.
    QString enter()
    {
        mHome = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        if (mHome < 0)
            return QStringLiteral("the test's own network namespace cannot be named: ") + errorText();
        if (::unshare(CLONE_NEWNET) != 0) {
            const QString why = errorText();
            ::close(mHome);
            mHome = -1;
            return QStringLiteral("no network namespace could be made: ") + why;
        }
        const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ifreq loopback{};
        std::strncpy(loopback.ifr_name, "lo", IFNAMSIZ - 1);
        ifreq second{};
        std::strncpy(second.ifr_name, "lo:1", IFNAMSIZ - 1);
        auto* address = reinterpret_cast<sockaddr_in*>(&second.ifr_addr);
        address->sin_family = AF_INET;
        const bool ok = socket >= 0 && ::ioctl(socket, SIOCGIFFLAGS, &loopback) == 0
                        && (loopback.ifr_flags |= IFF_UP, ::ioctl(socket, SIOCSIFFLAGS, &loopback) == 0)
                        && ::inet_pton(AF_INET, Address, &address->sin_addr) == 1
                        && ::ioctl(socket, SIOCSIFADDR, &second) == 0;
        const QString why = errorText();
        if (socket >= 0)
            ::close(socket);
        return ok ? QString() : QStringLiteral("the namespace's loopback could not be set up: ") + why;
    }

    void leave()
    {
        if (mHome < 0)
            return;
        if (::setns(mHome, CLONE_NEWNET) != 0)
            qFatal("the test cannot return to its network namespace: %s", std::strerror(errno));
        ::close(mHome);
        mHome = -1;
    }

private:
    static QString errorText() { return QString::fromLocal8Bit(std::strerror(errno)); }

    int mHome = -1;
};

} // namespace

void TestCourierEndToEnd::pinnedCertificateOverHttps_data()
{
    QTest::addColumn<QString>("bind");    // the peer's --bind
    QTest::addColumn<QString>("address"); // where the programs reach it
    QTest::addColumn<bool>("ownNetwork");
    QTest::newRow("wildcard address") << "0.0.0.0"
                                      << "127.0.0.1" << false;
    QTest::newRow("an address in a network of the test's own")
        << NetworkNamespace::Address << NetworkNamespace::Address << true;
}

// A peer on the network serves HTTPS with a certificate of its own; each
// program names the peer and that one certificate in vireda-peer.properties
// and registers, signs in, uploads, searches and downloads through it.
void TestCourierEndToEnd::pinnedCertificateOverHttps()
{
    QFETCH(QString, bind);
    QFETCH(QString, address);
    QFETCH(bool, ownNetwork);
    NetworkNamespace network;
    if (ownNetwork) {
        if (::geteuid() != 0)
            QSKIP("a network namespace of the test's own needs root; the wildcard address showed HTTPS off loopback");
        const QString why = network.enter();
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }
    PeerServiceProcess peer;
    peer.setBindAddress(bind);
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
}

QTEST_GUILESS_MAIN(TestCourierEndToEnd)
#include "tst_courier_endtoend.moc"
