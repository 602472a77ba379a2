#include "LoginForm.h"

#include "DialogFit.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "IResource.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "ProductInfo.h"
#include "RegistrationForm.h"
#include "SettingsKeys.h"

#include <QProgressBar>
#include <QProgressDialog>

LoginForm::LoginForm(IMainWindow* mainWindow)
    : QDialog(mainWindow, Qt::WindowSystemMenuHint)
    , mMainWindow(mainWindow)
{
    setupUi(this);
    mAppName = mSettings.value(SettingsKeys::Version).toString();
    setWindowTitle(mAppName);

    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);
    mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mLanguageResource = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);

    lEditUsername->setMaxLength(16);
    lEditPassword->setMaxLength(16);

    lEditUsername->setText(mSettings.value(SettingsKeys::LastUser).toString());
    lEditPassword->setText(mSettings.value(SettingsKeys::LastPassword).toString());
    if (!lEditUsername->text().isEmpty()) {
        if (!lEditPassword->text().isEmpty())
            chkRememberInfo->setChecked(true);
        lEditPassword->setFocus();
    }

    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    // At least the form's size, larger where the font needs it.
    DialogFit::fit(this, QSize(350, 155));

    // The network may still be starting: the dialog shows at once and greets
    // once the start has ended.
    if (mNetManager && mNetManager->isNetworkStarting())
        mNetManager->whenNetworkStarted(this, [this] { greetNewUser(); });
    else
        greetNewUser();

    connect(btnRegister, &QPushButton::clicked, this, &LoginForm::showRegistrationForm);
    connect(btnOk, &QPushButton::clicked, this, &LoginForm::loginUser);
    connect(btnCancel, &QPushButton::clicked, this, &LoginForm::cancelLogin);
    connect(btnForgotPassword, &QPushButton::clicked, this, &LoginForm::sendPassword);
}

LoginForm::~LoginForm() = default;

int LoginForm::offlineCheckState() const
{
    return int(chkOffline->checkState());
}

bool LoginForm::networkReady() const
{
    // Without a network manager the network is not ready.
    return mNetManager && mNetManager->isNetworkReady();
}

bool LoginForm::waitForNetwork(void (LoginForm::*step)())
{
    if (!mNetManager || !mNetManager->isNetworkStarting())
        return false;
    // One step waits at a time; the dialog keeps answering meanwhile.
    if (mWaiting)
        return true;
    mWaiting = true;
    setCursor(Qt::BusyCursor);
    mNetManager->whenNetworkStarted(this, [this, step] {
        mWaiting = false;
        unsetCursor();
        (this->*step)();
    });
    return true;
}

void LoginForm::lockToOffline()
{
    btnRegister->setEnabled(false);
    btnForgotPassword->setEnabled(false);
    chkOffline->setChecked(true);
    chkOffline->setEnabled(false);
}

void LoginForm::showRegistrationForm()
{
    if (waitForNetwork(&LoginForm::showRegistrationForm))
        return;
    RegistrationForm registration(mMainWindow, this);
    if (registration.exec() == QDialog::Accepted) {
        const QString name = registration.registeredUserName();
        if (!name.isEmpty()) {
            lEditUsername->setText(name);
            lEditPassword->clear();
            lEditPassword->setFocus();
        }
    } else if (!networkReady()) {
        reject();
    }
}

void LoginForm::greetNewUser()
{
    // Without a network manager there is no network to report on; the
    // sign-in itself tells the user the plug-in is missing.
    if (!mNetManager) {
        lockToOffline();
        return;
    }
    if (mSettings.contains(SettingsKeys::LastUser)) {
        checkNetworkStatus(true);
        return;
    }
    if (networkReady()) {
        const int answer = MessageBoxHelper::show(
            MessageBoxHelper::Information, this, tr("Welcome"),
            tr("Welcome to Vireda!\n\nIf this is your first time using Vireda, please register as a new user."),
            {tr("Register as a new user"), tr("Login with existing Vireda username")}, 0, -1);
        if (answer == 0)
            showRegistrationForm();
        return;
    }
    MessageBoxHelper::information(
        this, tr("Network error"),
        knownNetworkFailure(tr(
            "A working Internet connection cannot be found.\nYou must be connected to the Internet before you can start to use Vireda.\n\n"
            "Please connect to the Internet, then sign in again to become part of the Vireda community.")));
    lockToOffline();
}

QString LoginForm::knownNetworkFailure(const QString& otherwise) const
{
    if (!mNetManager || mNetManager->networkFailure() != INetManager::PeerCertificateRefused)
        return otherwise;
    return tr("The Vireda peer's certificate does not match the one named in the file \"%1\" (the setting "
              "\"peer.certificate\").\nThe connection was refused to keep your data safe.\n\n"
              "Please tell the person who runs the peer; until then you can work offline.")
        .arg(QStringLiteral("vireda-peer.properties"));
}

void LoginForm::checkNetworkStatus(bool showMessage)
{
    if (networkReady())
        return;
    lockToOffline();
    if (showMessage && mNetManager) {
        MessageBoxHelper::information(
            this, mAppName,
            knownNetworkFailure(tr("Network error. If you wish to upload and download content,\n"
                                   "please make sure you have a valid Internet connection, then sign in again.")));
    }
}

