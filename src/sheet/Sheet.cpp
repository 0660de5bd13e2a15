#include "sheet/Sheet.h"

#include "files/FileCommands.h"
#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/ConfigScreen.h"
#include "model/EntryText.h"
#include "model/IntensityCode.h"
#include "model/MemoryMap.h"
#include "session/PanelWords.h"
#include "session/Session.h"

#include <algorithm>

namespace {
constexpr std::array<IntensitySetting, 3> shownIntensities = {
    IntensitySetting::Indicator, IntensitySetting::Backlight, IntensitySetting::Dimmed};

Sheet blankSheet() {
    Sheet sheet;
    const auto& rows = assignmentRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        sheet.items[i].item = rows[i].item;
        sheet.items[i].isSwitch = rows[i].incompleteFlag == 1;
    }
    for (size_t i = 0; i < shownIntensities.size(); ++i)
        sheet.intensities[i].caption =
            QString::fromLatin1(intensityRow(shownIntensities[i]).caption);
    sheet.printed = QDateTime::currentDateTime();
    return sheet;
}

// An item whose module is "N/A" has its channel list hidden in the window.
void showPositions(Sheet::Item& item, int moduleIndex, int channelIndex) {
    item.module = entryText(ChannelCode::moduleTexts, moduleIndex);
    item.channel =
        moduleIndex == 0 ? item.module : entryText(ChannelCode::channelTexts, channelIndex);
}
} // namespace

Sheet sheetFromFile(const ConfigFileLine& line, const QString& path, Dialogs& dialogs) {
    Session session(dialogs);
    FileCommands files(session, dialogs);
    files.showFile(line);
    Sheet sheet = sheetFromWindow(session);
    sheet.source = path;
    if (const auto shown = session.valuesToSend())
        noteAdjustments(sheet, session, ConfigFile::panelValues(line), *shown,
                        QStringLiteral("the file"));
    return sheet;
}

void noteAdjustments(Sheet& sheet, const ConfigScreen& screen, const PanelValues& given,
                     const PanelValues& shown, const QString& giver) {
    for (const PanelWords::Adjustment& a : PanelWords::adjustments(given, shown)) {
        const MemoryMap::Cell& cell = MemoryMap::cells[a.cell];
        if (cell.isChannel) {
            sheet.items[a.cell].marked = true;
        } else {
            const auto at =
                std::find(shownIntensities.begin(), shownIntensities.end(), cell.setting);
            sheet.intensities[size_t(at - shownIntensities.begin())].marked = true;
        }
        sheet.notes << PanelWords::describe(screen, a, giver, QStringLiteral("shown"));
    }
}

Sheet sheetFromWindow(const ConfigScreen& window) {
    Sheet sheet = blankSheet();
    sheet.panel = window.boxText(2);
    sheet.model = ConfigFile::modelText;
    const auto& rows = assignmentRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const int module = window.listIndex(rows[i].moduleList);
        if (module < 0)
            continue; // never assigned: blank
        showPositions(sheet.items[i], module, window.listIndex(rows[i].channelList));
        if (rows[i].designationBox)
            sheet.items[i].designation = window.boxText(rows[i].designationBox);
    }
    for (size_t i = 0; i < shownIntensities.size(); ++i)
        sheet.intensities[i].percent = entryText(
            IntensityCode::texts, window.listIndex(intensityRow(shownIntensities[i]).list));
    return sheet;
}
