#include "IForm.h"
#include "INetManager.h"
#include "LoginForm.h"
#include "MainWindow.h"
#include "ProductInfo.h"
#include "RealBoxes.h"
#include "SignInFixture.h"
#include "SuggestionForm.h"
#include "TestHost.h"
#include "ZoTabWidget.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

namespace {

const QString kWrongCredentials = QStringLiteral(
    "Sorry, we could not log you in because the username or password entered is incorrect.\n\n"
    "If you are a new user, please register first to login to Vireda.");
const QString kNotInitialized = QStringLiteral(
    "Sorry, we could not sign you in because the network did not initialize correctly.\n"
    "Connect as Offline, or cancel and sign in again once you are connected.");
const QString kUnknownError = QStringLiteral("Sorry, we could not sign you in because of unknown error.");
const QString kNetworkCheck = QStringLiteral(
    "Network error. If you wish to upload and download content,\n"
    "please make sure you have a valid Internet connection, then sign in again.");
const QString kNotAccessible = QStringLiteral(
    "The Vireda network is not accessible. To re-enable online features please\n"
    "make sure you have a valid Internet connection, then sign out and sign in again.");
const QStringList kRetryButtons{QStringLiteral("Cancel Login"), QStringLiteral("Connect as Offline")};

QString site()
{
    return QString::fromLatin1(ProductInfo::WebSite);
}

QString info(const QString& text)
{
    return WizardTestTree::info(text);
}

QString warning(const QString& text, const QStringList& buttons = {QStringLiteral("OK")})
{
    return WizardTestTree::warning(text, buttons);
}

QSettings& settings()
{
    static QSettings s;
    return s;
}

template <class T>
T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

QStringList tabTitles(MainWindow* window)
{
    QStringList titles;
    if (window->tabWidget())
        for (int i = 0; i < window->tabWidget()->count(); ++i)
            titles << window->tabWidget()->tabText(i);
    return titles;
}

// The sign-in dialog's answer of a user: name and password, the offline box, Login.
std::function<void(LoginForm*)> signInAs(const QString& user, const QString& password, bool offline)
{
    return [=](LoginForm* login) {
        login->lEditUsername->setText(user);
        login->lEditPassword->setText(password);
        login->chkOffline->setChecked(offline);
        login->btnOk->click();
    };
}

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT

    DialogFixture<SignInTree> f;

    // A main window with the tree's plug-ins loaded, shown and signed out.
    std::unique_ptr<MainWindow> openWindow()
    {
        auto window = std::make_unique<MainWindow>(qApp);
        window->loadGeneralPlugins();
        window->show();
        return window;
    }

    // Signs the test user in online (or offline) through the dialog.
    static void signIn(MainWindow* window, bool offline = false)
    {
        ModalDriver driver(signInAs(SignInTree::userName(), QStringLiteral("secret1"), offline));
        window->signIn();
    }

    std::unique_ptr<LoginForm> openLogin() { return f.show<LoginForm>(); }

private slots:
    void initTestCase() { QVERIFY(f.setUp()); }

    void init()
    {
        QVERIFY(f.reset());
        settings().remove(QStringLiteral("users"));
        qApp->setProperty("shellTestCalls", QVariant());
        qApp->setProperty("shellTestAudioPlaying", QVariant());
        if (IUserResource* users = SignInTree::users())
            users->clearCurrentUser();
    }

    void cleanupTestCase() { f.tearDown(); }

    // ---- the sign-in dialog ----

