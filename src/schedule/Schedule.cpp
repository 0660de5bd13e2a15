#include "schedule/Schedule.h"

#include "files/FileNames.h"
#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/Cp1252.h"
#include "model/IntensityCode.h"
#include "model/TextRules.h"

#include <QHash>

#include <optional>

namespace Schedule {
QString describe(const Refusal& r) {
    QString where;
    if (r.row > 0)
        where = QStringLiteral("row %1").arg(r.row);
    if (r.column > 0)
        where += QStringLiteral(", column %1").arg(Csv::columnName(r.column));
    if (r.column > 0 && !r.heading.isEmpty())
        where += QStringLiteral(" (%1)").arg(r.heading);
    return where.isEmpty() ? r.reason : where + QStringLiteral(": ") + r.reason;
}

namespace {
// The rows a panel item is named by, in the table's order.
int itemRow(const QString& cell) {
    const QString name = cell.trimmed().toUpper();
    const auto& rows = assignmentRows();
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].item == name)
            return int(r);
    return -1;
}

int moduleEntry(const QString& cell) {
    const QString text = cell.trimmed().toUpper();
    for (int e = 0; e < ChannelCode::moduleCount; ++e)
        if (text == QLatin1String(ChannelCode::moduleTexts[size_t(e)]))
            return e;
    return -1;
}

int channelEntry(const QString& cell) {
    const QString text = cell.trimmed();
    for (int e = 0; e < ChannelCode::channelCount; ++e)
        if (text == QLatin1String(ChannelCode::channelTexts[size_t(e)]))
            return e;
    return -1;
}

// "80", "80 %" or "80%", as a spreadsheet may show a percentage.
int intensityEntry(const QString& cell) {
    QString text = cell.trimmed();
    if (text.endsWith(QLatin1Char('%')))
        text = text.chopped(1).trimmed();
    for (int e = 0; e < IntensityCode::entryCount; ++e)
        if (text == QLatin1String(IntensityCode::texts[size_t(e)]))
            return e;
    return -1;
}

// A configuration file's name in the folder itself: nothing else is ever
// written by an import.
bool isPlainFileName(const QString& name) {
    return name == name.trimmed() && name.size() > 4 &&
           name.endsWith(QLatin1String(".zqc"), Qt::CaseInsensitive) &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(':')) && Cp1252::isStorableText(name);
}

// Why FILE cannot name the panel's file, or empty when it can.
QString fileRefusal(const QString& file) {
    if (!isPlainFileName(file))
        return QStringLiteral("\"%1\" is not a plain file name ending in .zqc").arg(file);
    // The files go to Windows machines too: a name one of them refuses, or
    // takes for a device, is no file of the site.
    if (const QString why = FileNames::whyNotPortable(file); !why.isEmpty())
        return QStringLiteral("\"%1\" cannot be a file name on Windows: it %2").arg(file, why);
    return {};
}

struct Reader {
    const Csv::Table& table;
    std::array<int, columnCount> at{}; // each column's position from 0; -1 when absent

    QString cell(const QStringList& row, Column c) const { return row.value(at[c]); }
    Refusal refusal(int row, Column c, const QString& reason) const {
        return {row, at[c] + 1, headings[c], reason};
    }
};

const std::array<Column, 3> intensityColumns = {Backlight, Indicator, Dimmed};

