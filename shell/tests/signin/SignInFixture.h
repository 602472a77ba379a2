#pragma once

#include "DialogFixture.h"
#include "IDbManager.h"
#include "IUserResource.h"
#include "LoginForm.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "WelcomeForm.h"
#include "WizardTestTree.h"
#include "ZoUser.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the modal dialogs of a run as they come up: the sign-in dialog with
// the given action (rejected without one), the welcome dialog by OK after
// keeping its text; any other modal dialog is rejected. Records what it met.
class ModalDriver : public QObject
{
public:
    explicit ModalDriver(std::function<void(LoginForm*)> onLogin = {})
        : mOnLogin(std::move(onLogin))
    {
        connect(&mTimer, &QTimer::timeout, this, &ModalDriver::poll);
        mTimer.start(5);
    }

    QStringList met;
    QString welcomeText;
    bool welcomeDontShowVisible = true;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == mLast)
            return;
        mLast = modal;
        met << QString::fromLatin1(modal->metaObject()->className());
        if (auto* login = qobject_cast<LoginForm*>(modal)) {
            if (mOnLogin)
                mOnLogin(login);
            else
                login->reject();
        } else if (auto* welcome = qobject_cast<WelcomeForm*>(modal)) {
            welcomeText = welcome->tEditWelcome->toPlainText();
            welcomeDontShowVisible = welcome->btnDontShow->isVisibleTo(welcome);
            welcome->btnOk->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    }

    std::function<void(LoginForm*)> mOnLogin;
    QPointer<QWidget> mLast;
    QTimer mTimer;
};

// The ready-to-run tree of the sign-in tests: the real store and resources,
// the scripted network manager, the test sound plug-in, a plug-in list of the
// three test forms (C not offered offline) and a current local database.
class SignInTree : public WizardTestTree
{
public:
    static QString userName() { return QStringLiteral("tester"); }

    SignInTree()
    {
        TestTree& t = tree();
        // The real ones may not be built; either way the doubles take their place.
        t.removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so"));
        t.removePlugin(QStringLiteral("Resources"), QStringLiteral("ZoPluginResource.so"));
        mOk = t.addPlugin(QStringLiteral("shell/ShellTestAudio.so"), QStringLiteral("Managers"),
                          QStringLiteral("ZoAudio.so"))
              && t.addPlugin(QStringLiteral("shell/ShellTestPluginResource.so"), QStringLiteral("Resources"),
                             QStringLiteral("ZoPluginResource.so"));
        for (const char* form : {"ShellTestFormA.so", "ShellTestFormB.so", "ShellTestFormC.so"})
            mOk = mOk && t.addPlugin(QStringLiteral("shell/") + QLatin1String(form), QStringLiteral("Forms"));
        qApp->setProperty("shellTestFormRows", QStringList{QStringLiteral("ShellTestFormA.so,,1,0"),
                                                           QStringLiteral("ShellTestFormB.so,,1,0"),
                                                           QStringLiteral("ShellTestFormC.so,,0,0")});
        mOk = mOk && TestDatabase::createFile(t.filePath(QStringLiteral("vireda.db")));
    }

    bool isValid() const { return WizardTestTree::isValid() && mOk; }

    static IUserResource* users()
    {
        return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    }
    static IDbManager* store()
    {
        return PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }

    // Stores the test user locally (once) and makes it the current user, as
    // a successful sign-in of the network manager does.
    static bool makeUserCurrent()
    {
        IDbManager* db = store();
        IUserResource* resource = users();
        if (!db || !resource)
            return false;
        const QHash<QString, QString> criteria{{QStringLiteral("Username"), userName()}};
        QList<ZoUser*> found = db->select(QStringLiteral("User"), criteria);
        ZoUser* user = nullptr;
        if (found.isEmpty()) {
            QHash<QString, QString> data = criteria;
            data.insert(QStringLiteral("Id"), QStringLiteral("7"));
            data.insert(QStringLiteral("Password"), QStringLiteral("secret1"));
            data.insert(QStringLiteral("Email"), QStringLiteral("tester@example.org"));
            user = qobject_cast<ZoUser*>(db->insert(QStringLiteral("User"), data));
        } else {
            user = found.takeFirst();
            qDeleteAll(found);
        }
        if (!user)
            return false;
        resource->clearCurrentUser();
        resource->setCurrentUser(user);
        return true;
    }

private:
    bool mOk = false;
};
