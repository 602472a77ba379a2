#include "HostAddresses.h"

#include <QHostAddress>
#include <QHostInfo>

QString HostAddresses::hostName()
{
    return QHostInfo::localHostName();
}

QStringList HostAddresses::ipv4Addresses()
{
    QStringList result;
    const QHostInfo info = QHostInfo::fromName(hostName());
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !result.contains(address.toString()))
            result << address.toString();
    }
    return result;
}
