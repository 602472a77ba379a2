// The user's side of the sign-in run: started by tst_signinflow in a
// ready-to-run tree with the real plug-ins, the bridge and the Java client,
// which runs its own peer on loopback. A user registered through the network
// manager signs in online through the main window, signs out and signs in
// offline; before that an unknown user is refused.

#include "IDbManager.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "LoginForm.h"
#include "MainWindow.h"
#include "PluginLocator.h"
#include "ProductInfo.h"
#include "SettingsStore.h"
#include "ZoTabWidget.h"
#include "ZoUser.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QtTest>

#include <functional>

namespace {

const QString kUser = QStringLiteral("flow.signin");
const QString kPassword = QStringLiteral("pass.flow_2");

// Runs act on the next sign-in dialog that comes up; other modal dialogs are
// rejected.
class LoginDriver : public QObject
{
public:
    explicit LoginDriver(std::function<void(LoginForm*)> act)
        : mAct(std::move(act))
    {
        connect(&mTimer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == mLast)
                return;
            mLast = modal;
            if (auto* login = qobject_cast<LoginForm*>(modal)) {
                ++logins;
                mAct(login);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                others << QString::fromLatin1(dialog->metaObject()->className());
                dialog->reject();
            }
        });
        mTimer.start(20);
    }

    int logins = 0;
    QStringList others;

private:
    std::function<void(LoginForm*)> mAct;
    QPointer<QWidget> mLast;
    QTimer mTimer;
};

QStringList formEntries(MainWindow* window)
{
    return window->loadedPlugins().filter(QRegularExpression(QStringLiteral("^Plugins_dll/Forms/")));
}

} // namespace

class SignInFlowAgent : public QObject
{
    Q_OBJECT

private slots:
    void signsInOnlineOutAndOffline()
    {
        SettingsStore::configure();
        QSettings settings;
        settings.setValue(QStringLiteral("software/version"), QStringLiteral("Vireda"));
        settings.setValue(QStringLiteral("software/internal_version"),
                          QString::fromLatin1(ProductInfo::InternalVersion));
        settings.setValue(QStringLiteral("xml/version"), QStringLiteral("2"));

        // The network starts with its own peer; the user is created there first.
        INetManager* net = PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
        QVERIFY(net);
        QVERIFY(net->isNetworkReady());
        const QHash<QString, QString> account{{QStringLiteral("Username"), kUser},
                                              {QStringLiteral("Password"), kPassword},
                                              {QStringLiteral("FirstName"), QStringLiteral("Flow")},
                                              {QStringLiteral("Email"), QStringLiteral("flow@example.org")},
                                              {QStringLiteral("Country"), QStringLiteral("Germany")}};
        QCOMPARE(net->registerAccount(account), 1);

        // First start: the welcome box is answered "Login with existing Vireda
        // username", the refusal of the unknown user with OK (VIREDA_MSGBOX_ANSWERS).
        bool unknownRefused = false;
        auto online = std::make_unique<LoginDriver>([&](LoginForm* login) {
            login->lEditUsername->setText(QStringLiteral("nobody.here"));
            login->lEditPassword->setText(QStringLiteral("whatever1"));
            QTest::mouseClick(login->btnOk, Qt::LeftButton);
            unknownRefused = login->isVisible() && login->lEditPassword->text().isEmpty();
            login->lEditUsername->setText(kUser);
            QTest::keyClicks(login->lEditPassword, kPassword);
            QTest::mouseClick(login->btnOk, Qt::LeftButton);
        });
        auto* window = new MainWindow(qApp);
        QTRY_VERIFY_WITH_TIMEOUT(window->tabWidget(), 120000);
        QVERIFY(unknownRefused);
        QCOMPARE(online->logins, 1);
        QVERIFY(online->others.isEmpty());
        online.reset();

        auto* name = window->findChild<QLabel*>(QStringLiteral("lblUsername2"));
        QCOMPARE(name->text(), kUser + QStringLiteral(" (Online)"));
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblUsername1"))->isVisible());
        QVERIFY(window->tabWidget()->isVisible());
        QCOMPARE(window->tabWidget()->count(), formEntries(window).size());
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("btnSuggestion"))->isEnabled());
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("btnSignIn"))->isVisible());
        QCOMPARE(settings.value(QStringLiteral("users/lastUser")).toString(), kUser);
        QCOMPARE(net->isOfflineLogin(), 0);
        IUserResource* users = PluginLocator::load<IUserResource>(
            QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
        QVERIFY(users && users->currentUser());
        QCOMPARE(users->currentUser()->username(), kUser);

        window->findChild<QAction*>(QStringLiteral("actSignOut"))->trigger();
        QVERIFY(!window->tabWidget());
        QCOMPARE(name->text(), QString());
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("btnSignIn"))->isVisible());
        QVERIFY(window->findChild<QAction*>(QStringLiteral("actSignIn"))->isEnabled());

        // Offline against the copy of the user the online sign-in stored.
        bool prefilled = false;
        LoginDriver offline([&](LoginForm* login) {
            prefilled = login->lEditUsername->text() == kUser && login->chkOffline->isEnabled();
            QTest::keyClicks(login->lEditPassword, kPassword);
            login->chkOffline->setChecked(true);
            QTest::mouseClick(login->btnOk, Qt::LeftButton);
        });
        window->findChild<QAction*>(QStringLiteral("actSignIn"))->trigger();
        QCOMPARE(offline.logins, 1);
        QVERIFY(prefilled);
        QVERIFY(window->tabWidget());
        QCOMPARE(name->text(), kUser + QStringLiteral(" (Offline)"));
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("btnSuggestion"))->isEnabled());
        QCOMPARE(net->isOfflineLogin(), 2);
        QCOMPARE(users->currentUser()->username(), kUser);

        window->close();
        delete window; // also deletes the network manager
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }
};

QTEST_MAIN(SignInFlowAgent)
#include "signinflow_agent.moc"