void LoginForm::cancelLogin()
{
    close();
}

void LoginForm::sendPassword()
{
    if (waitForNetwork(&LoginForm::sendPassword))
        return;
    const QString username = lEditUsername->text();
    if (username.isEmpty()) {
        MessageBoxHelper::warning(this, mAppName,
                                  tr("Username field blank. Please enter the username\n"
                                     "for the email address to which the password will be sent."));
        return;
    }
    const int result = mNetManager ? mNetManager->passwordReminder(username) : 0;
    if (result == 1) {
        MessageBoxHelper::information(
            this, mAppName,
            tr("If the username %1 is registered with an email address,\n"
               "Vireda has sent a one-time password to that address.\n"
               "It becomes your password when you first sign in with it.\n\n"
               "Please look in the bulk/junk mail folder if your email\naccount has filters in place.")
                .arg(username));
    } else if (result == 2) {
        MessageBoxHelper::information(this, mAppName,
                                      tr("Password reminders are not available on this network.\nNo email was sent."));
    } else if (result == 3) {
        MessageBoxHelper::information(this, mAppName,
                                      tr("Too many password reminders were asked for.\nPlease try again later."));
    } else if (result == -1) {
        MessageBoxHelper::information(this, mAppName, tr("Vireda could not send the email.  Please try again later."));
    } else {
        MessageBoxHelper::information(this, mAppName,
                                      tr("The Vireda network is unavailable right now.  Please try again later."));
        if (mMainWindow)
            mMainWindow->moveToOfflineMode();
        checkNetworkStatus(false);
    }
}

void LoginForm::loginUser()
{
    if (!mNetManager) {
        MessageBoxHelper::warning(this, mAppName, tr("Sorry, network plugin wasn't loaded."));
        lEditUsername->setFocus();
        return;
    }
    // Online, the peer is reached only once the network has started.
    if (offlineCheckState() == Qt::Unchecked && waitForNetwork(&LoginForm::loginUser))
        return;

    // The progress dialog lives only as long as the network call: a message
    // must never open under it, and its show timer must not outlive the call.
    int result = 0;
    {
        QProgressDialog progress(tr("Signing in..."), QString(), 0, 2, this,
                                 Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
        progress.setBar(new QProgressBar(&progress));
        // The new bar comes with its own range.
        progress.setRange(0, 2);
        progress.setWindowTitle(mAppName);
        progress.setMinimumDuration(300);
        progress.setWindowModality(Qt::WindowModal);
        progress.setValue(1);

        result = mNetManager->loginUser(lEditUsername->text(), lEditPassword->text(), offlineCheckState());
        progress.setValue(2);
    }

    bool success = false;
    switch (result) {
    case 1:
        success = true;
        break;
    case 0:
        MessageBoxHelper::information(
            this, mAppName,
            tr("A new version of Vireda is available at %1.").arg(QString::fromLatin1(ProductInfo::WebSite)));
        success = true;
        break;
    case 2:
        lEditUsername->setEnabled(true);
        lEditPassword->setEnabled(true);
        lEditPassword->clear();
        MessageBoxHelper::warning(
            this, mAppName,
            tr("Sorry, we could not log you in because the username or password entered is incorrect.\n\n"
               "If you are a new user, please register first to login to Vireda."));
        break;
    case 3: {
        lEditUsername->setEnabled(true);
        lEditPassword->setEnabled(true);
        const int answer = MessageBoxHelper::show(
            MessageBoxHelper::Warning, this, mAppName,
            tr("Sorry, we could not sign you in because the network did not initialize correctly.\nConnect as Offline, or cancel and sign in again once you are connected."),
            {tr("Cancel Login"), tr("Connect as Offline")}, 0, -1);
        if (answer == 1) {
            checkNetworkStatus(false);
            loginUser();
            if (mMainWindow)
                mMainWindow->moveToOfflineMode();
        } else {
            reject();
        }
        break;
    }
    case -2:
        MessageBoxHelper::warning(
            this, mAppName,
            tr("Sorry, this version of Vireda is too old and will need to be updated.\nPlease visit %1.")
                .arg(QString::fromLatin1(ProductInfo::WebSite)));
        done(QDialog::Rejected);
        break;
    case INetManager::TooManyRequests:
        lEditUsername->setEnabled(true);
        lEditPassword->setEnabled(true);
        MessageBoxHelper::warning(this, mAppName,
                                  tr("Sorry, too many sign-ins came from this computer.\n"
                                     "Please wait a minute and try again."));
        break;
    default:
        lEditUsername->setEnabled(true);
        lEditPassword->setEnabled(true);
        MessageBoxHelper::warning(this, mAppName, tr("Sorry, we could not sign you in because of unknown error."));
        break;
    }

    if (success) {
        mSettings.setValue(SettingsKeys::LastPassword,
                           chkRememberInfo->isChecked() ? lEditPassword->text() : QString());
        done(QDialog::Accepted);
    }
    lEditUsername->setFocus();
}
