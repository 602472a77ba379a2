#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// A new user registers through the dialogs of a ready-to-run tree and signs in
// online against a stand-alone peer service; the agent runs on an X server of
// its own, since a process holds one Java virtual machine.
class TestRegisterFlow : public QObject
{
    Q_OBJECT

    QTemporaryDir mPeerData;
    QProcess mPeer;
    QString mPeerUrl;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
            QSKIP("xvfb-run is not installed");
        QVERIFY(mPeerData.isValid());
        mPeer.setProgram(QStringLiteral(JAVA_EXECUTABLE));
        mPeer.setArguments({QStringLiteral("-cp"), TestTree::distPath() + QStringLiteral("/ViredaClientNetwork.jar"),
                            QStringLiteral("com.vireda.peer.PeerService"), QStringLiteral("--port"),
                            QStringLiteral("0"), QStringLiteral("--data"), mPeerData.path()});
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
    }

    void cleanupTestCase()
    {
        mPeer.kill();
        mPeer.waitForFinished();
    }

    void registersWithTwoFluenciesAndSignsIn()
    {
        TestTree tree;
        QVERIFY(tree.isValid());
        {
            QSqlDatabase db = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("flow"));
            QVERIFY(db.isOpen() && ZoDbSchema::create(db));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("flow"));

        QProcess agent;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
        environment.insert(QStringLiteral("VIREDA_PEER"), mPeerUrl);
        environment.insert(QStringLiteral("VIREDA_JAVABRIDGE"), tree.filePath(QStringLiteral("libJavabridge.so")));
        environment.insert(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        environment.insert(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QStringLiteral("0"));
        agent.setProcessEnvironment(environment);
        agent.setWorkingDirectory(tree.path());
        agent.setProcessChannelMode(QProcess::MergedChannels);
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.start(QStringLiteral("xvfb-run"), {QStringLiteral("-a"), QStringLiteral(AGENT_EXECUTABLE),
                                                 QStringLiteral("-nocrashhandler")});
        QVERIFY(agent.waitForStarted());
        const bool finished = agent.waitForFinished(150000);
        const QByteArray output = agent.readAll();
        if (!finished) {
            agent.kill();
            agent.waitForFinished();
        }
        QVERIFY2(finished, output.constData());
        QVERIFY2(output.contains("Totals: 3 passed, 0 failed"), output.constData());

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
