#pragma once

#include "link/SerialPort.h"

// A serial port that passes everything on to another; a base for ports that
// watch the traffic (the trace, the benchmark's character count).
class ForwardingSerialPort : public SerialPort {
public:
    explicit ForwardingSerialPort(SerialPort& port) : m_port(port) {}

    void setPortNumber(int number) override { m_port.setPortNumber(number); }
    void setDeviceName(const QString& name) override { m_port.setDeviceName(name); }
    void setSettings(const QString& settings) override { m_port.setSettings(settings); }
    bool open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    void send(const QByteArray& bytes) override { m_port.send(bytes); }
    qint64 waiting() const override { return m_port.waiting(); }
    QByteArray takeAll() override { return m_port.takeAll(); }
    std::optional<QString> fault() const override { return m_port.fault(); }
    QString faultDetail() const override { return m_port.faultDetail(); }
    QString faultRemedy() const override { return m_port.faultRemedy(); }
    QString deviceName() const override { return m_port.deviceName(); }

protected:
    SerialPort& m_port;
};
