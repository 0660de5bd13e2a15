#include "FakeSerialPort.h"

FakeSerialPort::FakeSerialPort(VirtualClock& clock, PanelFaults faults)
    : panel(std::move(faults)), m_clock(clock) {}

bool FakeSerialPort::open() {
    ++opens;
    m_fault = refuseOpen;
    isOpen = !refuseOpen;
    m_buffer.clear();
    return isOpen;
}

void FakeSerialPort::close() {
    ++closes;
    isOpen = false;
}

void FakeSerialPort::send(const QByteArray& bytes) {
    if (!isOpen) {
        sentWhileClosed.append(bytes);
        return;
    }
    sent += bytes;
    if (!script.isEmpty()) {
        deliver(script.takeFirst(), replyDelayMs);
        return;
    }
    if (!connected)
        return;
    for (const PanelEngine::Reply& reply : panel.receive(bytes)) {
        if (reply.hangUp) {
            m_clock.after(replyDelayMs + reply.delayMs, [this] { vanish(); });
            continue;
        }
        deliver(reply.bytes, replyDelayMs + reply.delayMs);
    }
}

QByteArray FakeSerialPort::takeAll() {
    QByteArray all;
    all.swap(m_buffer);
    return all;
}

void FakeSerialPort::deliver(const QByteArray& bytes, int delayMs) {
    m_clock.after(delayMs, [this, bytes] { m_buffer += bytes; });
}

void FakeSerialPort::vanish() {
    if (!isOpen)
        return;
    m_fault = QStringLiteral("SERIAL PORT /dev/fake FAILED DURING COMMUNICATIONS: DEVICE GONE");
    isOpen = false;
    m_buffer.clear();
}
