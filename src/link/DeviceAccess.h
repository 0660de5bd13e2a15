#pragma once

#include <QString>

// Whether this user may open a serial device at all, as the platform tells.
namespace DeviceAccess {
// False only when the device's permissions shut this user out. Where the
// platform cannot tell (Windows reports a port in use as access denied),
// true.
bool userMayOpen(const QString& device);

// The remedy for a device this user may not open, in plain words.
QString permissionRemedy(const QString& device);
} // namespace DeviceAccess
