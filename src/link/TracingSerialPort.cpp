#include "link/TracingSerialPort.h"

void TracingSerialPort::setSettings(const QString& settings) {
    m_settings = settings;
    m_port.setSettings(settings);
}

bool TracingSerialPort::open() {
    m_faultNoted = false;
    m_open = m_port.open();
    if (m_open)
        m_trace.note(QStringLiteral("port %1 opened, %2").arg(deviceName(), m_settings));
    else
        noteFault();
    return m_open;
}

void TracingSerialPort::close() {
    m_port.close();
    if (m_open)
        m_trace.note(QStringLiteral("port %1 closed").arg(deviceName()));
    m_open = false;
}

void TracingSerialPort::send(const QByteArray& bytes) {
    m_trace.sent(bytes);
    m_port.send(bytes);
}

QByteArray TracingSerialPort::takeAll() {
    const QByteArray bytes = m_port.takeAll();
    m_trace.received(bytes);
    return bytes;
}

std::optional<QString> TracingSerialPort::fault() const {
    std::optional<QString> fault = m_port.fault();
    if (fault && !m_faultNoted)
        noteFault();
    return fault;
}

// The fault once, in the tool's words and the system's.
void TracingSerialPort::noteFault() const {
    const std::optional<QString> fault = m_port.fault();
    if (!fault)
        return;
    m_faultNoted = true;
    QString text = *fault;
    if (const QString detail = m_port.faultDetail(); !detail.isEmpty())
        text += QStringLiteral(" (system: %1)").arg(detail);
    m_trace.note(text);
}
