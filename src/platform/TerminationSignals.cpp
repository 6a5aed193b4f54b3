#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> Watched{SIGTERM, SIGHUP, SIGINT};

// The handler may only do what is async-signal-safe: it writes the signal's number into a socket, and the
// event loop reads it from the other end.
int signalSocket[2] = {-1, -1};

void Forward(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &number, 1);
    errno = savedErrno;
}

// The status the process ends with at a signal once its work is done.
volatile std::sig_atomic_t finishedStatus = 0;

void EndFinished(int)
{
    ::_exit(finishedStatus);
}

void SetHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        throw std::runtime_error("cannot make the socket that carries termination signals");
    // A burst of signals must never block the handler; a full socket loses only repeats.
    ::fcntl(signalSocket[0], F_SETFL, O_NONBLOCK);
    ::fcntl(signalSocket[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    for (int signalNumber : Watched)
        SetHandler(signalNumber, Forward);
}

TerminationSignals::~TerminationSignals()
{
    for (int signalNumber : Watched)
        SetHandler(signalNumber, m_finished ? EndFinished : SIG_DFL);
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}

void TerminationSignals::finished(int status)
{
    finishedStatus = status;
    m_finished = true;
}

void TerminationSignals::readPending()
{
    unsigned char number = 0;
    while (::read(signalSocket[1], &number, 1) == 1) {
        m_received = true;
        emit received(number);
    }
}
