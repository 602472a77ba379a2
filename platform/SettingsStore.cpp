#include "SettingsStore.h"

#include "ProductInfo.h"
#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

void SettingsStore::configure()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(Organisation));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(ProductInfo::Domain));
    QCoreApplication::setApplicationName(QString::fromLatin1(ProductInfo::Name));
}

QString SettingsStore::fileName()
{
    return QSettings().fileName();
}

bool SettingsStore::protectFile()
{
    const QString name = fileName();
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.close();
    }
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString SettingsStore::versionTitle()
{
    return QSettings().value(SettingsKeys::Version).toString();
}
