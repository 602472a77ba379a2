#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the program in order on SIGTERM, SIGINT or SIGHUP, so that shut-down
// (saving the window geometry, closing the log) runs as after a closed window.
// install() comes first in main, before the application object; listen() once
// the application object exists. A signal that arrives before the event loop
// runs is kept: requested() tells main not to start the loop.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    static void install();
    static void listen();
    static bool requested();

private:
    explicit TerminationSignals(int readFd);
    static void handler(int signal);
    void onSignal();

    QSocketNotifier* mNotifier;
    int mReadFd;
};
