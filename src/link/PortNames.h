#pragma once

#include <QList>
#include <QString>

// Serial device names as the platform spells them.
namespace PortNames {
// The platform's serial port by number: COM1 on Windows, the first USB
// adapter's /dev/cu.* on macOS, /dev/ttyS0 elsewhere.
QString numbered(int number);

enum class System { Windows, Other };
#ifdef Q_OS_WIN
inline constexpr System thisSystem = System::Windows;
#else
inline constexpr System thisSystem = System::Other;
#endif
// A device name as the user typed it, as the system's serial port layer
// finds it: Windows takes "com10" for COM10, as its own tools do, but Qt
// reaches ports above COM9 only by the upper-case name. Paths elsewhere are
// case-sensitive and stay as typed, less the spaces around them.
QString normalised(const QString& typed, System system = thisSystem);

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