    void loginResults_data()
    {
        QTest::addColumn<QString>("results"); // loginUser script
        QTest::addColumn<QString>("ready");   // isNetworkReady script
        QTest::addColumn<bool>("remember");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("outcome"); // 1 accepted, 0 rejected, -1 still open
        QTest::addColumn<QString>("storedPassword");
        QTest::addColumn<QString>("passwordAfter");
        QTest::addColumn<QList<int>>("offlineFlags"); // of each loginUser call
        QTest::addColumn<int>("offlineMoves");

        const QList<int> online{0};
        QTest::newRow("1 remembered") << "1"
                                      << "1" << true << QList<int>{} << QStringList{} << 1 << "secret1"
                                      << "secret1" << online << 0;
        QTest::newRow("1 not remembered") << "1"
                                          << "1" << false << QList<int>{} << QStringList{} << 1 << ""
                                          << "secret1" << online << 0;
        QTest::newRow("0 newer version") << "0"
                                         << "1" << true << QList<int>{}
                                         << QStringList{info("A new version of Vireda is available at " + site() + ".")}
                                         << 1 << "secret1"
                                         << "secret1" << online << 0;
        QTest::newRow("2 wrong credentials")
            << "2"
            << "1" << true << QList<int>{} << QStringList{warning(kWrongCredentials)} << -1 << "old"
            << "" << online << 0;
        QTest::newRow("3 cancel login") << "3"
                                        << "1" << true << QList<int>{0}
                                        << QStringList{warning(kNotInitialized, kRetryButtons)} << 0 << "old"
                                        << "secret1" << online << 0;
        QTest::newRow("3 box closed") << "3"
                                      << "1" << true << QList<int>{}
                                      << QStringList{warning(kNotInitialized, kRetryButtons)} << 0 << "old"
                                      << "secret1" << online << 0;
        // The retry finds the network gone, so it signs in offline.
        QTest::newRow("3 connect as offline")
            << "3 | 1"
            << "1 | 0" << false << QList<int>{1} << QStringList{warning(kNotInitialized, kRetryButtons)} << 1 << ""
            << "secret1" << QList<int>{0, 2} << 1;
        QTest::newRow("-2 too old") << "-2"
                                    << "1" << true << QList<int>{}
                                    << QStringList{warning(
                                           "Sorry, this version of Vireda is too old and will need to be "
                                           "updated.\nPlease visit "
                                           + site() + ".")}
                                    << 0 << "old"
                                    << "secret1" << online << 0;
        QTest::newRow("-4 too many sign-ins")
            << "-4"
            << "1" << true << QList<int>{}
            << QStringList{warning(
                   "Sorry, too many sign-ins came from this computer.\nPlease wait a minute and try again.")}
            << -1 << "old"
            << "secret1" << online << 0;
        QTest::newRow("other") << "7"
                               << "1" << true << QList<int>{} << QStringList{warning(kUnknownError)} << -1 << "old"
                               << "secret1" << online << 0;
    }

    void loginResults()
    {
        QFETCH(QString, results);
        QFETCH(QString, ready);
        QFETCH(bool, remember);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(int, outcome);
        QFETCH(QString, storedPassword);
        QFETCH(QString, passwordAfter);
        QFETCH(QList<int>, offlineFlags);
        QFETCH(int, offlineMoves);

        settings().setValue("users/lastUser", "tester");
        settings().setValue("users/lastPassword", "old");
        QVERIFY(f.tree().scriptNet({{"loginUser", results}, {"isNetworkReady", ready}}));
        f.tree().answerBoxes(answers);
        auto login = openLogin();
        login->lEditPassword->setText("secret1");
        login->chkRememberInfo->setChecked(remember);
        QTest::mouseClick(login->btnOk, Qt::LeftButton);

        QCOMPARE(f.tree().boxes(), boxes);
        if (outcome < 0) {
            QVERIFY(login->isVisible());
        } else {
            QVERIFY(!login->isVisible());
            QCOMPARE(login->result(), outcome);
        }
        QCOMPARE(settings().value("users/lastPassword").toString(), storedPassword);
        QCOMPARE(login->lEditPassword->text(), passwordAfter);
        QCOMPARE(login->lEditUsername->text(), QString("tester"));
        QCOMPARE(login->focusWidget(), login->lEditUsername);
        const auto calls = f.tree().netCalls("loginUser");
        QCOMPARE(calls.size(), offlineFlags.size());
        for (int i = 0; i < calls.size(); ++i) {
            QCOMPARE(calls[i].arg(0), QString("tester"));
            QCOMPARE(calls[i].arg(1), QString("secret1"));
            QCOMPARE(calls[i].args.at(2).toInt(), offlineFlags[i]);
        }
        QCOMPARE(f.host()->offlineMoves, offlineMoves);
        // The name is the main window's to store.
        QCOMPARE(settings().value("users/lastUser").toString(), QString("tester"));
    }

    void noProgressUnderMessage_data()
    {
        QTest::addColumn<QString>("result");
        QTest::newRow("wrong credentials") << "2";
        QTest::newRow("unknown error") << "7";
        QTest::newRow("newer version") << "0";
        QTest::newRow("not initialized") << "3";
    }

    // With real message boxes: while the message of a sign-in is up, no
    // progress dialog of the attempt exists (its show timer would pop it over
    // the box and take the keyboard), and none is left afterwards.
    void noProgressUnderMessage()
    {
        QFETCH(QString, result);
        settings().setValue("users/lastUser", "tester");
        QVERIFY(f.tree().scriptNet({{"loginUser", result}}));
        auto login = openLogin();
        login->lEditPassword->setText("secret1");

        int messages = 0;
        int progressUnderMessage = 0;
        {
            RealBoxes boxes;
            boxes.onBox = [&](QMessageBox* box) {
                ++messages;
                progressUnderMessage += login->findChildren<QProgressDialog*>().size();
                box->done(0);
            };
            QTest::mouseClick(login->btnOk, Qt::LeftButton);
        }

        QCOMPARE(messages, 1);
        QCOMPARE(progressUnderMessage, 0);
        QVERIFY(login->findChildren<QProgressDialog*>().isEmpty());
    }

