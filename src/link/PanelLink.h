#pragma once

#include "link/EventYield.h"
#include "link/LinkTrace.h"
#include "link/PanelProtocol.h"
#include "link/SerialPort.h"
#include "link/TickTimer.h"
#include "model/ConfigScreen.h"
#include "platform/Dialogs.h"

#include <QObject>

#include <array>
#include <optional>

// The conversation with the panel: Timer1 and its waits, the handshake, the
// byte operations, and the read and write transactions built on them. A
// transaction runs inside the click that started it and waits on the event
// loop, so the window stays live meanwhile.
class PanelLink : public QObject {
    Q_OBJECT
public:
    // The yield and the timer default to the event loop's own.
    PanelLink(ConfigScreen& window, Dialogs& dialogs, SerialPort& port, int tickMs = 100,
              EventYield* yield = nullptr, TickTimer* timer = nullptr);

    void READ_CONFIG_Click();
    void WRITE_CONFIG_Click();
    // Reads the panel's 25 values into valuesRead() as a read does, but shows
    // none of them: of the window only the status box changes. On Done the
    // caller says what the values mean.
    void COMPARE_CONFIG_Click();

    // What every read, write and compare goes through: the handshake, the
    // identity, then the 25 values.
    static constexpr int steps = 27;

    // How the last transaction or probe ended.
    enum class Outcome {
        Done,       // programmed, read, or (a probe) a panel answered
        Incomplete, // a write of an incomplete configuration
        NoResponse, // nothing answered the handshake
        Mismatch,   // the panel's identity is not one of the two models
        BadData,    // a byte failed to read or verify
        PortFault,  // the port would not open or failed
        Stopped,    // requestStop ended it
    };
    Outcome lastOutcome() const { return m_outcome; }

    // Whether a panel answers the handshake now: the port is opened and
    // closed around it, and nothing is shown.
    Outcome probe();

    // The identity code the last transaction read at address 63; nullopt
    // when it read none (no answer, a port fault, a reply not read whole).
    std::optional<qint16> identityRead() const { return m_identityRead; }

    // The values of the last read, in the memory map's order; those of a read
    // that ended Done are the panel's.
    const std::array<qint16, 25>& valuesRead() const { return m_valuesRead; }
    // The intensity code a write sends for setting: its list's, with 100 %
    // selected when the list has no selection.
    qint16 intensityToWrite(IntensitySetting setting);

    // The device the next transactions use, as the user chose it. A choice
    // left empty is refused at the start of each transaction, before the
    // port is opened, rather than taken for the first serial port.
    void useDevice(const QString& device);

    // Notes each transaction's outcome in the trace; null: no trace.
    void setTrace(LinkTrace* trace) { m_trace = trace; }

    // Asks a running transaction to end at its next wait; the port is closed.
    void requestStop() { m_stopRequested = true; }

    void WaitTick();
    void WriteVerifiedByte();
    void ReadPanelByte();
    bool Handshake();
    void Timer1_Timer();

    // WaitTick calls since construction, for the benchmark's pacing floor.
    int waitTicks() const { return m_waitTicks; }

signals:
    // Each status the link shows, as it shows it: a byte operation's with the
    // address it was about, a transaction's own with address -1.
    void progress(int address, const QString& status);
    // How far a transaction has come: 0 once the port is open, 1 after the
    // handshake, 2 after the identity, then one more per value.
    void stepsDone(int done, int of);

private:
    struct Stopped {
        QString status; // empty when the user closed the window
    };
    // Bytes came after a read reply that was taken short: it was cut.
    struct CutReply {};

    void overPort(const QString& name, void (PanelLink::*walk)(), bool quiet = false);
    QString outcomeText(bool quiet) const;
    void probeWalk();
    void fail(Outcome outcome, const QString& text);
    void message(const QString& text, const QString& title = Dialogs::applicationTitle);
    void readWalk();
    void compareWalk();
    void writeWalk();
    enum class Identity { Supported, Foreign, Unread };
    Identity readIdentity();
    bool panelAnswers(const QString& mismatchText);
    void failStatus(const QString& text);
    void showStatus(const QString& text, int address = -1);
    void showByteStatus(const QString& text) { showStatus(text, r.address_l); }

    void send(const QByteArray& bytes, bool dropLate = true);
    QByteArray exchange(const QByteArray& command);
    std::optional<PanelProtocol::ReplyValue> readValue(const QByteArray& command, bool keepLength);
    void arm();
    void replyWait();
    void checkLine();
    void checkNoRest(const QByteArray& taken = {});

    ConfigScreen& m_window;
    ConfigRecord& r;
    Dialogs& m_dialogs;
    SerialPort& m_port;
    EventYield m_defaultYield;
    EventYield& m_yield;
    QtTickTimer m_defaultTimer;
    TickTimer& Timer1;
    int m_tickMs;
    int m_waitTicks = 0;
    std::array<qint16, 22> m_outgoing{}; // channel codes a write sends, fixed when it starts
    LinkTrace* m_trace = nullptr;
    Outcome m_outcome = Outcome::Done;
    std::array<qint16, 25> m_valuesRead{};
    std::optional<qint16> m_identityRead;
    bool m_stopRequested = false;
    bool m_deviceChosen = true;
    bool m_valueRead = false; // the last ReadPanelByte put a value read just now into A
    // A value of this transaction was read from fewer than five characters.
    bool m_shortTake = false;
};
