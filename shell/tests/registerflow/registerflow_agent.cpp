// The user's side of the registration run: started by tst_registerflow in a
// ready-to-run tree with the real network manager, bridge and Java client.
// A first start: the welcome box offers registration, the user registers with
// two fluencies through the dialogs and then signs in online.

#include "AgentSession.h"
#include "FluencyFormWizard4.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "LoginForm.h"
#include "PluginLocator.h"
#include "RegistrationForm.h"
#include "TestHost.h"
#include "WizardDriver.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QSettings>
#include <QtTest>

namespace {

const QString kUser = QStringLiteral("flow.user_1");
const QString kPassword = QStringLiteral("flow.pass_1");

bool addFluency(RegistrationForm& form, const QString& shown, const QString& level,
                std::function<void(FluencyFormWizard4*)> extra = {})
{
    bool done = false;
    WizardDriver::finishNextWizard(shown, level, extra, &done);
    QTest::mouseClick(form.btnAddFluency, Qt::LeftButton);
    return done && form.isVisible();
}

// Fills the registration dialog like a user and presses OK; false when the
// dialog did not close as accepted.
bool registerThroughDialog(RegistrationForm& form)
{
    if (!QTest::qWaitForWindowExposed(&form))
        return false;
    const bool added = addFluency(form, QStringLiteral("German"), QStringLiteral("Native"),
                                  [](FluencyFormWizard4* page) {
                                      page->setCountry(QStringLiteral("Germany"));
                                      page->setLocality(QStringLiteral("Berlin"));
                                  });
    if (!added || !addFluency(form, QStringLiteral("Japanese"), QStringLiteral("Beginner")))
        return false;
    QTest::keyClicks(form.lEditUsername, kUser);
    QTest::keyClicks(form.lEditPassword, kPassword);
    QTest::keyClicks(form.lEditRetypePassword, kPassword);
    QTest::keyClicks(form.lEditFirstName, QStringLiteral("Flow"));
    QTest::keyClicks(form.lEditEmail, QStringLiteral("flow@example.org"));
    form.cmbCountries->setCurrentIndex(form.cmbCountries->findText(QStringLiteral("Germany")));
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    return !form.isVisible() && form.result() == QDialog::Accepted;
}

} // namespace

class RegisterFlowAgent : public QObject
{
    Q_OBJECT

private slots:
    void registersAndSignsIn()
    {
        AgentSession::writeSettings();
        QSettings settings;
        IDbManager* db = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        IUserResource* users = PluginLocator::load<IUserResource>(
            QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
        INetManager* net = PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
        QVERIFY(db && users && net);
        QVERIFY(net->isNetworkReady());
        QVERIFY(!settings.contains(QStringLiteral("users/lastUser")));

        // The welcome box is answered "Register as a new user" (VIREDA_MSGBOX_ANSWERS).
        bool registered = false;
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<RegistrationForm*>(QApplication::activeModalWidget());
            if (!form)
                return;
            reached = true;
            registered = registerThroughDialog(*form);
            if (form->isVisible())
                form->reject();
        });
        TestHost host;
        host.show();
        LoginForm login(&host);
        QVERIFY(reached);
        QVERIFY(registered);
        QCOMPARE(settings.value(QStringLiteral("users/") + kUser + QStringLiteral("/FirstTime")).toInt(), 1);

        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QCOMPARE(login.lEditUsername->text(), kUser);
        QCOMPARE(login.lEditPassword->text(), QString());
        QVERIFY(!login.chkOffline->isChecked());
        QTest::keyClicks(login.lEditPassword, kPassword);
        QTest::mouseClick(login.btnOk, Qt::LeftButton);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(net->isOfflineLogin(), 0);
        QVERIFY(users->currentUser());
        QCOMPARE(users->currentUser()->username(), kUser);

        const QList<ZoUser*> stored = db->select(QStringLiteral("User"), {{QStringLiteral("Username"), kUser}});
        QCOMPARE(stored.size(), 1);
        const ZoUser* user = stored.first();
        QCOMPARE(user->email(), QStringLiteral("flow@example.org"));
        QCOMPARE(user->country(), QStringLiteral("Germany"));
        QStringList fluencies;
        for (const ZoUserFluency* fluency : user->fluencies())
            fluencies << fluency->language() + '|' + fluency->fluencyLevel() + '|' + fluency->country() + '|'
                             + fluency->locality();
        fluencies.sort();
        QCOMPARE(fluencies, (QStringList{"German, Standard|Native|Germany|Berlin", "Japanese|Beginner||"}));
        qDeleteAll(stored);

        users->clearCurrentUser();
        delete net;
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }
};

QTEST_MAIN(RegisterFlowAgent)
#include "registerflow_agent.moc"