    void missingNetworkManager_data()
    {
        QTest::addColumn<QVariant>("lastUser");
        QTest::newRow("first start") << QVariant();
        QTest::newRow("known user") << QVariant("tester");
    }

    void missingNetworkManager()
    {
        QFETCH(QVariant, lastUser);
        if (lastUser.isValid())
            settings().setValue("users/lastUser", lastUser);
        QVERIFY(f.tree().tree().removePlugin("Managers", "Courier.so"));
        auto login = openLogin();
        QVERIFY(f.tree().tree().addPlugin("shell/ScriptedNetManager.so", "Managers", "Courier.so"));
        // Without a network manager the dialog offers offline sign-in only,
        // without blaming the Internet connection.
        QVERIFY(login->chkOffline->isChecked());
        QVERIFY(!login->chkOffline->isEnabled());
        QVERIFY(!login->btnRegister->isEnabled());
        QVERIFY(!login->btnForgotPassword->isEnabled());
        QVERIFY(f.tree().boxes().isEmpty());
        login->lEditUsername->setText("tester");
        login->lEditPassword->setText("secret1");
        QTest::mouseClick(login->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxes(), QStringList{warning("Sorry, network plugin wasn't loaded.")});
        QVERIFY(login->isVisible());
        QCOMPARE(login->focusWidget(), login->lEditUsername);
        QVERIFY(f.tree().netCalls("loginUser").isEmpty());
    }

    void forgotPassword_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("reminders");
        QTest::addColumn<int>("offlineMoves");
        QTest::addColumn<bool>("locked");

