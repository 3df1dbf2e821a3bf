#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> handledSignals = {SIGTERM, SIGINT, SIGHUP};

// Read end and write end; the handler sees only the write end.
int signalPipe[2] = {-1, -1};

extern "C" void writeSignalNumber(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a signal that has not been read: nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

bool setHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signalNumber, &action, nullptr) == 0;
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent) {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    for (const int signalNumber : handledSignals)
        setHandler(signalNumber, writeSignalNumber);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier)
        return;
    for (const int signalNumber : handledSignals)
        setHandler(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TerminationSignals::readPipe() {
    unsigned char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1)
        emit received(number);
}
