#include "schedule/ScheduleCommand.h"

#include "files/FileSave.h"
#include "platform/AppInfo.h"
#include "schedule/Csv.h"
#include "schedule/Schedule.h"
#include "schedule/ScheduleExport.h"
#include "schedule/ScheduleImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString program() {
    return QLatin1String(AppInfo::programName);
}

int runImport(const ScheduleOptions& options, QString* out, QString* errors) {
    const QString& path = options.files.first();
    auto unreadable = [&](const QString& why) {
        *errors += QStringLiteral("%1: %2: %3; nothing written\n").arg(program(), path, why);
        return ScheduleCommand::unreadable;
    };
    const auto read = ScheduleImport::readFile(path);
    if (const auto* why = std::get_if<QString>(&read))
        return unreadable(*why);
    const QByteArray& bytes = std::get<QByteArray>(read);

    // The folders made for the import go again when nothing is written.
    QString made = QDir::cleanPath(QDir(options.output).absolutePath());
    for (QString up = made; !QFileInfo::exists(up) && QFileInfo(up).dir().path() != up;
         up = QFileInfo(up).dir().path())
        made = up;
    const bool making = !QFileInfo::exists(made);
    const QDir folder(options.output);
    if (making && !QDir().mkpath(options.output))
        return unreadable(QStringLiteral("the folder %1 cannot be made").arg(options.output));
    const ScheduleImport::Result result = ScheduleImport::run(bytes, folder, options.replace);
    if (result.unreadable) {
        if (making) // each only while empty
            for (QString down = QDir::cleanPath(folder.absolutePath());
                 down.size() >= made.size() && QDir().rmdir(down);
                 down = QFileInfo(down).dir().path()) {
            }
        return unreadable(*result.unreadable);
    }
    int written = 0;
    for (const ScheduleImport::Panel& panel : result.panels) {
        if (panel.written) {
            *out += QDir::toNativeSeparators(panel.path) + QLatin1Char('\n');
            ++written;
            continue;
        }
        for (const QString& why : panel.refusals)
            *errors += QStringLiteral("%1: %2: %3\n").arg(program(), path, why);
        *errors +=
            QStringLiteral("%1: %2: panel %3 not written\n").arg(program(), path, panel.name);
    }
    if (written < result.panels.size()) {
        *errors += QStringLiteral("%1: %2 of %3 panels written\n")
                       .arg(program())
                       .arg(written)
                       .arg(result.panels.size());
        return ScheduleCommand::notAll;
    }
    return 0;
}

// Only a new file, an empty one or an earlier schedule is replaced: never a
// configuration, a sheet or a file of another kind.
std::optional<QString> exportRefusal(const QString& path) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return QStringLiteral("not a regular file");
    if (!target.exists() || target.size() == 0)
        return std::nullopt;
    QFile file(path);
    if (target.size() > ScheduleImport::maxScheduleBytes || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("it exists and is not a schedule");
    const auto table = Csv::read(file.readAll());
    const auto* read = std::get_if<Csv::Table>(&table);
    QStringList headings = read && !read->rows.isEmpty() ? read->rows.first() : QStringList();
    for (QString& h : headings)
        h = h.trimmed().toUpper();
    if (!headings.contains(Schedule::headings[Schedule::Panel]) ||
        !headings.contains(Schedule::headings[Schedule::Item]))
        return QStringLiteral("it exists and is not a schedule");
    return std::nullopt;
}

int runExport(const ScheduleOptions& options, QString* out, QString* errors) {
    // Refused before anything is read, so a wrong -o costs nothing.
    if (const auto refused = exportRefusal(options.output)) {
        *errors +=
            QStringLiteral("%1: %2 not written: %3\n").arg(program(), options.output, *refused);
        return ScheduleCommand::notAll;
    }
    const ScheduleExport::Result result = ScheduleExport::run(options.files);
    for (const QString& s : result.skipped)
        *errors += QStringLiteral("%1: %2: skipped\n").arg(program(), s);
    for (const QString& n : result.notes)
        *errors += QStringLiteral("%1: %2\n").arg(program(), n);
    if (result.panels == 0) {
        *errors += QStringLiteral("%1: no panel to export; %2 not written\n")
                       .arg(program(), options.output);
        return ScheduleCommand::notAll;
    }
    if (const auto why = FileSave::replaceWhole(options.output, result.csv)) {
        *errors += QStringLiteral("%1: cannot write %2: %3\n").arg(program(), options.output, *why);
        return ScheduleCommand::notAll;
    }
    *out += QStringLiteral("%1: %2 panels\n")
                .arg(QDir::toNativeSeparators(options.output))
                .arg(result.panels);
    if (!result.skipped.isEmpty())
        return ScheduleCommand::notAll;
    return result.notes.isEmpty() ? 0 : ScheduleCommand::changed;
}
} // namespace

int ScheduleCommand::run(const ScheduleOptions& options, QString* out, QString* errors) {
    return options.command == importName ? runImport(options, out, errors)
                                         : runExport(options, out, errors);
}
