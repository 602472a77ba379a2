#pragma once

#include "ui_LoginForm.h"

#include <QDialog>
#include <QSettings>
#include <QString>

class IDbManager;
class IMainWindow;
class INetManager;
class IResource;

// The sign-in dialog: online through the network, or offline against the
// users stored on this computer.
class LoginForm : public QDialog, public Ui::LoginForm
{
    Q_OBJECT

public:
    explicit LoginForm(IMainWindow* mainWindow);
    ~LoginForm() override;

    int offlineCheckState() const;

public slots:
    void showRegistrationForm();
    void loginUser();
    void cancelLogin();
    void sendPassword();
    void checkNetworkStatus(bool showMessage);
    void greetNewUser();

private:
    bool networkReady() const;
    // While the network's start runs: step runs once it has ended, and true.
    bool waitForNetwork(void (LoginForm::*step)());
    // The known cause of a failed network start in words, else "otherwise".
    QString knownNetworkFailure(const QString& otherwise) const;
    void lockToOffline();

    IMainWindow* mMainWindow;
    QSettings mSettings;
    QString mAppName;
    INetManager* mNetManager = nullptr;
    IDbManager* mDbManager = nullptr;
    IResource* mLanguageResource = nullptr;
    bool mWaiting = false;
};
