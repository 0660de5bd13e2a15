#include "link/PortNames.h"

#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>

namespace PortNames {

QString numbered(int number) {
#if defined(Q_OS_WIN)
    return QStringLiteral("COM%1").arg(number);
#elif defined(Q_OS_MACOS)
    // macOS numbers no serial ports: the first is the first USB adapter's
    // call-out device (/dev/cu.usbserial-A9XXXX), in name order; the two
    // that every Mac has lead to no panel.
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        if (device.startsWith(QLatin1String("/dev/cu.")) &&
            !device.endsWith(QLatin1String("Bluetooth-Incoming-Port")) &&
            !device.endsWith(QLatin1String("debug-console")))
            devices << device;
    }
    devices.sort();
    return number >= 1 && number <= devices.size() ? devices[number - 1]
                                                   : QStringLiteral("/dev/cu.usbserial");
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString normalised(const QString& typed, System system) {
    QString name = typed.trimmed();
    if (system != System::Windows)
        return name;
    // \\.\COM10 and //./COM10 are the same port in the device namespace.
    if (name.startsWith(QLatin1String("\\\\.\\")) || name.startsWith(QLatin1String("//./")))
        name = name.mid(4);
    const bool isCom =
        name.size() > 3 && name.left(3).compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0 &&
        std::all_of(name.cbegin() + 3, name.cend(),
                    [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    return isCom ? QStringLiteral("COM") + name.mid(3) : typed.trimmed();
}

bool lessByNumber(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            // Leading zeros say nothing of the value; a longer run is larger.
            QStringView runA = QStringView(a).mid(startA, i - startA);
            QStringView runB = QStringView(b).mid(startB, j - startB);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (const int order = runA.compare(runB); order != 0)
                return order < 0;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return a.size() - i < b.size() - j;
    return a < b;
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
