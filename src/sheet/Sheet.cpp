#include "sheet/Sheet.h"

#include "model/ChannelCode.h"
#include "model/IntensityCode.h"
#include "model/AssignmentTable.h"
#include "model/ConfigScreen.h"

namespace {
constexpr std::array<IntensitySetting, 3> shownIntensities = {
    IntensitySetting::Indicator, IntensitySetting::Backlight, IntensitySetting::Dimmed};

QString entryText(const auto& texts, int index) {
    return index >= 0 && index < int(texts.size()) ? QString::fromLatin1(texts[index]) : QString();
}

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

Sheet sheetFromFile(const ConfigFileLine& line, const QString& path) {
    Sheet sheet = blankSheet();
    sheet.panel = line.panel;
    sheet.model = line.model;
    sheet.source = path;
    // The codes as the open command selects them: 160 and above are "N/A".
    auto show = [&](Sheet::Item& item, qint16 code) {
        if (code >= ChannelCode::notAssigned)
            showPositions(item, 0, -1);
        else
            showPositions(item, 1 + code / 10, code % 10);
    };
    for (size_t i = 0; i < line.desig.size(); ++i) {
        sheet.items[i].designation = line.desig[i];
        show(sheet.items[i], line.code[i]);
    }
    show(sheet.items[backlightRow], line.value[0]);
    show(sheet.items[dimmingRow], line.value[1]);
    // Fields 48, 50, 52: indicator, backlighting, dimmed; a code outside the
    // table is shown as "100".
    for (size_t i = 0; i < sheet.intensities.size(); ++i)
        sheet.intensities[i].percent =
            entryText(IntensityCode::texts, IntensityCode::entryFor(line.value[2 + i]));
    return sheet;
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
