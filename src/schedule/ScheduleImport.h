#pragma once

#include "schedule/Schedule.h"

#include <QByteArrayView>
#include <QDir>
#include <QHash>
#include <QString>
#include <QStringList>

#include <variant>

// Writes one configuration file per panel of a schedule, each as the window's
// save command writes it: the panel's values are picked in a session's lists
// and boxes as a user would click and type them, so the intensity rule and
// the completeness check are the window's own, and the file is saved by the
// save command.
namespace ScheduleImport {
struct Panel {
    QString name;
    QString path;         // where it is, or would have been, written
    QStringList refusals; // each with its row and column; empty when written
    bool written = false;
};

struct Result {
    std::optional<QString> unreadable; // the schedule as a whole, with where
    QList<Panel> panels;
};

// replace: whether a file that exists may be replaced; each is replaced only
// once the new one is complete. A file kept is refused with keptHint after
// "exists; " (what the caller offers instead).
Result run(QByteArrayView schedule, const QDir& folder, bool replace,
           const QString& keptHint = QStringLiteral("--replace replaces it"));

// A schedule is far below this; anything larger is not one.
inline constexpr qint64 maxScheduleBytes = 64 * 1024 * 1024;

// The bytes of the schedule file at path; the reason, when it is none that
// can be read (not a regular file, unreadable, too large to be a schedule).
std::variant<QByteArray, QString> readFile(const QString& path);

// The files an import would write, by path, without touching the disk.
using Files = QHash<QString, QByteArray>;
Result dryRun(QByteArrayView schedule, const QDir& folder, Files* files);
} // namespace ScheduleImport
