#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a shutdown, Ctrl+C, a logout, `kill`) as a Qt signal on the thread that
// created this object. The handler itself only writes the signal number into a pipe, which is all a
// signal handler may safely do; a socket notifier reads it in the event loop and emits `received`, so
// that whatever ends the program runs there as ordinary code. One object at a time; destroying it
// gives the signals their default handling back.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    [[nodiscard]] bool installed() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