void checkRow(const Reader& in, const QStringList& row, int rowNumber, PanelPlan& panel,
              std::array<int, 22>& givenAt) {
    auto refuse = [&](Column c, const QString& reason) {
        panel.refusals << in.refusal(rowNumber, c, reason);
    };
    const int item = itemRow(in.cell(row, Item));
    if (item < 0) {
        refuse(Item, QStringLiteral("\"%1\" is not an item (SW1 ... SW10, LED1 ... LED10, "
                                    "BACKLIGHTING, DIMMING)")
                         .arg(in.cell(row, Item)));
        return;
    }
    if (givenAt[size_t(item)]) {
        refuse(Item, QStringLiteral("%1 is given again (first in row %2)")
                         .arg(assignmentRows()[size_t(item)].item)
                         .arg(givenAt[size_t(item)]));
        return;
    }
    givenAt[size_t(item)] = rowNumber;

    const int module = moduleEntry(in.cell(row, Module));
    const int channel = channelEntry(in.cell(row, Channel));
    const QString channelText = in.cell(row, Channel).trimmed();
    if (module < 0)
        refuse(
            Module,
            QStringLiteral("\"%1\" is not a module (A ... P, or N/A)").arg(in.cell(row, Module)));
    else if (module == 0 && !channelText.isEmpty() &&
             channelText.compare(QLatin1String("N/A"), Qt::CaseInsensitive) != 0)
        refuse(Channel, QStringLiteral("an item on module N/A has no channel; leave it empty"));
    else if (module > 0 && channel < 0)
        refuse(Channel, QStringLiteral("\"%1\" is not a channel (1 ... 10)").arg(channelText));
    panel.module[size_t(item)] = module;
    panel.channel[size_t(item)] = module == 0 ? -1 : channel;

    const QString designation = in.cell(row, Designation);
    if (item >= 20) {
        if (!designation.isEmpty())
            refuse(Designation, QStringLiteral("%1 has no designation; leave it empty")
                                    .arg(assignmentRows()[size_t(item)].item));
    } else if (designation.size() > TextRules::maxTextLength) {
        refuse(Designation,
               QStringLiteral("longer than %1 characters").arg(TextRules::maxTextLength));
    } else if (!Cp1252::isStorableText(designation)) {
        refuse(Designation, QStringLiteral("holds a double quote, a line break or a character "
                                           "a configuration file cannot hold"));
    } else {
        panel.designation[size_t(item)] = designation;
    }

    for (size_t k = 0; k < intensityColumns.size(); ++k) {
        const Column c = intensityColumns[k];
        const QString text = in.cell(row, c);
        if (text.trimmed().isEmpty())
            continue;
        const int entry = intensityEntry(text);
        if (entry < 0)
            refuse(c, QStringLiteral("\"%1\" is not an intensity (100, 90 ... 30)").arg(text));
        else if (panel.intensityRow[k] && panel.intensity[k] != entry)
            refuse(c, QStringLiteral("%1 differs from the %2 of row %3")
                          .arg(text.trimmed(), IntensityCode::texts[size_t(panel.intensity[k])])
                          .arg(panel.intensityRow[k]));
        else if (!panel.intensityRow[k]) {
            panel.intensity[k] = entry;
            panel.intensityRow[k] = rowNumber;
            panel.intensityColumn[k] = in.at[c] + 1;
        }
    }
}

void checkPanel(const Reader& in, PanelPlan& panel, const std::array<int, 22>& givenAt) {
    auto refuse = [&](Column c, const QString& reason) {
        panel.refusals.prepend(in.refusal(panel.firstRow, c, reason));
    };
    QStringList missing;
    for (size_t r = 0; r < givenAt.size(); ++r)
        if (!givenAt[r])
            missing << assignmentRows()[r].item;
    if (!missing.isEmpty())
        panel.refusals << Refusal{panel.firstRow, in.at[Item] + 1, headings[Item],
                                  QStringLiteral("panel %1 has no row for %2")
                                      .arg(panel.name, missing.join(QStringLiteral(", ")))};
    for (size_t k = 0; k < intensityColumns.size(); ++k)
        if (!panel.intensityRow[k])
            panel.refusals << in.refusal(
                panel.firstRow, intensityColumns[k],
                QStringLiteral("no row of panel %1 gives it").arg(panel.name));
    if (panel.name.isEmpty())
        refuse(Panel, QStringLiteral("a panel needs a name"));
    else if (panel.name.size() > TextRules::panelNameLength)
        refuse(Panel, QStringLiteral("\"%1\" is longer than %2 characters")
                          .arg(panel.name)
                          .arg(TextRules::panelNameLength));
    else if (!Cp1252::isStorableText(panel.name))
        refuse(Panel, QStringLiteral("\"%1\" holds a double quote, a line break or a character a "
                                     "configuration file cannot hold")
                          .arg(panel.name));
}
} // namespace

