#include "AgentProcess.h"
#include "TestTree.h"

#include <QtTest>

// The verdict on an agent run: a run counts only when the program ended by
// itself with exit code 0 and reported every test function passed.
class TestAgentProcess : public QObject
{
    Q_OBJECT

private slots:
    void failure_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("peer");
        QTest::addColumn<bool>("passed");

        const QString sh = QStringLiteral("/bin/sh");
        const QString peer = QStringLiteral("http://127.0.0.1:9");
        QTest::newRow("all passed") << sh << "echo 'Totals: 3 passed, 0 failed, 0 skipped'" << peer << true;
        QTest::newRow("fewer passed") << sh << "echo 'Totals: 2 passed, 0 failed, 0 skipped'" << peer << false;
        QTest::newRow("more passed") << sh << "echo 'Totals: 13 passed, 0 failed, 0 skipped'" << peer << false;
        QTest::newRow("one failed") << sh << "echo 'Totals: 3 passed, 1 failed, 0 skipped'" << peer << false;
        QTest::newRow("no report") << sh << "true" << peer << false;
        QTest::newRow("exit code") << sh << "echo 'Totals: 3 passed, 0 failed'; exit 1" << peer << false;
        QTest::newRow("crashed") << sh << "echo 'Totals: 3 passed, 0 failed'; kill -SEGV $$" << peer << false;
        QTest::newRow("not started") << "/nonexistent/agent"
                                     << "true" << peer << false;
        // Runs in the tree, with its config folder and the named peer.
        QTest::newRow("environment")
            << sh
            << "test \"$VIREDA_PEER\" = http://127.0.0.1:9 && test \"$XDG_CONFIG_HOME\" = \"$TREE_CONFIG\" "
               "&& test \"$(pwd -P)\" = \"$TREE\" && echo 'Totals: 3 passed, 0 failed'"
            << peer << true;
        // Without a peer the variable is gone, not empty.
        QTest::newRow("own peer") << sh << "test -z \"${VIREDA_PEER+set}\" && echo 'Totals: 3 passed, 0 failed'"
                                  << QString() << true;
    }

    void failure()
    {
        QFETCH(QString, program);
        QFETCH(QString, script);
        QFETCH(QString, peer);
        QFETCH(bool, passed);

        qputenv("VIREDA_PEER", "http://inherited.invalid");
        TestTree tree(TestTree::NoPlugins);
        QVERIFY(tree.isValid());
        AgentProcess agent(tree, peer, QStringLiteral("offscreen"));
        agent.setEnvironment(QStringLiteral("TREE"), QDir(tree.path()).canonicalPath());
        agent.setEnvironment(QStringLiteral("TREE_CONFIG"), tree.configPath());
        agent.run(program, {QStringLiteral("-c"), script}, 30000);
        const QString failure = agent.failure(3);
        QVERIFY2(failure.isEmpty() == passed, qPrintable(failure));
        if (!passed)
            QVERIFY(failure.contains(QString::fromLocal8Bit(agent.output())));
    }
};

QTEST_GUILESS_MAIN(TestAgentProcess)
#include "tst_agentprocess.moc"
