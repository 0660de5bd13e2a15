#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A schedule of configuration files: each file opened as the window's open
// command opens it, and its panel written as the window then shows it, one
// row per item, so that importing the schedule saves the files again as
// they were.
namespace ScheduleExport {
struct Result {
    QByteArray csv;      // the schedule, UTF-8 with a byte-order mark
    QStringList skipped; // "FILE: why", for each file that did not open
    QStringList notes;   // "FILE: ...", each value the window showed otherwise
                         // than the file holds it, and what an import would refuse
    int panels = 0;
};

Result run(const QStringList& files);
} // namespace ScheduleExport
