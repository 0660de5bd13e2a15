#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

#include <functional>

// The product's serial port: the platform's numbered port, or the device
// named on the command line or in the window.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QString deviceName = {});

    void setPortNumber(int number) override;
    void setDeviceName(const QString& name) override;
    void setSettings(const QString& settings) override;
    bool open() override;
    void close() override;
    void send(const QByteArray& bytes) override;
    qint64 waiting() const override;
    QByteArray takeAll() override;
    std::optional<QString> fault() const override { return m_fault; }
    QString faultDetail() const override { return m_detail; }
    QString faultRemedy() const override { return m_remedy; }
    QString deviceName() const override { return m_device; }

    // Tests raise line faults through the port's own signal, and stand in for
    // a permission check that binds root.
    QSerialPort& qtPort() { return m_port; }
    void setAccessCheck(std::function<bool(const QString&)> userMayOpen);

private:
    void onError(QSerialPort::SerialPortError error);
    bool applySettings();
    void chooseDevice();
    void openFailed();

    QSerialPort m_port;
    QString m_named;  // set by name; empty: the numbered port
    QString m_device; // as given, a path on Linux; the port's own name drops "/dev/"
    int m_number = 1;
    QString m_settings;
    std::function<bool(const QString&)> m_userMayOpen;
    std::optional<QString> m_fault;
    QString m_detail;
    QString m_remedy;
};
