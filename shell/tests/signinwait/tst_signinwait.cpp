#include "CourierOverFakeBridge.h"
#include "INetManager.h"
#include "LoginForm.h"
#include "MainWindow.h"
#include "SignInFixture.h"

#include <QLabel>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

int callIndex(const QList<FakeBridge::Call>& calls, const QString& name)
{
    for (int i = 0; i < calls.size(); ++i) {
        if (calls.at(i).name == name)
            return i;
    }
    return -1;
}

} // namespace

class TestSignInWait : public QObject
{
    Q_OBJECT

    std::unique_ptr<SignInTree> mTree;
    CourierOverFakeBridge mCourier;

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<SignInTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(mCourier.install(mTree->tree()));
        // Stored on this computer, so that it can sign in offline.
        QVERIFY(SignInTree::makeUserCurrent());
        SignInTree::users()->clearCurrentUser();
    }

    void cleanupTestCase()
    {
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mTree.reset();
    }

    void dialogBeforeNetwork_data()
    {
        QTest::addColumn<bool>("offline");
        QTest::newRow("offline") << true;
        QTest::newRow("online") << false;
    }

    // The start of the network hangs: the sign-in dialog shows all the same
    // and answers; offline the learner signs in without waiting for it,
    // online the sign-in goes to the peer once the start has ended.
    void dialogBeforeNetwork()
    {
        QFETCH(bool, offline);
        mCourier.bridge().reset();
        mCourier.bridge().hold(QStringLiteral("startViredaNet"));
        QSettings().setValue(QStringLiteral("users/lastUser"), SignInTree::userName());
        SignInTree::users()->clearCurrentUser();

        MainWindow window(qApp);
        auto* net = PluginLocator::load<INetManager>(CourierOverFakeBridge::pluginPath());
        QVERIFY(net);
        window.loadGeneralPlugins();
        window.show();

        bool startingAtDialog = false;
        bool startingAfterOk = false;
        int callsAfterOk = -1;
        QTimer giveUp;
        ModalDriver driver([&](LoginForm* login) {
            startingAtDialog = net->isNetworkStarting();
            login->lEditUsername->setText(SignInTree::userName());
            login->lEditPassword->setText(QStringLiteral("secret1"));
            login->chkOffline->setChecked(offline);
            login->btnOk->click();
            startingAfterOk = net->isNetworkStarting();
            callsAfterOk = int(mCourier.bridge().calls().size());
            mCourier.bridge().release();
            // Online, whatever the peer answers, the dialog ends once it was asked.
            QObject::connect(&giveUp, &QTimer::timeout, login, [this, login] {
                if (callIndex(mCourier.bridge().calls(), QStringLiteral("sendMessage")) >= 0)
                    login->reject();
            });
            giveUp.start(10);
        });
        window.signIn();
        giveUp.stop();

        QVERIFY2(startingAtDialog, "the dialog waited for the network's start");
        QVERIFY(startingAfterOk);
        const QList<FakeBridge::Call> calls = mCourier.bridge().calls();
        QVERIFY(callIndex(calls, QStringLiteral("startViredaNet")) >= 0);
        if (offline) {
            QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblUsername2"))->text(),
                     QStringLiteral("tester (Offline)"));
            QCOMPARE(callIndex(calls, QStringLiteral("sendMessage")), -1);
        } else {
            // Nothing went to the peer while the start was held.
            QVERIFY(callsAfterOk >= 0 && callIndex(calls.mid(0, callsAfterOk), QStringLiteral("sendMessage")) < 0);
            QVERIFY(callIndex(calls, QStringLiteral("startUploadService"))
                    < callIndex(calls, QStringLiteral("sendMessage")));
        }
        QTRY_VERIFY(!net->isNetworkStarting());
    }
};

QTEST_MAIN(TestSignInWait)
#include "tst_signinwait.moc"
