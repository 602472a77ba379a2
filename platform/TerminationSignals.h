#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop normally on SIGTERM, SIGINT or SIGHUP, so that shut-down
// (saving the window geometry, closing the log) runs as after a closed window.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    static void install();

private:
    explicit TerminationSignals(int readFd);
    static void handler(int signal);
    void onSignal();

    QSocketNotifier* mNotifier;
    int mReadFd;
};
