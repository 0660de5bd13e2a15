#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The serial port as the panel link uses it. QtSerialPort drives a real
// device; tests drive a scripted one.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void setPortNumber(int number) = 0;
    // A device named here (/dev/ttyUSB0, COM3) is used instead of the
    // numbered port; an empty name gives the numbered port back.
    virtual void setDeviceName(const QString& name) = 0;
    // Line settings as text: baud rate, parity, data bits, stop bits ("9600,N,8,1").
    virtual void setSettings(const QString& settings) = 0;
    // Whatever reached the device while it was closed is discarded: a
    // transaction starts with an empty receive buffer.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual void send(const QByteArray& bytes) = 0;
    // Received characters waiting; the count grows only while events are processed.
    virtual qint64 waiting() const = 0;
    virtual QByteArray takeAll() = 0;

    // Set when the port could not be opened or failed while open: an
    // upper-case text that says what failed and names the device. A failed
    // port is closed and sends nothing more.
    virtual std::optional<QString> fault() const = 0;
    // The system's own reason for the fault, for the trace; may be empty.
    virtual QString faultDetail() const { return {}; }
    // What the user can do about the fault, in plain words, when there is a
    // remedy to explain (a permission to obtain); empty otherwise.
    virtual QString faultRemedy() const { return {}; }
    // The device the next open() uses.
    virtual QString deviceName() const = 0;
};
