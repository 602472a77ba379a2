#pragma once

#include <QString>
#include <QStringList>

// This computer's host name and IPv4 addresses.
class HostAddresses
{
public:
    static QString hostName();
    // The IPv4 addresses a look-up of the host gives, in its order, each once;
    // false when the look-up fails.
    static bool ipv4Addresses(const QString& host, QStringList* addresses);
    // The host, a comma and its IPv4 addresses each followed by a blank,
    // trimmed ("box,10.0.0.5 192.168.1.7"; "box," without any); for an
    // empty host "getMyIps: gethostname error", for a failed look-up
    // "getMyIps: bad host lookup".
    static QString summary(const QString& host);
};