std::variant<Plan, Refusal> plan(const Csv::Table& table) {
    Reader in{table};
    in.at.fill(-1);
    if (table.rows.isEmpty())
        return Refusal{0, 0, {}, QStringLiteral("the schedule is empty")};
    const QStringList& header = table.rows.first();
    for (int p = 0; p < header.size(); ++p)
        for (int c = 0; c < columnCount; ++c)
            if (header[p].trimmed().compare(headings[size_t(c)], Qt::CaseInsensitive) == 0) {
                if (in.at[size_t(c)] >= 0)
                    return Refusal{1, p + 1, headings[size_t(c)],
                                   QStringLiteral("the heading is given twice")};
                in.at[size_t(c)] = p;
            }
    QStringList missing;
    for (int c = 0; c < File; ++c)
        if (in.at[size_t(c)] < 0)
            missing << QLatin1Char('"') + headings[size_t(c)] + QLatin1Char('"');
    if (!missing.isEmpty())
        return Refusal{
            1,
            0,
            {},
            QStringLiteral("no column headed %1").arg(missing.join(QStringLiteral(", ")))};

    // Rows belong together by panel name and file.
    Plan result;
    QHash<QString, qsizetype> byKey;
    std::vector<std::array<int, 22>> givenAt;
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        if (std::all_of(row.begin(), row.end(),
                        [](const QString& f) { return f.trimmed().isEmpty(); }))
            continue; // a blank row between panels
        const int rowNumber = int(r + 1);
        const QString name = in.cell(row, Panel);
        QString file = in.at[File] >= 0 ? in.cell(row, File) : QString();
        const QString key = name + QChar(0) + file;
        auto found = byKey.constFind(key);
        if (found == byKey.cend()) {
            PanelPlan panel;
            panel.name = name;
            panel.firstRow = rowNumber;
            panel.fileName =
                file.isEmpty() ? FileNames::fromPanelName(name) + QStringLiteral(".zqc") : file;
            if (!file.isEmpty())
                if (const QString why = fileRefusal(file); !why.isEmpty())
                    panel.refusals << in.refusal(rowNumber, File, why);
            found = byKey.insert(key, result.panels.size());
            result.panels << panel;
            givenAt.push_back({});
        }
        checkRow(in, row, rowNumber, result.panels[*found], givenAt[size_t(*found)]);
    }
    for (qsizetype p = 0; p < result.panels.size(); ++p)
        checkPanel(in, result.panels[p], givenAt[size_t(p)]);

    // Two panels may not end in one file; file systems of Windows and macOS
    // do not tell letter cases apart.
    QHash<QString, qsizetype> byFile;
    for (qsizetype p = 0; p < result.panels.size(); ++p) {
        PanelPlan& panel = result.panels[p];
        const QString key = panel.fileName.toCaseFolded();
        if (const auto other = byFile.constFind(key); other != byFile.cend()) {
            const PanelPlan& first = result.panels[*other];
            panel.refusals << in.refusal(panel.firstRow, in.at[File] >= 0 ? File : Panel,
                                         QStringLiteral("would be written to %1 as panel %2 of "
                                                        "row %3 is")
                                             .arg(panel.fileName, first.name)
                                             .arg(first.firstRow));
        } else {
            byFile.insert(key, p);
        }
    }
    if (result.panels.isEmpty())
        return Refusal{0, 0, {}, QStringLiteral("the schedule has no panel")};
    return result;
}
} // namespace Schedule
