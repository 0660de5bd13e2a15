#include "schedule/ScheduleImport.h"

#include "files/FileCommands.h"
#include "files/OutputGuard.h"
#include "model/AssignmentTable.h"
#include "model/IntensityCode.h"
#include "platform/AnsweringDialogs.h"
#include "session/Session.h"

#include <QFile>
#include <QFileInfo>

namespace {
// The panel picked in the lists and typed into the boxes, in the order the
// window is filled by hand: each item's module before its channel, the
// backlighting intensity before the indicator's, since the indicator list
// starts at 100 % and the rule holds the indicator at or above the
// backlighting.
void pick(Session& s, const Schedule::PanelPlan& panel) {
    s.setBoxText(2, panel.name);
    const auto& rows = assignmentRows();
    for (size_t r = 0; r < rows.size(); ++r) {
        s.selectListEntry(rows[r].moduleList, panel.module[r]);
        if (panel.channel[r] >= 0)
            s.selectListEntry(rows[r].channelList, panel.channel[r]);
        if (rows[r].designationBox)
            s.setBoxText(rows[r].designationBox, panel.designation[r]);
    }
    s.selectListEntry(intensityRow(IntensitySetting::Backlight).list, panel.intensity[0]);
    s.selectListEntry(intensityRow(IntensitySetting::Indicator).list, panel.intensity[1]);
    s.selectListEntry(intensityRow(IntensitySetting::Dimmed).list, panel.intensity[2]);
}

// files: where a dry run keeps what it would write; null for the disk.
ScheduleImport::Panel write(const Schedule::PanelPlan& plan, const QDir& folder, bool replace,
                            const QString& keptHint, ScheduleImport::Files* files) {
    ScheduleImport::Panel panel{plan.name, folder.filePath(plan.fileName), {}, false};
    for (const Schedule::Refusal& r : plan.refusals)
        panel.refusals << Schedule::describe(r);
    if (!panel.refusals.isEmpty())
        return panel;

    AnsweringDialogs dialogs;
    Session session(dialogs);
    bool ruleApplied = false;
    QObject::connect(&session, &Session::intensityRuleApplied,
                     [&ruleApplied] { ruleApplied = true; });
    pick(session, plan);
    if (ruleApplied) {
        panel.refusals << Schedule::describe(
            {plan.intensityRow[1], plan.intensityColumn[1], Schedule::headings[Schedule::Indicator],
             QStringLiteral("%1 % with NORMAL BACKLIGHTING %2 %: %3")
                 .arg(IntensityCode::texts[size_t(plan.intensity[1])],
                      IntensityCode::texts[size_t(plan.intensity[0])],
                      AnsweringDialogs::line(Session::ruleMessage, Dialogs::applicationTitle))});
        return panel;
    }
    // A link counts as the file it names, even one that names nothing yet,
    // and is never written through.
    const QFileInfo target(panel.path);
    if (!files && (target.exists() || target.isSymLink())) {
        QString why;
        if (!replace)
            why = QStringLiteral("%1 exists; %2").arg(panel.path, keptHint);
        else if (const auto refused = OutputGuard::configurationRefusal(panel.path))
            why = QStringLiteral("%1 %2; it is never replaced").arg(panel.path, *refused);
        if (!why.isEmpty()) {
            panel.refusals << Schedule::describe({plan.firstRow, 0, {}, why});
            return panel;
        }
    }
    FileCommands::Writer keep;
    if (files)
        keep = [files](const QString& path, const QByteArray& bytes) {
            files->insert(path, bytes);
            return std::optional<QString>();
        };
    const FileOutcome saved = FileCommands(session, dialogs).saveAs(panel.path, keep);
    if (saved.kind != FileOutcome::Kind::Saved) {
        panel.refusals << Schedule::describe({plan.firstRow, 0, {}, saved.shown});
        return panel;
    }
    panel.written = true;
    return panel;
}
} // namespace

namespace {
ScheduleImport::Result import(QByteArrayView schedule, const QDir& folder, bool replace,
                              const QString& keptHint, ScheduleImport::Files* files) {
    ScheduleImport::Result result;
    const auto table = Csv::read(schedule);
    if (const auto* error = std::get_if<Csv::Error>(&table)) {
        result.unreadable = Schedule::describe({error->row, error->column, {}, error->reason});
        return result;
    }
    const auto plan = Schedule::plan(std::get<Csv::Table>(table));
    if (const auto* refusal = std::get_if<Schedule::Refusal>(&plan)) {
        result.unreadable = Schedule::describe(*refusal);
        return result;
    }
    for (const Schedule::PanelPlan& p : std::get<Schedule::Plan>(plan).panels)
        result.panels << write(p, folder, replace, keptHint, files);
    return result;
}
} // namespace

ScheduleImport::Result ScheduleImport::run(QByteArrayView schedule, const QDir& folder,
                                           bool replace, const QString& keptHint) {
    return import(schedule, folder, replace, keptHint, nullptr);
}

ScheduleImport::Result ScheduleImport::dryRun(QByteArrayView schedule, const QDir& folder,
                                              Files* files) {
    return import(schedule, folder, true, {}, files);
}

std::variant<QByteArray, QString> ScheduleImport::readFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return QStringLiteral("not a regular file");
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    if (file.size() > maxScheduleBytes)
        return QStringLiteral("too large to be a schedule");
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return bytes;
}
