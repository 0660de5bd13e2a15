#pragma once

#include <QString>

// panelconfig status FOLDER: what the site window shows, on the console.
namespace SiteStatus {
inline const QString name = QStringLiteral("status");

// Exit status when FOLDER cannot be read.
inline constexpr int unreadable = 3;

// One tab-separated line per configuration file (file, panel name, state,
// time, port, model last seen) and the summary line to out; 0, or unreadable with the reason
// in errors. Needs no window, nor any application object.
int run(const QString& folder, QString* out, QString* errors);
} // namespace SiteStatus
