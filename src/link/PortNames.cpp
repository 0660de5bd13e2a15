#include "link/PortNames.h"

#include <QSerialPortInfo>

namespace PortNames {

QString numbered(int number) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QList<Port> available() {
    QList<Port> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        if (description.isEmpty())
            description = info.manufacturer();
#ifdef Q_OS_WIN
        ports.append({info.portName(), description}); // COM3; its location is \\.\COM3
#else
        ports.append({info.systemLocation(), description});
#endif
    }
    return ports;
}

} // namespace PortNames
