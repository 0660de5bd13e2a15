#pragma once

#include <QString>

namespace FileNames {

// The panel name as the start of a file name that every system accepts:
// files travel between the site's Windows laptops, USB sticks and Linux, so
// what Windows forbids (\ / : * ? " < > |) becomes "_",
// and a device name of Windows (CON, AUX, COM1, …) gets a "_" in front.
QString fromPanelName(const QString& name);

} // namespace FileNames
