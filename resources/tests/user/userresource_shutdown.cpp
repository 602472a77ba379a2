// Signs users in and out the way the tabs do, then ends like the program:
// each user must go while the application object still exists.
#include "IUserResource.h"
#include "PluginLocator.h"
#include "ZoUser.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1)
        QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    IUserResource* users = PluginLocator::load<IUserResource>(
        QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    if (!users)
        return 2;
    const QStringList names = {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
    for (const QString& name : names) {
        auto* user = new ZoUser();
        user->setUsername(name);
        QObject::connect(user, &QObject::destroyed, [name] {
            QTextStream(stdout) << "deleted " << name << " app=" << (QApplication::instance() ? 1 : 0) << Qt::endl;
        });
        users->clearCurrentUser();
        users->setCurrentUser(user);
        users->setCurrentUser(user); // set twice: still deleted once
    }
    users->clearCurrentUser();
    QTextStream(stdout) << "current " << (users->currentUser() ? 1 : 0) << Qt::endl;
    return 0;
}
