#pragma once

#include "link/EventYield.h"
#include "link/SerialPort.h"
#include "ui/ConfigWindow.h"
#include "ui/Dialogs.h"

#include <QObject>
#include <QTimer>

#include <array>

// The conversation with the panel: Timer1 and its waits, the handshake, the
// byte operations, and the read and write transactions built on them. A
// transaction runs inside the click that started it and waits on the event
// loop, so the window stays live meanwhile.
class PanelLink : public QObject {
    Q_OBJECT
public:
    PanelLink(ConfigWindow& window, Dialogs& dialogs, SerialPort& port, int tickMs = 100,
              EventYield* yield = nullptr);

    void READ_CONFIG_Click();
    void WRITE_CONFIG_Click();

    // Asks a running transaction to end at its next wait; the port is closed.
    void requestStop() { m_stopRequested = true; }

    void WaitTick();
    void WriteVerifiedByte();
    void ReadPanelByte();
    bool Handshake();
    void Timer1_Timer();

    // WaitTick calls since construction, for the benchmark's pacing floor.
    int waitTicks() const { return m_waitTicks; }

private:
    struct Stopped {
        QString status; // empty when the user closed the window
    };

    void overPort(void (PanelLink::*walk)());
    void readWalk();
    void writeWalk();
    bool identityAccepted();
    void failStatus(const QString& text);

    void send(const QByteArray& bytes);
    QByteArray exchange(const QByteArray& command);
    void arm();
    void replyWait();
    void checkLine();

    ConfigWindow& m_window;
    ConfigRecord& r;
    Dialogs& m_dialogs;
    SerialPort& m_port;
    EventYield m_defaultYield;
    EventYield& m_yield;
    QTimer Timer1;
    int m_tickMs;
    int m_waitTicks = 0;
    std::array<qint16, 22> m_outgoing{}; // channel codes a write sends, fixed when it starts
    bool m_stopRequested = false;
};
