#pragma once

#include <QString>

// Whether this user may open a serial device at all, as the platform tells.
namespace DeviceAccess {
// False only when the device's permissions shut this user out. Where the
// platform cannot tell (Windows reports a port in use as access denied),
// true.
bool userMayOpen(const QString& device);

// What lies at a device path, as far as the file system tells without
// taking the device: nothing, something that is not a serial port (a file,
// a folder, /dev/null), a serial port, or unknown (Windows, a folder on the
// way this user may not search).
enum class Kind { Missing, NotSerial, Serial, Unknown };
Kind kindOf(const QString& device);

// The remedy for a device this user may not open, in plain words.
QString permissionRemedy(const QString& device);
} // namespace DeviceAccess
