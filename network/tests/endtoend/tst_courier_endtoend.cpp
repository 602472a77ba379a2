#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTemporaryDir>
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

private:
    std::unique_ptr<TestTree> newTree();
    void runAgent(TestTree& tree, const QString& role);

    QTemporaryDir mPeerData;
    QProcess mPeer;
    QString mPeerUrl;
    std::unique_ptr<TestTree> mFirst;
    std::unique_ptr<TestTree> mSecond;
};

std::unique_ptr<TestTree> TestCourierEndToEnd::newTree()
{
    auto tree = std::make_unique<TestTree>();
    if (!tree->isValid())
        return nullptr;
    const QString connection = QStringLiteral("endtoend") + QString::number(quintptr(tree.get()));
    bool created = false;
    {
        QSqlDatabase db = ZoDbConnection::open(tree->filePath(QStringLiteral("vireda.db")), connection);
        created = db.isOpen() && ZoDbSchema::create(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return created ? std::move(tree) : nullptr;
}

void TestCourierEndToEnd::initTestCase()
{
    QVERIFY(mPeerData.isValid());
    mPeer.setProgram(QStringLiteral(JAVA_EXECUTABLE));
    mPeer.setArguments({QStringLiteral("-cp"), TestTree::distPath() + QStringLiteral("/ViredaClientNetwork.jar"),
                        QStringLiteral("com.vireda.peer.PeerService"), QStringLiteral("--port"), QStringLiteral("0"),
                        QStringLiteral("--data"), mPeerData.path()});
    mPeer.start();
    QVERIFY2(mPeer.waitForStarted(), qPrintable(mPeer.errorString()));
    const QRegularExpression listening(QStringLiteral("listening on ([0-9.]+):(\\d+)"));
    QByteArray output;
    QRegularExpressionMatch match;
    while (!(match = listening.match(QString::fromUtf8(output))).hasMatch()) {
        QVERIFY2(mPeer.waitForReadyRead(30000), output.constData());
        output += mPeer.readAllStandardOutput();
    }
    mPeerUrl = QStringLiteral("http://%1:%2").arg(match.captured(1), match.captured(2));

    mFirst = newTree();
    mSecond = newTree();
    QVERIFY(mFirst && mSecond);
}

void TestCourierEndToEnd::cleanupTestCase()
{
    mPeer.kill();
    mPeer.waitForFinished();
}

void TestCourierEndToEnd::runAgent(TestTree& tree, const QString& role)
{
    QProcess agent;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
    environment.insert(QStringLiteral("VIREDA_PEER"), mPeerUrl);
    environment.insert(QStringLiteral("VIREDA_JAVABRIDGE"), tree.filePath(QStringLiteral("libJavabridge.so")));
    environment.insert(QStringLiteral("ENDTOEND_FIRST_USER"), QStringLiteral("first_user"));
    environment.insert(QStringLiteral("ENDTOEND_SECOND_USER"), QStringLiteral("second.user"));
    agent.setProcessEnvironment(environment);
    agent.setWorkingDirectory(tree.path());
    agent.setProcessChannelMode(QProcess::MergedChannels);
    // The Java virtual machine's own signal handling trips the test crash handler.
    agent.start(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler"), role});
    QVERIFY(agent.waitForStarted());
    const bool finished = agent.waitForFinished(100000);
    const QByteArray output = agent.readAll();
    if (!finished) {
        agent.kill();
        agent.waitForFinished();
    }
    QVERIFY2(finished, output.constData());
    QVERIFY2(agent.exitStatus() == QProcess::NormalExit && agent.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("Totals: 3 passed, 0 failed"), output.constData());
}

void TestCourierEndToEnd::firstTreeRegistersAndUploads()
{
    runAgent(*mFirst, QStringLiteral("uploader"));
}

void TestCourierEndToEnd::secondTreeFindsAndDownloads()
{
    runAgent(*mSecond, QStringLiteral("downloader"));
}

QTEST_GUILESS_MAIN(TestCourierEndToEnd)
#include "tst_courier_endtoend.moc"
