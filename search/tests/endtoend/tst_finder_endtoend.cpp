#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

// Two ready-to-run trees share one stand-alone peer service; each side runs
// in a process of its own, since a process holds one Java virtual machine.
// The second finds what the first uploaded, downloads it and practises it.
// A hostile learner then uploads what an honest peer lets through, made by
// hand, and a fourth finds and downloads it: every row stores nothing unsafe,
// says why on its bar and leaves the program online.

// The rows of the hostile learner's table (the agent's hostileRows).
const int kHostileRows = 9;

class TestFinderEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(mPeer.start(), qPrintable(mPeer.error()));
        mUploader = newTree();
        mSearcher = newTree();
        mHostile = newTree();
        mVictim = newTree();
        QVERIFY(mUploader && mSearcher && mHostile && mVictim);
        // The searcher practises with the scripted sound plug-in.
        mSearcher->removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so"));
        QVERIFY(mSearcher->addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")));
    }

    void cleanupTestCase() { mPeer.stop(); }

    void firstTreeUploads() { runAgent(*mUploader, {QStringLiteral("uploader")}, 3, QStringLiteral("finder_up")); }

    void secondTreeFindsDownloadsAndPractises()
    {
        runAgent(*mSearcher, {QStringLiteral("searcher")}, 3, QStringLiteral("finder_down"));
    }

    void hostileLearnerUploads()
    {
        runAgent(*mHostile, {QStringLiteral("hostile")}, 2 + kHostileRows, QStringLiteral("finder_bad"));
    }

    void hostileDownloadsStoreNothingUnsafe()
    {
        runAgent(*mVictim, {QStringLiteral("victim")}, 2 + kHostileRows, QStringLiteral("finder_victim"),
                 {{"FINDER_ENGLISH", "1"}});
    }

    // A peer that answers as a hostile one would: the Java tests' double.
    void hostilePeerIsBounded()
    {
        QProcess peer;
        peer.setProgram(QStringLiteral(JAVA_EXECUTABLE));
        peer.setArguments({QStringLiteral("-cp"), QStringLiteral(HOSTILE_PEER_CLASSPATH),
                           QStringLiteral("com.vireda.tests.HostilePeer")});
        peer.start();
        QVERIFY2(peer.waitForStarted(), qPrintable(peer.errorString()));
        static const QRegularExpression listening(QStringLiteral("listening on ([0-9.]+):(\\d+)"));
        QByteArray output;
        QRegularExpressionMatch match;
        while (!(match = listening.match(QString::fromUtf8(output))).hasMatch()) {
            QVERIFY2(peer.waitForReadyRead(30000), output.constData());
            output += peer.readAllStandardOutput();
        }
        const std::unique_ptr<TestTree> tree = newTree();
        QVERIFY(tree);
        // Eleven download rows and four searches.
        runAgent(*tree, {QStringLiteral("underAttack"), QStringLiteral("searchesPastALimit")}, 2 + 11 + 4, QString(),
                 {}, QStringLiteral("http://%1:%2").arg(match.captured(1), match.captured(2)));
        peer.kill();
        peer.waitForFinished();
    }

private:
    static std::unique_ptr<TestTree> newTree()
    {
        auto tree = std::make_unique<TestTree>();
        if (!tree->isValid() || !TestDatabase::createFile(tree->filePath(QStringLiteral("vireda.db"))))
            return nullptr;
        return tree;
    }

    // Runs the agent's test functions named by roles, expecting that many
    // passes (data rows each count); peerUrl: the shared peer's when empty.
    void runAgent(TestTree& tree, const QStringList& roles, int passes, const QString& user,
                  const QHash<QString, QString>& extra = {}, const QString& peerUrl = QString())
    {
        AgentProcess agent(tree, peerUrl.isEmpty() ? mPeer.url() : peerUrl, QStringLiteral("offscreen"));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        agent.setEnvironment(QStringLiteral("FINDER_USER"), user);
        agent.setEnvironment(QStringLiteral("FINDER_UPLOADER"), QStringLiteral("finder_up"));
        for (auto it = extra.begin(); it != extra.end(); ++it)
            agent.setEnvironment(it.key(), it.value());
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.run(QStringLiteral(AGENT_EXECUTABLE), QStringList{QStringLiteral("-nocrashhandler")} + roles, 200000);
        const QString failure = agent.failure(passes);
        // The whole output: a failure's message is cut short.
        if (!failure.isEmpty())
            qInfo().noquote() << QString::fromLocal8Bit(agent.output()).right(20000);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    PeerServiceProcess mPeer;
    std::unique_ptr<TestTree> mUploader;
    std::unique_ptr<TestTree> mSearcher;
    std::unique_ptr<TestTree> mHostile;
    std::unique_ptr<TestTree> mVictim;
};

QTEST_GUILESS_MAIN(TestFinderEndToEnd)
#include "tst_finder_endtoend.moc"
