#include "link/QtSerialPort.h"

#include "link/DeviceAccess.h"
#include "link/PortNames.h"

QtSerialPort::QtSerialPort(QString deviceName)
    : m_named(std::move(deviceName)), m_userMayOpen(DeviceAccess::userMayOpen) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
    chooseDevice();
}

void QtSerialPort::setPortNumber(int number) {
    m_number = number;
    chooseDevice();
}

void QtSerialPort::setDeviceName(const QString& name) {
    m_named = name.trimmed();
    chooseDevice();
}

void QtSerialPort::chooseDevice() {
    m_device = m_named.isEmpty() ? PortNames::numbered(m_number) : PortNames::normalised(m_named);
    if (!m_port.isOpen())
        m_port.setPortName(m_device);
}

void QtSerialPort::setAccessCheck(std::function<bool(const QString&)> userMayOpen) {
    m_userMayOpen = std::move(userMayOpen);
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
    m_detail.clear();
    m_remedy.clear();
    m_port.setPortName(m_device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        openFailed();
        return false;
    }
    if (!applySettings()) {
        m_port.close();
        m_fault =
            QString("SERIAL PORT %1 DOES NOT ACCEPT THE SETTINGS %2").arg(m_device, m_settings);
        return false;
    }
    // Noise on the line or a late reply that reached the device while it was
    // closed must not pass for the first reply.
    m_port.clear(QSerialPort::Input);
    return true;
}

// The platform reports a port held by another program and a port this user
// may not open alike; the device's permissions tell them apart. A path too
// long for the system fails at the port's lock file, and /dev/null fails
// with "Inappropriate ioctl for device": what lies at the path tells those.
void QtSerialPort::openFailed() {
    m_detail = m_port.errorString();
    const bool denied =
        m_port.error() == QSerialPort::PermissionError && m_userMayOpen && !m_userMayOpen(m_device);
    if (!denied) {
        switch (DeviceAccess::kindOf(m_device)) {
        case DeviceAccess::Kind::Missing:
            m_fault = QString("SERIAL PORT %1 NOT FOUND").arg(m_device);
            return;
        case DeviceAccess::Kind::NotSerial:
            m_fault = QString("SERIAL PORT %1 CANNOT BE OPENED: NOT A SERIAL PORT").arg(m_device);
            return;
        case DeviceAccess::Kind::Serial:
        case DeviceAccess::Kind::Unknown:
            break;
        }
    }
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        m_fault = QString("SERIAL PORT %1 NOT FOUND").arg(m_device);
        break;
    case QSerialPort::PermissionError:
        if (denied) {
            m_fault = QString("SERIAL PORT %1 CANNOT BE OPENED: ACCESS DENIED").arg(m_device);
            m_remedy = DeviceAccess::permissionRemedy(m_device);
        } else {
            m_fault =
                QString("SERIAL PORT %1 CANNOT BE OPENED: IN USE BY ANOTHER PROGRAM").arg(m_device);
        }
        break;
    default:
        m_fault = QString("SERIAL PORT %1 CANNOT BE OPENED: %2").arg(m_device, m_detail.toUpper());
    }
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
}

// A command the port would not take fails the port, as a write error does.
void QtSerialPort::send(const QByteArray& bytes) {
    if (m_port.isOpen() && m_port.write(bytes) != bytes.size() && m_port.isOpen()) {
        m_fault = QString("SERIAL PORT %1 FAILED DURING COMMUNICATIONS: "
                          "THE DEVICE WAS DISCONNECTED OR REFUSED THE DATA")
                      .arg(m_device);
        m_detail = m_port.errorString();
        m_port.close();
    }
}

qint64 QtSerialPort::waiting() const {
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialPort::takeAll() {
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

// A device that vanishes while open raises ReadError or ResourceError (a USB
// adapter pulled out) again and again; the first one closes the port. The
// system's words ("Inappropriate ioctl for device") go to the trace only.
void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (!m_port.isOpen())
        return;
    QString what;
    switch (error) {
    case QSerialPort::ResourceError:
        what = QStringLiteral("THE DEVICE WAS DISCONNECTED");
        break;
    case QSerialPort::ReadError:
        what = QStringLiteral("THE DEVICE WAS DISCONNECTED OR STOPPED ANSWERING");
        break;
    case QSerialPort::WriteError:
        what = QStringLiteral("THE DEVICE WAS DISCONNECTED OR REFUSED THE DATA");
        break;
    default:
        return;
    }
    m_fault = QString("SERIAL PORT %1 FAILED DURING COMMUNICATIONS: %2").arg(m_device, what);
    m_detail = m_port.errorString();
    m_port.close();
}
