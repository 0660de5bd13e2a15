#include "FakeSerialPort.h"

#include <QTimer>

FakeSerialPort::FakeSerialPort(PanelFaults faults) : panel(std::move(faults)) {}

bool FakeSerialPort::open() {
    ++opens;
    m_fault = refuseOpen;
    isOpen = !refuseOpen;
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
            QTimer::singleShot(replyDelayMs + reply.delayMs, this, &FakeSerialPort::vanish);
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
    QTimer::singleShot(delayMs, this, [this, bytes] {
        if (isOpen)
            m_buffer += bytes;
    });
}

void FakeSerialPort::vanish() {
    if (!isOpen)
        return;
    m_fault = QStringLiteral("SERIAL PORT /dev/fake FAILED DURING COMMUNICATIONS: DEVICE GONE");
    isOpen = false;
    m_buffer.clear();
}
