#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QtTest>

#include <memory>

// Two ready-to-run trees share one stand-alone peer service; each side runs
// in a process of its own, since a process holds one Java virtual machine.
// The second finds what the first uploaded, downloads it and practises it.
class TestFinderEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(mPeer.start(), qPrintable(mPeer.error()));
        mUploader = newTree();
        mSearcher = newTree();
        QVERIFY(mUploader && mSearcher);
        // The searcher practises with the scripted sound plug-in.
        mSearcher->removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so"));
        QVERIFY(mSearcher->addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")));
    }

    void cleanupTestCase() { mPeer.stop(); }

    void firstTreeUploads() { runAgent(*mUploader, QStringLiteral("uploader"), QStringLiteral("finder_up")); }

    void secondTreeFindsDownloadsAndPractises()
    {
        runAgent(*mSearcher, QStringLiteral("searcher"), QStringLiteral("finder_down"));
    }

private:
    static std::unique_ptr<TestTree> newTree()
    {
        auto tree = std::make_unique<TestTree>();
        if (!tree->isValid() || !TestDatabase::createFile(tree->filePath(QStringLiteral("vireda.db"))))
            return nullptr;
        return tree;
    }

    void runAgent(TestTree& tree, const QString& role, const QString& user)
    {
        AgentProcess agent(tree, mPeer.url(), QStringLiteral("offscreen"));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        agent.setEnvironment(QStringLiteral("FINDER_USER"), user);
        agent.setEnvironment(QStringLiteral("FINDER_UPLOADER"), QStringLiteral("finder_up"));
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.run(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler"), role}, 200000);
        const QString failure = agent.failure(3);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    PeerServiceProcess mPeer;
    std::unique_ptr<TestTree> mUploader;
    std::unique_ptr<TestTree> mSearcher;
};

QTEST_GUILESS_MAIN(TestFinderEndToEnd)
#include "tst_finder_endtoend.moc"
