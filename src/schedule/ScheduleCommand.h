#pragma once

#include <QString>
#include <QStringList>

// panelconfig import SCHEDULE.csv -d FOLDER [--replace]
// panelconfig export FILE... -o SCHEDULE.csv
struct ScheduleOptions {
    QString command;   // "import" or "export"
    QStringList files; // import: the schedule; export: the configuration files
    QString output;    // import: the folder; export: the schedule
    bool replace = false;
};

namespace ScheduleCommand {
inline const QString importName = QStringLiteral("import");
inline const QString exportName = QStringLiteral("export");

// Exit statuses beside 0 (done) and 2 (a wrong command line).
inline constexpr int notAll = 1;     // import: a panel not written; export: a FILE skipped or
                                     // the schedule not written
inline constexpr int unreadable = 3; // import: the schedule could not be read
inline constexpr int changed =
    11; // export: a value exported otherwise than its file holds (as the panel commands)

// Runs the command; what is done goes to out, what is refused to errors.
// Needs no window, nor any application object.
int run(const ScheduleOptions& options, QString* out, QString* errors);
} // namespace ScheduleCommand
