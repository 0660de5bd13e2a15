#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

// The product's serial port. Port number 1 is the platform's first serial
// port unless a device was named on the command line.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QString deviceOverride = {});

    void setPortNumber(int number) override;
    void setSettings(const QString& settings) override;
    bool open() override;
    void close() override;
    void send(const QByteArray& bytes) override;
    qint64 waiting() const override;
    QByteArray takeAll() override;
    std::optional<QString> fault() const override { return m_fault; }

private:
    void onError(QSerialPort::SerialPortError error);
    bool applySettings();

    QSerialPort m_port;
    QString m_override;
    QString m_device; // as given, a path on Linux; the port's own name drops "/dev/"
    QString m_settings;
    std::optional<QString> m_fault;
};
