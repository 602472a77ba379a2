#pragma once

#include <QString>
#include <QStringList>

// This computer's host name and IPv4 addresses.
class HostAddresses
{
public:
    static QString hostName();
    static QStringList ipv4Addresses();
};
