#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A stand-alone peer service for end-to-end tests: the built client jar's
// service on a free port with a fresh data folder, on loopback or on an
// address given, over HTTP or over HTTPS with a self-signed certificate made
// for the test. The destructor stops it.
class PeerServiceProcess
{
public:
    PeerServiceProcess() = default;
    ~PeerServiceProcess();

    PeerServiceProcess(const PeerServiceProcess&) = delete;
    PeerServiceProcess& operator=(const PeerServiceProcess&) = delete;

    // The address to serve on (the service's --bind); loopback when not set.
    // On the wildcard address 0.0.0.0 the certificate and url() name 127.0.0.1.
    void setBindAddress(const QString& address);
    // Serve HTTPS: keytool makes a key store with a new self-signed
    // certificate for the bind address in the data folder, names it in the
    // service's settings, and writes the certificate (PEM) to certificateFile.
    // False (see error()) when that fails. Call before start().
    bool useNewCertificate(const QString& certificateFile);

    // Starts the service and waits until it names its address; false (see
    // error()) when it does not start or stays silent for waitMs.
    bool start(int waitMs = 30000);
    void stop();

    // "http://<address>:<port>" (or https:) once started, where programs reach it.
    QString url() const;
    // The service's data folder (its database "peer.db").
    QString dataPath() const;
    // What went wrong, with the service's output so far.
    QString error() const;

private:
    QTemporaryDir mData;
    QProcess mProcess;
    QString mBindAddress;
    QString mUrl;
    QString mError;
};
