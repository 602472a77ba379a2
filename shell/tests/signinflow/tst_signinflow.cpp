#include "AgentProcess.h"
#include "MessageBoxHelper.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QStandardPaths>
#include <QtTest>

// Sign-in, sign-out and offline sign-in through the main window of a
// ready-to-run tree, with the real network manager and the peer its Java
// client runs on loopback; the agent runs on an X server of its own, since a
// process holds one Java virtual machine.
class TestSignInFlow : public QObject
{
    Q_OBJECT

private slots:
    void signsInOnlineOutAndOffline()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
            QSKIP("xvfb-run is not installed");
        TestTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db"))));

        // No peer service named: the Java client runs its own.
        AgentProcess agent(tree, QString(), QStringLiteral("xcb"));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        // "Login with existing Vireda username", then OK.
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QStringLiteral("1,0"));
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.run(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral(AGENT_EXECUTABLE), QStringLiteral("-nocrashhandler")}, 200000);
        const QString failure = agent.failure(3);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        // The welcome question of a first start, then the refusal of the
        // unknown user; the online and offline sign-ins show nothing.
        QFile boxes(tree.filePath(QStringLiteral("boxes.log")));
        QVERIFY(boxes.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(boxes.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList expected{
            MessageBoxHelper::logLine(MessageBoxHelper::Information, QStringLiteral("Welcome"),
                                      QStringLiteral("Welcome to Vireda!\n\nIf this is your first time using Vireda, "
                                                     "please register as a new user."),
                                      {QStringLiteral("Register as a new user"),
                                       QStringLiteral("Login with existing Vireda username")}),
            MessageBoxHelper::logLine(MessageBoxHelper::Warning, QStringLiteral("Vireda"),
                                      QStringLiteral("Sorry, we could not log you in because the username or password "
                                                     "entered is incorrect.\n\nIf you are a new user, please register "
                                                     "first to login to Vireda."),
                                      {QStringLiteral("OK")})};
        QCOMPARE(lines, expected);
        // The Java client ran its own peer in the tree.
        QVERIFY(QFileInfo(tree.filePath(QStringLiteral("PeerData"))).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSignInFlow)
#include "tst_signinflow.moc"
