#pragma once

#include "PanelEngine.h"
#include "VirtualClock.h"
#include "link/SerialPort.h"

#include <QObject>

// A serial port with a simulated panel on the far side. Replies arrive after
// a delay on the test's clock, during a wait, as a real port's bytes do.
class FakeSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit FakeSerialPort(VirtualClock& clock, PanelFaults faults = {});

    void setPortNumber(int number) override { portNumber = number; }
    void setDeviceName(const QString& name) override { namedDevice = name; }
    QString deviceName() const override {
        return namedDevice.isEmpty() ? "/dev/fake" : namedDevice;
    }
    QString faultRemedy() const override { return m_fault ? remedy : QString(); }
    void setSettings(const QString& s) override { settings = s; }
    bool open() override;
    void close() override;
    void send(const QByteArray& bytes) override;
    qint64 waiting() const override { return m_buffer.size(); }
    QByteArray takeAll() override;
    std::optional<QString> fault() const override { return m_fault; }

    // Bytes that arrive whether asked for or not; while the port is closed
    // they wait for it, as they do in a device's buffer, until open() drops them.
    void deliver(const QByteArray& bytes, int delayMs = 0);
    // The device vanishes: the port fails and closes.
    void vanish();

    PanelEngine panel;
    bool connected = true;             // false: no panel on the line
    QList<QByteArray> script;          // when not empty, answers each send instead of the panel
    int replyDelayMs = 2;              // time on the line before a reply arrives
    std::optional<QString> refuseOpen; // open() fails with this fault
    QByteArray sent;                   // everything sent while open
    QList<QByteArray> sentWhileClosed;
    int portNumber = 0;
    QString namedDevice;
    QString remedy; // offered with a fault
    QString settings;
    int opens = 0;
    int closes = 0;
    bool isOpen = false;

private:
    VirtualClock& m_clock;
    QByteArray m_buffer;
    std::optional<QString> m_fault;
};
