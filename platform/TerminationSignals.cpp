#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalFds[2] = {-1, -1};
volatile std::sig_atomic_t signalled = 0;
bool listening = false;
} // namespace

void TerminationSignals::install()
{
    if (signalFds[0] >= 0)
        return;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalFds) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void TerminationSignals::listen()
{
    install();
    if (listening || signalFds[1] < 0 || !QCoreApplication::instance())
        return;
    listening = true;
    new TerminationSignals(signalFds[1]);
}

bool TerminationSignals::requested()
{
    return signalled != 0;
}

TerminationSignals::TerminationSignals(int readFd)
    : QObject(QCoreApplication::instance())
    , mNotifier(new QSocketNotifier(readFd, QSocketNotifier::Read, this))
    , mReadFd(readFd)
{
    connect(mNotifier, &QSocketNotifier::activated, this, &TerminationSignals::onSignal);
}

void TerminationSignals::handler(int)
{
    signalled = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalFds[0], &byte, 1);
}

void TerminationSignals::onSignal()
{
    char byte;
    [[maybe_unused]] const ssize_t got = ::read(mReadFd, &byte, 1);
    // quit() closes the windows first but does nothing outside the main loop
    // and yields to a window that refuses to close; exit() then ends every
    // loop that runs, a message box's before the main loop included.
    QCoreApplication::quit();
    QCoreApplication::exit(0);
}
