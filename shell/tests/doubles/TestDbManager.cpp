#include "TestDbManager.h"

#include "CallLog.h"
#include "ZoUser.h"

QList<ZoUser*> TestDbManager::select(QString type, QHash<QString, QString> criteria)
{
    const QString name = criteria.value(QStringLiteral("Username"));
    CallLog::append(QStringLiteral("db:select ") + type + QLatin1Char(' ') + name);
    QList<ZoUser*> users;
    if (type == QLatin1String("User") && qApp->property("shellTestUsers").toStringList().contains(name)) {
        auto* user = new ZoUser();
        user->setUsername(name);
        user->setFirstName(QStringLiteral("fresh"));
        users.append(user);
    }
    return users;
}

void TestDbManager::releaseResources()
{
    CallLog::append(QStringLiteral("db:releaseResources"));
}
