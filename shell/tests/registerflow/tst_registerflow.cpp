#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"
#include "ZoDbConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

// A new user registers through the dialogs of a ready-to-run tree and signs in
// online against a stand-alone peer service; the agent runs on an X server of
// its own, since a process holds one Java virtual machine.
class TestRegisterFlow : public QObject
{
    Q_OBJECT

    PeerServiceProcess mPeer;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
            QSKIP("xvfb-run is not installed");
        QVERIFY2(mPeer.start(), qPrintable(mPeer.error()));
    }

    void cleanupTestCase() { mPeer.stop(); }

    void registersWithTwoFluenciesAndSignsIn()
    {
        TestTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db"))));

        AgentProcess agent(tree, mPeer.url(), QStringLiteral("xcb"));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QStringLiteral("0"));
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.run(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral(AGENT_EXECUTABLE), QStringLiteral("-nocrashhandler")}, 150000);
        const QString failure = agent.failure(3);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        // The first box is the welcome question; registration and sign-in show none.
        QFile boxes(tree.filePath(QStringLiteral("boxes.log")));
        QVERIFY(boxes.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = boxes.readAll().split('\n');
        QVERIFY2(lines.first().startsWith("information\tWelcome\t"), lines.first().constData());

        // The program's own database file holds the user and both fluencies.
        {
            QSqlDatabase db = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("check"));
            QVERIFY(db.isOpen());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM u")) && query.next());
            QCOMPARE(query.value(0).toInt(), 1);
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM uf")) && query.next());
            QCOMPARE(query.value(0).toInt(), 2);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
    }
};

QTEST_GUILESS_MAIN(TestRegisterFlow)
#include "tst_registerflow.moc"
