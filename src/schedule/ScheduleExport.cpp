#include "schedule/ScheduleExport.h"

#include "files/ConfigFileReader.h"
#include "files/FileCommands.h"
#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/EntryText.h"
#include "model/IntensityCode.h"
#include "platform/AnsweringDialogs.h"
#include "schedule/Csv.h"
#include "schedule/Schedule.h"
#include "schedule/ScheduleImport.h"
#include "session/PanelWords.h"
#include "session/Session.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// The window's panel, a row per item, in the schedule's columns.
QList<QStringList> rowsOf(const Session& s, const QString& fileName) {
    QStringList intensities;
    for (IntensitySetting setting :
         {IntensitySetting::Backlight, IntensitySetting::Indicator, IntensitySetting::Dimmed})
        intensities << entryText(IntensityCode::texts, s.listIndex(intensityRow(setting).list));
    QList<QStringList> rows;
    for (const AssignmentRow& row : assignmentRows()) {
        const int module = s.listIndex(row.moduleList);
        QStringList fields(Schedule::columnCount);
        fields[Schedule::Panel] = s.boxText(2);
        fields[Schedule::Item] = row.item;
        fields[Schedule::Module] = entryText(ChannelCode::moduleTexts, module);
        if (module != 0)
            fields[Schedule::Channel] =
                entryText(ChannelCode::channelTexts, s.listIndex(row.channelList));
        if (row.designationBox)
            fields[Schedule::Designation] = s.boxText(row.designationBox);
        fields[Schedule::Backlight] = intensities[0];
        fields[Schedule::Indicator] = intensities[1];
        fields[Schedule::Dimmed] = intensities[2];
        fields[Schedule::File] = fileName;
        rows << fields;
    }
    return rows;
}
} // namespace

ScheduleExport::Result ScheduleExport::run(const QStringList& files) {
    Result result;
    QString text =
        Csv::formatRow(QStringList(Schedule::headings.begin(), Schedule::headings.end()));
    QHash<int, QString> fileOfRow; // for the import's refusals, by the row's number
    QSet<QString> noted;           // the files a note is about
    int rowNumber = 1;
    for (const QString& path : files) {
        const ConfigFileRead read = readConfigFile(path);
        if (!read.line) {
            result.skipped << QStringLiteral("%1: %2").arg(path, read.reason);
            continue;
        }
        AnsweringDialogs dialogs;
        Session session(dialogs);
        FileCommands commands(session, dialogs);
        commands.showFile(*read.line);
        QStringList shown = dialogs.messages(); // the rule's message comes once per intensity
        shown.removeDuplicates();
        for (const QString& m : std::as_const(shown)) {
            result.notes << QStringLiteral("%1: %2").arg(path, m);
            noted << path;
        }
        if (const auto shown = session.valuesToSend())
            for (const PanelWords::Adjustment& a :
                 PanelWords::adjustments(ConfigFile::panelValues(*read.line), *shown))
                result.notes << QStringLiteral("%1: %2").arg(
                    path, PanelWords::describe(session, a, QStringLiteral("the file"),
                                               QStringLiteral("exported")));
        for (const QStringList& row : rowsOf(session, QFileInfo(path).fileName())) {
            text += Csv::formatRow(row);
            fileOfRow.insert(++rowNumber, path);
        }
        ++result.panels;
    }
    result.csv = Csv::encode(text);

    // Read back as the import will: whatever it would refuse is told now.
    const auto table = Csv::read(result.csv);
    if (const auto* t = std::get_if<Csv::Table>(&table)) {
        const auto plan = Schedule::plan(*t);
        if (const auto* p = std::get_if<Schedule::Plan>(&plan))
            for (const Schedule::PanelPlan& panel : p->panels)
                for (const Schedule::Refusal& r : panel.refusals) {
                    result.notes << QStringLiteral("%1: an import would refuse %2")
                                        .arg(fileOfRow.value(r.row), Schedule::describe(r));
                    noted << fileOfRow.value(r.row);
                }
    }

    // And imported, without touching the disk: a file that would not come
    // back byte for byte (another caption, fields after the last) is told too.
    QHash<QString, QString> sourceOf; // by file name, as the schedule's FILE column has it
    for (const QString& path : files)
        sourceOf.insert(QFileInfo(path).fileName(), path);
    const QDir scratch(QStringLiteral("/"));
    ScheduleImport::Files again;
    for (const ScheduleImport::Panel& panel :
         ScheduleImport::dryRun(result.csv, scratch, &again).panels) {
        const QString source = sourceOf.value(QFileInfo(panel.path).fileName());
        if (!panel.written || source.isEmpty() || noted.contains(source))
            continue;
        QFile original(source);
        if (!original.open(QIODevice::ReadOnly) || again.value(panel.path) != original.readAll())
            result.notes << QStringLiteral("%1: an import would write it otherwise than it is "
                                           "(the window's captions, no further fields)")
                                .arg(source);
    }
    return result;
}