        QTest::newRow("blank name") << ""
                                    << "1"
                                    << QStringList{warning("Username field blank. Please enter the username\n"
                                                           "for the email address to which the password will be sent.")}
                                    << 0 << 0 << false;
        QTest::newRow("sent") << "tester"
                              << "1"
                              << QStringList{info("If the username tester is registered with an email address,\n"
                                                  "Vireda has sent a one-time password to that address.\nIt becomes "
                                                  "your password when you first sign in with it.\n\nPlease look in "
                                                  "the bulk/junk mail folder if your email\naccount has filters in "
                                                  "place.")}
                              << 1 << 0 << false;
        QTest::newRow("not available") << "tester"
                                       << "2"
                                       << QStringList{info("Password reminders are not available on this network.\n"
                                                           "No email was sent.")}
                                       << 1 << 0 << false;
        QTest::newRow("refused") << "tester"
                                 << "-1"
                                 << QStringList{info("Vireda could not send the email.  Please try again later.")} << 1
                                 << 0 << false;
        QTest::newRow("too many") << "tester"
                                  << "3"
                                  << QStringList{info("Too many password reminders were asked for.\n"
                                                      "Please try again later.")}
                                  << 1 << 0 << false;
        QTest::newRow("no answer") << "tester"
                                   << "0"
                                   << QStringList{info(
                                          "The Vireda network is unavailable right now.  Please try again later.")}
                                   << 1 << 1 << true;
    }

    void forgotPassword()
    {
        QFETCH(QString, user);
        QFETCH(QString, result);
        QFETCH(QStringList, boxes);
        QFETCH(int, reminders);
        QFETCH(int, offlineMoves);
        QFETCH(bool, locked);

        settings().setValue("users/lastUser", user);
        // Ready while the dialog opens; a failed reminder finds the network gone.
        QVERIFY(f.tree().scriptNet({{"passwordReminder", result}, {"isNetworkReady", "1 | 0"}}));
        auto login = openLogin();
        QTest::mouseClick(login->btnForgotPassword, Qt::LeftButton);
        QCOMPARE(f.tree().boxes(), boxes);
        const auto calls = f.tree().netCalls("passwordReminder");
        QCOMPARE(calls.size(), reminders);
        if (reminders)
            QCOMPARE(calls.first().arg(0), user);
        QCOMPARE(f.host()->offlineMoves, offlineMoves);
        QCOMPARE(login->chkOffline->isChecked(), locked);
        QCOMPARE(login->chkOffline->isEnabled(), !locked);
        QCOMPARE(login->btnRegister->isEnabled(), !locked);
        QCOMPARE(login->btnForgotPassword->isEnabled(), !locked);
        QVERIFY(login->isVisible());
    }

    void prefill_data()
    {
        QTest::addColumn<QVariant>("lastUser");
        QTest::addColumn<QVariant>("lastPassword");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("remember");
        QTest::addColumn<bool>("focusOnPassword");

        QTest::newRow("name and password") << QVariant("tester") << QVariant("secret1") << "tester"
                                           << "secret1" << true << true;
        QTest::newRow("name only") << QVariant("tester") << QVariant("") << "tester"
                                   << "" << false << true;
        QTest::newRow("name, no password key") << QVariant("tester") << QVariant() << "tester"
                                               << "" << false << true;
        QTest::newRow("empty name") << QVariant("") << QVariant("secret1") << ""
                                    << "secret1" << false << false;
        QTest::newRow("longer than 16") << QVariant("abcdefghijklmnopqrst") << QVariant("12345678901234567890")
                                        << "abcdefghijklmnop"
                                        << "1234567890123456" << true << true;
    }

    void prefill()
    {
        QFETCH(QVariant, lastUser);
        QFETCH(QVariant, lastPassword);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, remember);
        QFETCH(bool, focusOnPassword);

        settings().setValue("users/lastUser", lastUser);
        if (lastPassword.isValid())
            settings().setValue("users/lastPassword", lastPassword);
        auto login = openLogin();
        QCOMPARE(login->lEditUsername->text(), user);
        QCOMPARE(login->lEditPassword->text(), password);
        QCOMPARE(login->chkRememberInfo->isChecked(), remember);
        QCOMPARE(login->focusWidget() == login->lEditPassword, focusOnPassword);
        QCOMPARE(login->lEditPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(login->windowTitle(), WizardTestTree::title());
        // A known user (even an empty name) is not greeted; the network is up.
        QVERIFY(f.tree().boxes().isEmpty());
    }

    void sixteenCharacters_data()
    {
        QTest::addColumn<bool>("passwordField");
        QTest::newRow("user name") << false;
        QTest::newRow("password") << true;
    }

    void sixteenCharacters()
    {
        QFETCH(bool, passwordField);
        settings().setValue("users/lastUser", "");
        auto login = openLogin();
        QLineEdit* field = passwordField ? login->lEditPassword : login->lEditUsername;
        field->clear();
        QTest::keyClicks(field, "abcdefghijklmnopq");
        QCOMPARE(field->text(), QString("abcdefghijklmnop"));
    }

    void greeting_data()
    {
        QTest::addColumn<QVariant>("lastUser");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("failure");

        const QString welcome = MessageBoxHelper::logLine(
            MessageBoxHelper::Information, "Welcome",
            "Welcome to Vireda!\n\nIf this is your first time using Vireda, please register as a new user.",
            {"Register as a new user", "Login with existing Vireda username"});
        const QString noNetwork = MessageBoxHelper::logLine(
            MessageBoxHelper::Information, "Network error",
            "A working Internet connection cannot be found.\nYou must be connected to the Internet before you can "
            "start to use Vireda.\n\nPlease connect to the Internet, then sign in again to become part of the Vireda "
            "community.",
            {"OK"});

        QTest::newRow("first start, existing user")
            << QVariant() << "1" << QList<int>{1} << QStringList{welcome} << QStringList{} << false << "0";
        QTest::newRow("first start, register") << QVariant() << "1" << QList<int>{0} << QStringList{welcome}
                                               << QStringList{"RegistrationForm"} << false << "0";
        QTest::newRow("first start, box closed")
            << QVariant() << "1" << QList<int>{} << QStringList{welcome} << QStringList{} << false << "0";
        QTest::newRow("first start, no network")
            << QVariant() << "0" << QList<int>{} << QStringList{noNetwork} << QStringList{} << true << "0";
        QTest::newRow("known user, no network") << QVariant("tester") << "0" << QList<int>{}
                                                << QStringList{info(kNetworkCheck)} << QStringList{} << true << "0";
        QTest::newRow("empty known user, no network")
            << QVariant("") << "0" << QList<int>{} << QStringList{info(kNetworkCheck)} << QStringList{} << true << "0";
        QTest::newRow("known user, network")
            << QVariant("tester") << "1" << QList<int>{} << QStringList{} << QStringList{} << false << "0";
        const QString refused = QStringLiteral(
            "The Vireda peer's certificate does not match the one named in the file \"vireda-peer.properties\" (the "
            "setting \"peer.certificate\").\nThe connection was refused to keep your data safe.\n\nPlease tell the "
            "person who runs the peer; until then you can work offline.");
        const QString pinned = QString::number(INetManager::PeerCertificateRefused);
        QTest::newRow("first start, certificate refused")
            << QVariant() << "0" << QList<int>{}
            << QStringList{MessageBoxHelper::logLine(MessageBoxHelper::Information, "Network error", refused, {"OK"})}
            << QStringList{} << true << pinned;
        QTest::newRow("known user, certificate refused")
            << QVariant("tester") << "0" << QList<int>{} << QStringList{info(refused)} << QStringList{} << true
            << pinned;
    }

    void greeting()
    {
        QFETCH(QVariant, lastUser);
        QFETCH(QString, ready);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, dialogs);
        QFETCH(bool, locked);
        QFETCH(QString, failure);

        if (lastUser.isValid())
            settings().setValue("users/lastUser", lastUser);
        QVERIFY(f.tree().scriptNet({{"isNetworkReady", ready}, {"networkFailure", failure}}));
        f.tree().answerBoxes(answers);
        ModalDriver driver;
        auto login = std::make_unique<LoginForm>(f.host());
        QCOMPARE(f.tree().boxes(), boxes);
        QCOMPARE(driver.met, dialogs);
        QCOMPARE(login->chkOffline->isChecked(), locked);
        QCOMPARE(login->chkOffline->isEnabled(), !locked);
        QCOMPARE(login->btnRegister->isEnabled(), !locked);
        QCOMPARE(login->btnForgotPassword->isEnabled(), !locked);
        // A cancelled registration keeps the dialog while the network is up.
        login->show();
        QVERIFY(login->isVisible());
    }

    // ---- the main window ----

    void signInStates_data()
    {
        QTest::addColumn<bool>("withUser");
        QTest::addColumn<bool>("offline");
        QTest::addColumn<int>("firstTime");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<bool>("suggestion");
        QTest::addColumn<bool>("welcome");

        const QStringList all{"Form A", "Form B", "Form C"};
        QTest::newRow("online") << true << false << 0 << "tester (Online)" << all << true << false;
        QTest::newRow("offline") << true << true << 0 << "tester (Offline)" << QStringList{"Form A", "Form B"} << false
                                 << false;
        QTest::newRow("first time") << true << false << 1 << "tester (Online)" << all << true << true;
        // Without a current user the sign-in counts as online; the box still decides the button.
        QTest::newRow("no current user") << false << true << 1 << "" << all << false << false;
    }

    void signInStates()
    {
        QFETCH(bool, withUser);
        QFETCH(bool, offline);
        QFETCH(int, firstTime);
        QFETCH(QString, label);
        QFETCH(QStringList, tabs);
        QFETCH(bool, suggestion);
        QFETCH(bool, welcome);

        settings().setValue("users/lastUser", "someone");
        settings().setValue("users/tester/FirstTime", firstTime);
        auto window = openWindow();
        if (withUser)
            QVERIFY(SignInTree::makeUserCurrent());
        auto driver = std::make_unique<ModalDriver>(signInAs("tester", "secret1", offline));
        window->signIn();

        QCOMPARE(driver->met, welcome ? QStringList({"LoginForm", "WelcomeForm"}) : QStringList{"LoginForm"});
        QCOMPARE(child<QLabel>(window.get(), "lblUsername2")->text(), label);
        QVERIFY(child<QLabel>(window.get(), "lblUsername1")->isVisible());
        QCOMPARE(settings().value("users/lastUser").toString(), QString(withUser ? "tester" : "someone"));
        QVERIFY(window->tabWidget());
        QVERIFY(window->tabWidget()->isVisible());
        QCOMPARE(window->tabWidget()->objectName(), QString("mTabWidget"));
        QCOMPARE(window->tabWidget()->iconSize(), QSize(35, 35));
        QCOMPARE(tabTitles(window.get()), tabs);
        QCOMPARE(child<QPushButton>(window.get(), "btnSuggestion")->isEnabled(), suggestion);
        auto* signInButton = child<QPushButton>(window.get(), "btnSignIn");
        QVERIFY(!signInButton->isVisible());
        QVERIFY(!signInButton->isEnabled());
        QVERIFY(!child<QAction>(window.get(), "actSignIn")->isEnabled());
        QVERIFY(child<QAction>(window.get(), "actSignOut")->isEnabled());
        if (welcome) {
            QVERIFY(driver->welcomeText.contains("Welcome to Vireda!"));
            QVERIFY(!driver->welcomeDontShowVisible);
        }
        driver.reset();
        QCOMPARE(settings().value("users/tester/FirstTime").toInt(), withUser ? 0 : firstTime);
        QCOMPARE(settings().contains("users/tester/ShowGettingStarted"), welcome);
        if (welcome)
            QCOMPARE(settings().value("users/tester/ShowGettingStarted").toInt(), 1);

        // Signing out ends whatever session with the peer is open (the network
        // manager knows whether one is); the welcome runs once per user.
        const qsizetype stops = f.tree().netCalls("stopNetwork").size();
        window->signOut();
        QCOMPARE(f.tree().netCalls("stopNetwork").size() - stops, 1);
        ModalDriver again(signInAs("tester", "secret1", offline));
        window->signIn();
        QCOMPARE(again.met, QStringList{"LoginForm"});
    }

    void signInCancelled()
    {
        auto window = openWindow();
        ModalDriver driver; // rejects the dialog
        window->signIn();
        QCOMPARE(driver.met, QStringList{"LoginForm"});
        auto* button = child<QPushButton>(window.get(), "btnSignIn");
        QVERIFY(button->isVisible());
        QVERIFY(button->isEnabled());
        QCOMPARE(window->focusWidget(), button);
        QVERIFY(!window->tabWidget());
        QVERIFY(child<QAction>(window.get(), "actSignIn")->isEnabled());
        QVERIFY(!child<QAction>(window.get(), "actSignOut")->isEnabled());
        QVERIFY(!settings().contains("users/lastUser"));
        QVERIFY(window->findChildren<LoginForm*>().isEmpty());
    }

    void signOutAndInAgain()
    {
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        QCOMPARE(window->tabWidget()->count(), 3);
        QPointer<QWidget> firstForm = window->tabWidget()->widget(0);
        QPointer<ZoTabWidget> firstTabs = window->tabWidget();

        settings().setValue("users/lastUser", "someone else");
        qApp->setProperty("shellTestAudioPlaying", true);
        QFile temp(f.tree().tree().filePath("Content/AudioTemp.tmp"));
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        qApp->setProperty("shellTestCalls", QVariant());

        QFile studentTemp(f.tree().tree().filePath("Content/StudentTemp.tmp"));
        QVERIFY(studentTemp.open(QIODevice::WriteOnly));
        studentTemp.close();

        window->signOut();
        QCOMPARE(settings().value("users/lastUser").toString(), QString("tester"));
        QCOMPARE(qApp->property("shellTestCalls").toStringList(),
                 (QStringList{"A:closeEvent", "B:closeEvent", "C:closeEvent", "audio:stop",
                              "audio:removeFile Content/AudioTemp.tmp", "audio:removeFile Content/StudentTemp.tmp"}));
        QVERIFY(!temp.exists());
        QVERIFY(!studentTemp.exists());
        QVERIFY(!window->tabWidget());
        // Deleted later, never under a running loop.
        QVERIFY(!firstForm.isNull());
        QVERIFY(!firstForm->isVisible());
        QTRY_VERIFY(firstForm.isNull());
        QVERIFY(firstTabs.isNull());
        QVERIFY(!child<QLabel>(window.get(), "lblUsername1")->isVisible());
        QCOMPARE(child<QLabel>(window.get(), "lblUsername2")->text(), QString());
        auto* upload = child<QPushButton>(window.get(), "btnUpload");
        QVERIFY(!upload->isEnabled());
        QCOMPARE(upload->text(), QString("Upload (0)"));
        QVERIFY(!child<QPushButton>(window.get(), "btnSuggestion")->isEnabled());
        QVERIFY(!child<QAction>(window.get(), "actSignOut")->isEnabled());
        QVERIFY(child<QAction>(window.get(), "actSignIn")->isEnabled());
        auto* button = child<QPushButton>(window.get(), "btnSignIn");
        QVERIFY(button->isVisible());
        QVERIFY(button->isEnabled());
        QCOMPARE(window->focusWidget(), button);

        // Fresh forms at the next sign-in.
        qApp->setProperty("shellTestCalls", QVariant());
        signIn(window.get());
        QVERIFY(window->tabWidget());
        QCOMPARE(tabTitles(window.get()), (QStringList{"Form A", "Form B", "Form C"}));
        QVERIFY(window->tabWidget()->widget(0));
        QCOMPARE(qApp->property("shellTestCalls").toStringList().filter(":init"),
                 (QStringList{"A:init", "B:init", "C:init"}));
    }

    // A form that refuses to close keeps the user signed in with every tab.
    void signOutRefusedByAForm()
    {
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        QPointer<QWidget> formB = window->tabWidget()->widget(1);
        formB->setProperty("refuseClose", true);
        QFile temp(f.tree().tree().filePath("Content/AudioTemp.tmp"));
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        qApp->setProperty("shellTestCalls", QVariant());

        window->signOut();
        QCOMPARE(qApp->property("shellTestCalls").toStringList(), (QStringList{"A:closeEvent", "B:closeEvent"}));
        QVERIFY(temp.exists());
        QVERIFY(window->tabWidget());
        QCOMPARE(window->tabWidget()->count(), 3);
        QVERIFY(SignInTree::users()->currentUser());
        QVERIFY(child<QAction>(window.get(), "actSignOut")->isEnabled());
        QVERIFY(!child<QAction>(window.get(), "actSignIn")->isEnabled());
        QTest::qWait(50);
        QVERIFY(!formB.isNull());

        formB->setProperty("refuseClose", false);
        window->signOut();
        QVERIFY(!window->tabWidget());
        QTRY_VERIFY(formB.isNull());
    }

    // Sign-out from a queued event while a form processes events in a loop of
    // its own: the form closes (keeping its work), goes only once its loop
    // sees it gone, and nothing uses it afterwards.
    void signOutWhileAFormLoops()
    {
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        QPointer<QWidget> formA = window->tabWidget()->widget(0);
        const QString saveFile = f.tree().tree().filePath("formA.saved");
        formA->setProperty("saveFile", saveFile);
        qApp->setProperty("shellTestCalls", QVariant());

        QTimer::singleShot(100, window.get(), [&] { window->signOut(); });
        QVERIFY(QMetaObject::invokeMethod(formA, "runLoop", Qt::DirectConnection, Q_ARG(int, 1000)));

        const QStringList calls = qApp->property("shellTestCalls").toStringList();
        QCOMPARE(calls.first(), QString("A:loop started"));
        QVERIFY2(calls.indexOf("A:closeEvent") > 0, qPrintable(calls.join(", ")));
        QCOMPARE(calls.constLast(), QString("A:loop stopped"));
        QVERIFY(formA.isNull());
        QFile saved(saveFile);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("saved"));
        QVERIFY(!window->tabWidget());
        QVERIFY(child<QAction>(window.get(), "actSignIn")->isEnabled());

        // The next sign-in gets fresh forms.
        signIn(window.get());
        QCOMPARE(tabTitles(window.get()), (QStringList{"Form A", "Form B", "Form C"}));
    }

    // At shut-down the forms go before the network manager they may still use.
    void shutDownDeletesFormsBeforeTheNetwork()
    {
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        for (int i = 0; i < window->tabWidget()->count(); ++i)
            window->tabWidget()->widget(i)->setProperty("logDestroyed", true);
        qApp->setProperty("shellTestCalls", QVariant());
        window.reset();
        const QStringList calls = qApp->property("shellTestCalls").toStringList();
        const int net = calls.indexOf("net:deleted, geometry stored: yes");
        QVERIFY2(net >= 0, qPrintable(calls.join(", ")));
        for (const char* form : {"A:destroyed", "B:destroyed", "C:destroyed"}) {
            const int at = calls.indexOf(QLatin1String(form));
            QVERIFY2(at >= 0 && at < net, qPrintable(calls.join(", ")));
        }
    }

    void signOutWithoutCurrentUser_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("user gone after sign-in") << true;
        QTest::newRow("never signed in") << false;
    }

    void signOutWithoutCurrentUser()
    {
        QFETCH(bool, signedIn);
        auto window = openWindow();
        if (signedIn) {
            QVERIFY(SignInTree::makeUserCurrent());
            signIn(window.get());
        }
        SignInTree::users()->clearCurrentUser();
        settings().setValue("users/lastUser", "kept");
        window->signOut();
        QCOMPARE(settings().value("users/lastUser").toString(), QString("kept"));
        QVERIFY(!window->tabWidget());
        QVERIFY(child<QPushButton>(window.get(), "btnSignIn")->isEnabled());
    }

    void moveToOfflineMode_data()
    {
        QTest::addColumn<QString>("offlineLogin");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<bool>("warned");

        QTest::newRow("online, network up") << "0"
                                            << "1" << true;
        QTest::newRow("online, network down") << "0"
                                              << "0" << false;
        QTest::newRow("offline, network up") << "2"
                                             << "1" << false;
        QTest::newRow("offline, network down") << "2"
                                               << "0" << true;
    }

    void moveToOfflineMode()
    {
        QFETCH(QString, offlineLogin);
        QFETCH(QString, ready);
        QFETCH(bool, warned);

        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        auto* label = child<QLabel>(window.get(), "lblUsername2");
        QCOMPARE(label->text(), QString("tester (Online)"));
        QVERIFY(child<QPushButton>(window.get(), "btnSuggestion")->isEnabled());

        QVERIFY(f.tree().scriptNet({{"isOfflineLogin", offlineLogin}, {"isNetworkReady", ready}}));
        QFile::remove(f.tree().boxLogPath());
        window->moveToOfflineMode();
        const QStringList expected = warned ? QStringList{warning(kNotAccessible)} : QStringList{};
        QCOMPARE(f.tree().boxes(), expected);
        QCOMPARE(label->text(), QString("tester (Offline)"));
        QVERIFY(!child<QPushButton>(window.get(), "btnSuggestion")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "btnUpload")->isEnabled());
        QStringList flagCalls;
        for (const auto& call : f.tree().netCalls(QString()))
            if (call.op == "resetServiceFlags" || call.op == "setOfflineLogin")
                flagCalls << call.op + (call.args.isEmpty() ? QString() : " " + call.arg(0));
        QCOMPARE(flagCalls, (QStringList{"resetServiceFlags", "setOfflineLogin 1"}));

        // Now offline with the services reset: exactly one flag set, so warned again.
        window->moveToOfflineMode();
        QCOMPARE(f.tree().boxes(), expected + QStringList{warning(kNotAccessible)});
        QCOMPARE(label->text(), QString("tester (Offline)"));

        // The session opened online still ends at sign-out.
        const qsizetype stops = f.tree().netCalls("stopNetwork").size();
        window->signOut();
        QCOMPARE(f.tree().netCalls("stopNetwork").size() - stops, 1);
    }

    void networkTriedAgain_data()
    {
        QTest::addColumn<QString>("start"); // startNetwork script at the next sign-in
        QTest::addColumn<bool>("online");
        QTest::newRow("peer back") << "1" << true;
        QTest::newRow("peer still gone") << "0" << false;
    }

    // After the network failed during a session, the next sign-in tries it
    // again: with the peer back it is an online one, without "restart".
    void networkTriedAgain()
    {
        QFETCH(QString, start);
        QFETCH(bool, online);
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        // The script first: the move to offline mode marks the services down.
        QVERIFY(f.tree().scriptNet({{"startNetwork", start}}));
        window->moveToOfflineMode();
        window->signOut();
        QFile::remove(f.tree().boxLogPath());

        QVERIFY(SignInTree::makeUserCurrent());
        bool offlineChecked = false;
        bool offlineLocked = false;
        {
            ModalDriver driver([&](LoginForm* login) {
                offlineChecked = login->chkOffline->isChecked();
                offlineLocked = !login->chkOffline->isEnabled();
                login->lEditUsername->setText(SignInTree::userName());
                login->lEditPassword->setText("secret1");
                login->btnOk->click();
            });
            window->signIn();
        }
        QCOMPARE(f.tree().netCalls("startNetwork").size(), 1);
        QCOMPARE(offlineChecked, !online);
        QCOMPARE(offlineLocked, !online);
        const auto calls = f.tree().netCalls("loginUser");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args.at(2).toInt(), online ? 0 : 2);
        QCOMPARE(child<QLabel>(window.get(), "lblUsername2")->text(),
                 QString(online ? "tester (Online)" : "tester (Offline)"));
        QCOMPARE(f.tree().boxes(), online ? QStringList{} : QStringList{info(kNetworkCheck)});
    }

    void userLineRetranslated_data()
    {
        QTest::addColumn<bool>("offline");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("german");
        QTest::newRow("online") << false << false << "tester (online)";
        QTest::newRow("offline") << true << false << "tester (offline)";
        QTest::newRow("moved to offline") << false << true << "tester (offline)";
    }

    // The second user-name label follows a language change both ways.
    void userLineRetranslated()
    {
        QFETCH(bool, offline);
        QFETCH(bool, moved);
        QFETCH(QString, german);
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get(), offline);
        if (moved)
            window->moveToOfflineMode();
        auto* label = child<QLabel>(window.get(), "lblUsername2");
        const QString english = label->text();
        QCOMPARE(english, QString(offline || moved ? "tester (Offline)" : "tester (Online)"));

        window->setUiLanguage("Deutsch");
        QCOMPARE(label->text(), german);
        window->setUiLanguage(QString());
        QCOMPARE(label->text(), english);
    }

    void suggestionDialogRunsOnce()
    {
        auto window = openWindow();
        QVERIFY(SignInTree::makeUserCurrent());
        signIn(window.get());
        ModalDriver driver;
        QTest::mouseClick(child<QPushButton>(window.get(), "btnSuggestion"), Qt::LeftButton);
        QCOMPARE(driver.met, QStringList{"SuggestionForm"});
        QVERIFY(window->findChildren<SuggestionForm*>().isEmpty());
    }
};

QTEST_MAIN(TestSignIn)
#include "tst_signin.moc"
