#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalFds[2] = {-1, -1};
}

void TerminationSignals::install()
{
    if (signalFds[0] >= 0)
        return;
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalFds) != 0)
        return;
    new TerminationSignals(signalFds[1]);
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

TerminationSignals::TerminationSignals(int readFd)
    : QObject(QCoreApplication::instance()),
      mNotifier(new QSocketNotifier(readFd, QSocketNotifier::Read, this)),
      mReadFd(readFd)
{
    connect(mNotifier, &QSocketNotifier::activated, this, &TerminationSignals::onSignal);
}

void TerminationSignals::handler(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalFds[0], &byte, 1);
}

void TerminationSignals::onSignal()
{
    char byte;
    [[maybe_unused]] const ssize_t got = ::read(mReadFd, &byte, 1);
    QCoreApplication::quit();
}
