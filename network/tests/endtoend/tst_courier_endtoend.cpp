#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

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

private:
    std::unique_ptr<TestTree> newTree();
    void runAgent(TestTree& tree, const QString& role);

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

void TestCourierEndToEnd::runAgent(TestTree& tree, const QString& role)
{
    AgentProcess agent(tree, mPeer.url(), QStringLiteral("offscreen"));
    agent.setEnvironment(QStringLiteral("ENDTOEND_FIRST_USER"), QStringLiteral("first_user"));
    agent.setEnvironment(QStringLiteral("ENDTOEND_SECOND_USER"), QStringLiteral("second.user"));
    // The Java virtual machine's own signal handling trips the test crash handler.
    agent.run(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler"), role}, 100000);
    const QString failure = agent.failure(3);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestCourierEndToEnd::firstTreeRegistersAndUploads()
{
    runAgent(*mFirst, QStringLiteral("uploader"));
}

void TestCourierEndToEnd::secondTreeFindsAndDownloads()
{
    runAgent(*mSecond, QStringLiteral("downloader"));
}

void TestCourierEndToEnd::hostileContentAndCaseOfNames()
{
    runAgent(*mThird, QStringLiteral("hostile"));
}

QTEST_GUILESS_MAIN(TestCourierEndToEnd)
#include "tst_courier_endtoend.moc"
