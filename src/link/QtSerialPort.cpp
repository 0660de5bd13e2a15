#include "link/QtSerialPort.h"

QtSerialPort::QtSerialPort(QString deviceOverride) : m_override(std::move(deviceOverride)) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

void QtSerialPort::setPortNumber(int number) {
#ifdef Q_OS_WIN
    m_device = QString("COM%1").arg(number);
#else
    m_device = QString("/dev/ttyS%1").arg(number - 1);
#endif
    if (!m_override.isEmpty())
        m_device = m_override;
    m_port.setPortName(m_device);
}

void QtSerialPort::setSettings(const QString& settings) {
    m_settings = settings;
}

bool QtSerialPort::applySettings() {
    const QStringList parts = m_settings.split(',');
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const int baud = parts[0].toInt(&ok);
    const int parityIndex = QStringList{"N", "E", "O"}.indexOf(parts[1]);
    const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                            QSerialPort::OddParity};
    const int dataBits = parts[2].toInt();
    const int stopBits = parts[3].toInt();
    if (!ok || parityIndex < 0 || dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2))
        return false;
    const QSerialPort::Parity parity = parities[parityIndex];
    return m_port.setBaudRate(baud) && m_port.setParity(parity) &&
           m_port.setDataBits(QSerialPort::DataBits(dataBits)) &&
           m_port.setStopBits(stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop);
}

bool QtSerialPort::open() {
    m_fault.reset();
    const QString& device = m_device;
    if (!m_port.open(QIODevice::ReadWrite)) {
        switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError:
            m_fault = QString("SERIAL PORT %1 NOT FOUND").arg(device);
            break;
        case QSerialPort::PermissionError:
            m_fault = QString("SERIAL PORT %1 CANNOT BE OPENED: ACCESS DENIED OR PORT IN USE")
                          .arg(device);
            break;
        default:
            m_fault = QString("SERIAL PORT %1 CANNOT BE OPENED: %2")
                          .arg(device, m_port.errorString().toUpper());
        }
        return false;
    }
    if (!applySettings()) {
        m_port.close();
        m_fault = QString("SERIAL PORT %1 DOES NOT ACCEPT THE SETTINGS %2").arg(device, m_settings);
        return false;
    }
    return true;
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialPort::send(const QByteArray& bytes) {
    if (m_port.isOpen())
        m_port.write(bytes);
}

qint64 QtSerialPort::waiting() const {
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialPort::takeAll() {
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

// A device that vanishes while open raises ReadError or ResourceError again
// and again; the first one closes the port.
void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (!m_port.isOpen() || error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
        error != QSerialPort::WriteError)
        return;
    m_fault = QString("SERIAL PORT %1 FAILED DURING COMMUNICATIONS: %2")
                  .arg(m_device, m_port.errorString().toUpper());
    m_port.close();
}
