#pragma once

#include <QString>

// Whether reading path is refused for want of permission, on the file or on a
// directory on its way. QFile reports every failed open alike, so only the
// file system can tell a refused access from a missing file.
bool readAccessDenied(const QString& path);
