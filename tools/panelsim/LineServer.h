#pragma once

#include "EventLog.h"
#include "PanelEngine.h"
#include "PseudoTerminal.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <deque>

// Serves the panel engine on the pseudo-terminal: hands it what the client
// sends and sends its replies back once the line would have carried them.
// Like a real port, the device loses what arrives while no client has it open.
class LineServer : public QObject {
    Q_OBJECT
public:
    LineServer(PseudoTerminal& line, PanelEngine& engine, EventLog& log);

signals:
    // The line is gone: hung up on purpose (0) or broken (1).
    void finished(int exitCode);

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        QByteArray bytes;
        bool hangUp;
        Clock::time_point due;
    };

    void readAvailable();
    void followClients();
    void sendDue();
    void armTimer();
    void stop(int exitCode);

    PseudoTerminal& m_line;
    PanelEngine& m_engine;
    EventLog& m_log;
    QSocketNotifier m_notifier;
    QSocketNotifier m_clientWatch;
    int m_clients = 0; // descriptors clients hold on the device
    QTimer m_timer;
    std::deque<Pending> m_queue;
    Clock::time_point m_lineFreeAt;
};
