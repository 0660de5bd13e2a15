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
        ports.append({info.systemLocation(), description});
    }
    return ports;
}

} // namespace PortNames
