#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A stand-alone peer service for end-to-end tests: the built client jar's
// service on a free port with a fresh data folder. The destructor stops it.
class PeerServiceProcess
{
public:
    PeerServiceProcess() = default;
    ~PeerServiceProcess();

    PeerServiceProcess(const PeerServiceProcess&) = delete;
    PeerServiceProcess& operator=(const PeerServiceProcess&) = delete;

    // Starts the service and waits until it names its address; false (see
    // error()) when it does not start or stays silent for waitMs.
    bool start(int waitMs = 30000);
    void stop();

    // "http://<address>:<port>" once started.
    QString url() const;
    // The service's data folder (its database "peer.db").
    QString dataPath() const;
    // What went wrong, with the service's output so far.
    QString error() const;

private:
    QTemporaryDir mData;
    QProcess mProcess;
    QString mUrl;
    QString mError;
};
