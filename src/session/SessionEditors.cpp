// The click behaviour of the lists: the 22 module and channel list pairs keep
// each item's module part, channel part and code in step with the selections;
// the three intensity lists keep their codes and the rule that the normal
// indicator is at least as bright as the normal backlighting; and the
// collection of every item's code before a configuration leaves the tool.

#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/IntensityCode.h"
#include "model/MemoryMap.h"
#include "session/Session.h"

std::function<void()> Session::handler(const QString& name) {
    const auto& rows = assignmentRows();
    for (int r = 0; r < int(rows.size()); ++r) {
        if (name == QStringLiteral("List%1_Click").arg(rows[size_t(r)].moduleList))
            return [this, r] { moduleListClick(r); };
        if (name == QStringLiteral("List%1_Click").arg(rows[size_t(r)].channelList)) {
            if (!rows[size_t(r)].channelClick)
                return {};
            return [this, r] { channelListClick(r); };
        }
    }
    if (name == QLatin1String("List45_Click"))
        return [this] { List45_Click(); };
    if (name == QLatin1String("List49_Click"))
        return [this] { List49_Click(); };
    if (name == QLatin1String("List46_Click"))
        return [this] { List46_Click(); };
    return {};
}

void Session::moduleListClick(int r) {
    const AssignmentRow& row = assignmentRows()[size_t(r)];
    const int position = listIndex(row.moduleList);
    const bool assigned = position != 0;
    if (assigned) {
        setListVisible(row.channelList, true);
        if (row.intensityList) {
            setListVisible(row.intensityList, true);
            setLabelVisible(row.intensityLabel, true);
        }
        m_record.*row.modulePart = itemData(row.moduleList, position);
        // The channel part is the one last set, even when the channel list
        // shows no selection.
        m_record.*row.code = qint16(m_record.*row.channelPart + m_record.*row.modulePart);
    } else {
        m_record.*row.code = itemData(row.moduleList, 0);
        setListVisible(row.channelList, false);
        if (row.intensityList) {
            setListVisible(row.intensityList, false);
            setLabelVisible(row.intensityLabel, false);
        }
    }
}

void Session::channelListClick(int r) {
    const AssignmentRow& row = assignmentRows()[size_t(r)];
    m_record.*row.channelPart = itemData(row.channelList, listIndex(row.channelList));
    m_record.*row.code = qint16(m_record.*row.modulePart + m_record.*row.channelPart);
    if (row.designationBox)
        setBoxVisible(row.designationBox, true);
}

void Session::List45_Click() {
    intensityClick(IntensitySetting::Backlight);
}
void Session::List49_Click() {
    intensityClick(IntensitySetting::Indicator);
}
void Session::List46_Click() {
    intensityClick(IntensitySetting::Dimmed);
}

void Session::intensityClick(IntensitySetting setting) {
    const IntensitySettingRow& row = intensityRow(setting);
    if (listIndex(row.list) == -1) {
        selectListEntry(row.list, 0); // runs this handler again, with "100" selected
        return;
    }
    m_record.*row.field = itemData(row.list, listIndex(row.list));
    if (setting != IntensitySetting::Dimmed)
        applyIntensityRule();
}

// A breach is resolved by lowering the backlighting to the indicator list's
// entry. That selection runs List45_Click again; the rule is not applied a
// second time inside it, since a code that the indicator list does not show
// would otherwise raise the message and the same selection for ever.
void Session::applyIntensityRule() {
    if (m_applyingRule || m_record.indpercent >= m_record.blpercent)
        return;
    m_applyingRule = true;
    m_dialogs.message(ruleMessage);
    emit intensityRuleApplied();
    selectListEntry(intensityRow(IntensitySetting::Backlight).list,
                    listIndex(intensityRow(IntensitySetting::Indicator).list));
    m_applyingRule = false;
}

void Session::showIntensity(IntensitySetting setting) {
    const IntensitySettingRow& row = intensityRow(setting);
    qint16& code = m_record.*row.field;
    if (IntensityCode::entryFor(code) == 0) // 10 itself, or a code outside the table
        code = IntensityCode::full;
    selectListEntry(row.list, IntensityCode::entryFor(code));
}

void Session::ShowBacklightIntensity() {
    showIntensity(IntensitySetting::Backlight);
}
void Session::ShowIndicatorIntensity() {
    showIntensity(IntensitySetting::Indicator);
}
void Session::ShowDimmedIntensity() {
    showIntensity(IntensitySetting::Dimmed);
}

// "N/A" needs no channel; any other module needs both lists' selections.
std::optional<qint16> Session::formedCode(int r) const {
    const AssignmentRow& row = assignmentRows()[size_t(r)];
    const int module = listIndex(row.moduleList);
    const int channel = listIndex(row.channelList);
    if (module == -1 || (module != 0 && channel == -1))
        return std::nullopt;
    return ChannelCode::form(itemData(row.moduleList, module),
                             channel == -1 ? qint16(0) : itemData(row.channelList, channel));
}

std::optional<int> Session::incompleteItem() const {
    for (int r = 0; r < int(assignmentRows().size()); ++r)
        if (!formedCode(r))
            return r;
    return std::nullopt;
}

// Gathers the selections of the 22 list pairs into the outgoing codes. The
// first incomplete item ends it with error_flag 1 (a switch) or 2 (anything
// else); the items before it keep their fresh codes, the rest their old ones.
void Session::CollectAssignments() {
    const auto& rows = assignmentRows();
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::optional<qint16> code = formedCode(int(r));
        if (!code) {
            m_record.error_flag = rows[r].incompleteFlag;
            return;
        }
        m_record.*rows[r].outgoing = *code;
    }
    ShowSwitchView();
}

std::optional<PanelValues> Session::valuesToSend() const {
    PanelValues values{};
    for (size_t k = 0; k < values.size(); ++k) {
        const MemoryMap::Cell& cell = MemoryMap::cells[k];
        if (cell.isChannel) {
            const std::optional<qint16> code = formedCode(int(k));
            if (!code)
                return std::nullopt;
            values[k] = *code;
        } else {
            const int list = intensityRow(cell.setting).list;
            values[k] =
                listIndex(list) == -1 ? IntensityCode::full : itemData(list, listIndex(list));
        }
    }
    return values;
}
