#pragma once

#include <QList>
#include <QString>

// Serial device names as the platform spells them.
namespace PortNames {
// The platform's serial port by number: COM1 on Windows, the first USB
// adapter's /dev/cu.* on macOS, /dev/ttyS0 elsewhere.
QString numbered(int number);

struct Port {
    QString device;      // what opens it: /dev/ttyUSB0, COM3
    QString description; // the adapter's own words, or its maker's; may be empty
};
// The order the ports are offered in: the numbers in a name compare as
// numbers (ttyS2 before ttyS10, COM9 before COM10) under every locale, the C
// locale of a service included; the rest by character.
bool lessByNumber(const QString& a, const QString& b);

// The serial ports the system knows of now.
QList<Port> available();
} // namespace PortNames
