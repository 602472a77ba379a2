#pragma once

#include "LoginForm.h"
#include "MainWindow.h"
#include "ProductInfo.h"
#include "ScriptedNet.h"
#include "TestTree.h"
#include "ZoDbSchema.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <memory>
#include <utility>

// A temporary tree holding only the named test plug-ins and a current local
// database, entered as the working directory, with message boxes logged to a
// file instead of shown. The scripted network manager reports the address
// 192.0.2.7; the sign-in dialog that ends the start-up is cancelled at once.
class WindowFixture
{
public:
    // Plug-ins as "<double file>=<subdir>/<name in the tree>".
    explicit WindowFixture(const QStringList& plugins = {})
        : mTree(TestTree::NoPlugins)
    {
        for (const QString& entry : plugins) {
            const QString file = entry.section(QLatin1Char('='), 0, 0);
            const QString target = entry.section(QLatin1Char('='), 1);
            mPluginsOk = mTree.addPlugin(QStringLiteral("shell/") + file, target.section(QLatin1Char('/'), 0, 0),
                                         target.section(QLatin1Char('/'), 1))
                         && mPluginsOk;
        }
        mTree.enter();
        mDatabaseOk = makeCurrentDatabase(mTree.filePath(QStringLiteral("vireda.db")));
        qputenv("VIREDA_MSGBOX_LOG", QFile::encodeName(mTree.filePath(QStringLiteral("boxes.log"))));
        qunsetenv("VIREDA_MSGBOX_ANSWERS");
        QSettings settings;
        settings.setValue(QStringLiteral("software/version"), QStringLiteral("Vireda"));
        settings.setValue(QStringLiteral("software/internal_version"),
                          QString::fromLatin1(ProductInfo::InternalVersion));
        qApp->setProperty("shellTestCalls", QVariant());
        qApp->setProperty("shellTestFormRows", QVariant());
        qApp->setProperty("shellTestUsers", QVariant());
        qputenv("VIREDA_NET_SCRIPT", QFile::encodeName(mTree.filePath(QStringLiteral("netscript.ini"))));
        qputenv("VIREDA_NET_LOG", QFile::encodeName(mTree.filePath(QStringLiteral("netcalls.log"))));
        mNetScriptOk = ScriptedNet::writeScript(mTree.filePath(QStringLiteral("netscript.ini")),
                                                {{QStringLiteral("getMyIps"), QStringLiteral("192.0.2.7")}});
        QObject::connect(&mLoginCloser, &QTimer::timeout, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* login = qobject_cast<LoginForm*>(widget); login && login->isVisible())
                    login->reject();
            }
        });
        mLoginCloser.start(20);
    }

    ~WindowFixture()
    {
        mLoginCloser.stop();
        mWindow.reset();
        qunsetenv("VIREDA_MSGBOX_LOG");
        qunsetenv("VIREDA_NET_SCRIPT");
        qunsetenv("VIREDA_NET_LOG");
        mTree.restore();
    }

    bool isValid() const { return mTree.isValid() && mPluginsOk && mDatabaseOk && mNetScriptOk; }

    static bool makeCurrentDatabase(const QString& fileName)
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
            db.setDatabaseName(fileName);
            ok = db.open() && ZoDbSchema::create(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
        return ok;
    }
    TestTree& tree() { return mTree; }

    MainWindow* window()
    {
        if (!mWindow)
            mWindow = std::make_unique<MainWindow>(qApp);
        return mWindow.get();
    }
    // A window of a derived class, made in place of the plain one.
    template <class Window, class... Args>
    Window* makeWindow(Args&&... args)
    {
        auto window = std::make_unique<Window>(qApp, std::forward<Args>(args)...);
        Window* result = window.get();
        mWindow = std::move(window);
        return result;
    }
    void destroyWindow() { mWindow.reset(); }

    static QStringList calls() { return qApp->property("shellTestCalls").toStringList(); }
    static void clearCalls() { qApp->setProperty("shellTestCalls", QVariant()); }

    // The message boxes shown so far, one line each.
    QStringList boxes() const
    {
        QFile file(mTree.filePath(QStringLiteral("boxes.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    TestTree mTree;
    bool mPluginsOk = true;
    bool mDatabaseOk = false;
    bool mNetScriptOk = false;
    QTimer mLoginCloser;
    std::unique_ptr<MainWindow> mWindow;
};
