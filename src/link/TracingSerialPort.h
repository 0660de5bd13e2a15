#pragma once

#include "link/ForwardingSerialPort.h"
#include "link/LinkTrace.h"

// A serial port that writes what passes through it to a trace. Only put in
// place when tracing was asked for.
class TracingSerialPort : public ForwardingSerialPort {
public:
    TracingSerialPort(SerialPort& port, LinkTrace& trace)
        : ForwardingSerialPort(port), m_trace(trace) {}

    void setSettings(const QString& settings) override;
    bool open() override;
    void close() override;
    void send(const QByteArray& bytes) override;
    QByteArray takeAll() override;
    std::optional<QString> fault() const override;

private:
    void noteFault() const;

    LinkTrace& m_trace;
    QString m_settings;
    bool m_open = false;
    mutable bool m_faultNoted = false;
};
