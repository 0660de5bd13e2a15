#include "link/PanelLink.h"

#include "link/LinkTexts.h"
#include "link/PanelProtocol.h"

using Colour = ConfigScreen::StatusColour;

PanelLink::PanelLink(ConfigScreen& window, Dialogs& dialogs, SerialPort& port, int tickMs,
                     EventYield* yield, TickTimer* timer)
    : m_window(window), r(window.record()), m_dialogs(dialogs), m_port(port),
      m_yield(yield ? *yield : m_defaultYield), Timer1(timer ? *timer : m_defaultTimer),
      m_tickMs(tickMs) {
    Timer1.onTick([this] { Timer1_Timer(); });
}

void PanelLink::Timer1_Timer() {
    r.timer_flag = 1;
}

void PanelLink::arm() {
    r.timer_flag = 0;
    Timer1.start(m_tickMs); // a fresh period: the tick comes one interval from now
}

// Ends at a tick, or once a whole reply is waiting. The port's count grows
// only while events are processed, so the condition is looked at before
// every sleep, and one pass always yields first.
void PanelLink::replyWait() {
    m_yield.processPending();
    checkLine();
    while (m_port.waiting() < PanelProtocol::replyLength && r.timer_flag != 1) {
        m_yield.waitForEvents();
        checkLine();
    }
}

void PanelLink::WaitTick() {
    ++m_waitTicks;
    arm();
    do {
        m_yield.waitForEvents();
        checkLine();
    } while (r.timer_flag != 1);
}

// A transaction ends at its next wait when the port has failed or the window
// is being closed.
void PanelLink::checkLine() {
    if (auto fault = m_port.fault())
        throw Stopped{*fault};
    if (m_stopRequested)
        throw Stopped{};
}

// A value read from four characters, taken when its wait ended on the tick,
// may be the start of a five-character reply whose rest was still on the
// line: "0037" reads 4 where the panel sent "00370", 37. From such a take
// on, the link no longer knows where a reply begins, so bytes that belong
// to no take end the transaction: bytes waiting when a command goes out or
// at the end of the closing wait, and a take longer than a reply. Either
// may hold that rest, and the value read was not the panel's.
void PanelLink::checkNoRest(const QByteArray& taken) {
    if (!m_shortTake || (m_port.waiting() == 0 && taken.size() <= PanelProtocol::replyLength))
        return;
    if (m_trace)
        m_trace->note(QStringLiteral("bytes after a cut reply: ") +
                      LinkTrace::render(taken + m_port.takeAll()));
    r.error_flag = 1;
    throw CutReply{};
}

// Whatever is still waiting when a command goes out answered an earlier
// one after its wait had ended (a late panel, a busy machine): it is
// dropped, so that it is never taken as this command's reply.
// The handshake's own retries keep what came so far: an answer may arrive
// split over two of its waits.
void PanelLink::send(const QByteArray& bytes, bool dropLate) {
    checkLine();
    if (dropLate) {
        checkNoRest();
        if (m_port.waiting() > 0) {
            const QByteArray late = m_port.takeAll();
            if (m_trace)
                m_trace->note(QStringLiteral("late reply dropped: ") + LinkTrace::render(late));
        }
    }
    m_port.send(bytes);
}

bool PanelLink::Handshake() {
    int attempt = 1;
    do {
        send(PanelProtocol::handshake, attempt == 1);
        arm();
        replyWait();
        ++attempt;
    } while (m_port.waiting() < PanelProtocol::replyLength && attempt < 7);
    const QByteArray reply = m_port.takeAll();
    return reply == PanelProtocol::acknowledgement && r.timer_flag != 1;
}

// One command and its reply: whatever is waiting when the reply wait ends.
QByteArray PanelLink::exchange(const QByteArray& command) {
    send(command);
    arm();
    replyWait();
    QByteArray reply = m_port.takeAll();
    checkNoRest(reply);
    return reply;
}

// A read's reply, whether a read-back or a read of its own: one too short to
// hold a value, or one that is not a number and nothing else (noise, a digit
// garbled to a letter, or "D000D" from a shifted buffer), is a failed read
// that leaves A as it was.
// ReadPanelByte keeps the reply's length in temp1.
std::optional<PanelProtocol::ReplyValue> PanelLink::readValue(const QByteArray& command,
                                                              bool keepLength) {
    const QByteArray reply = exchange(command);
    if (keepLength)
        r.temp1 = qint16(qMin<qsizetype>(reply.size(), 32767));
    const PanelProtocol::ReplyValue read = PanelProtocol::replyValue(reply);
    if (reply.size() < PanelProtocol::shortestRead || !read.whole) {
        r.error_flag = 1;
        showByteStatus(LinkTexts::corrupted);
        return std::nullopt;
    }
    m_shortTake |= reply.size() < PanelProtocol::replyLength;
    return read;
}

void PanelLink::WriteVerifiedByte() {
    r.error_flag = 0;
    if (exchange(PanelProtocol::writeCommand(r.address_l, r.data_l)) !=
        PanelProtocol::acknowledgement) {
        r.error_flag = 1;
        return;
    }
    const auto read = readValue(PanelProtocol::readCommand(r.address_l), false);
    if (!read)
        return;
    r.A = read->value;
    if (read->fits && r.A == r.data_l) {
        m_window.setStatusColour(Colour::Yellow);
        showByteStatus(LinkTexts::communicationsOk);
    } else {
        r.error_flag = 1;
        showByteStatus(LinkTexts::failedToVerify);
    }
}

void PanelLink::ReadPanelByte() {
    m_window.setStatusVisible(true);
    r.error_flag = 0;
    m_valueRead = false;
    const auto read = readValue(PanelProtocol::readCommand(r.address_l), true);
    if (!read)
        return;
    m_valueRead = true;
    r.A = read->value;
    if (!read->fits || r.A > 160 || r.A < 0) {
        r.error_flag = 1;
        showByteStatus(LinkTexts::outOfRange);
    } else {
        showByteStatus(LinkTexts::communicationsOk);
    }
}

void PanelLink::showStatus(const QString& text, int address) {
    m_window.setStatusText(text);
    emit progress(address, text);
}

void PanelLink::useDevice(const QString& device) {
    m_deviceChosen = !device.trimmed().isEmpty();
    if (m_deviceChosen)
        m_port.setDeviceName(device);
}
