#include "HostAddresses.h"

#include <QHostAddress>
#include <QHostInfo>

QString HostAddresses::hostName()
{
    return QHostInfo::localHostName();
}

bool HostAddresses::ipv4Addresses(const QString& host, QStringList* addresses)
{
    addresses->clear();
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.error() != QHostInfo::NoError)
        return false;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !addresses->contains(address.toString()))
            addresses->append(address.toString());
    }
    return true;
}

QString HostAddresses::summary(const QString& host)
{
    if (host.isEmpty())
        return QStringLiteral("getMyIps: gethostname error");
    QStringList addresses;
    if (!ipv4Addresses(host, &addresses))
        return QStringLiteral("getMyIps: bad host lookup");
    QString result = host + QLatin1Char(',');
    for (const QString& address : addresses)
        result += address + QLatin1Char(' ');
    return result.trimmed();
}
