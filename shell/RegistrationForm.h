#pragma once

#include "ui_RegistrationForm.h"

#include <QDialog>
#include <QHash>
#include <QSettings>
#include <QString>

class IMainWindow;
class INetManager;

// Creates a community account: user name, password, contact details and at
// least one language fluency chosen with the fluency wizard.
class RegistrationForm : public QDialog, public Ui::RegistrationForm
{
    Q_OBJECT

public:
    static constexpr int NameLimit = 32;

    RegistrationForm(IMainWindow* mainWindow, QWidget* parent);

    // The user name of the account registered here; empty until then.
    QString registeredUserName() const;

private slots:
    void registerUser();
    void showFluencyDialog();
    void tableSelectionChanged();
    void removeUserFluency();
    int validateUserData();

private:
    void buildRequest();
    void hideErrorMarkers();
    bool fails(bool failed, const QString& message, std::initializer_list<QLabel*> markers);

    QSettings mSettings;
    QString mAppName;
    INetManager* mNetManager = nullptr;
    IMainWindow* mMainWindow;
    QString mRegisteredUserName;
    QHash<QString, QString> mRequest;
};
