// The three intensity lists, the rule that keeps the normal indicator at
// least as bright as the normal backlighting, and the operations that show a
// code read from a panel or a file.

#include "model/IntensityCode.h"
#include "ui/Form1.h"

namespace {
const QString ruleMessage = QStringLiteral("NORMAL INDICATOR INTENSITY must be set equal to\n"
                                           "or greater than NORMAL BACKLIGHTING INTENSITY.");
}

void Form1::List45_Click() {
    intensityClick(IntensitySetting::Backlight);
}
void Form1::List49_Click() {
    intensityClick(IntensitySetting::Indicator);
}
void Form1::List46_Click() {
    intensityClick(IntensitySetting::Dimmed);
}

void Form1::intensityClick(IntensitySetting setting) {
    const IntensitySettingRow& row = intensityRow(setting);
    ListBox* list = m_lists[row.list];
    if (list->listIndex() == -1) {
        list->setListIndex(0); // runs this handler again, with "100" selected
        return;
    }
    m_record.*row.field = list->itemData(list->listIndex());
    if (setting != IntensitySetting::Dimmed)
        applyIntensityRule();
}

// A breach is resolved by lowering the backlighting to the indicator list's
// entry. That selection runs List45_Click again; the rule is not applied a
// second time inside it, since a code that the indicator list does not show
// would otherwise raise the message and the same selection for ever.
void Form1::applyIntensityRule() {
    if (m_applyingRule || m_record.indpercent >= m_record.blpercent)
        return;
    m_applyingRule = true;
    m_dialogs.message(ruleMessage);
    m_lists[45]->setListIndex(m_lists[49]->listIndex());
    m_applyingRule = false;
}

void Form1::showIntensity(IntensitySetting setting) {
    const IntensitySettingRow& row = intensityRow(setting);
    qint16& code = m_record.*row.field;
    if (IntensityCode::entryFor(code) == 0) // 10 itself, or a code outside the table
        code = IntensityCode::full;
    m_lists[row.list]->setListIndex(IntensityCode::entryFor(code));
}

void Form1::ShowBacklightIntensity() {
    showIntensity(IntensitySetting::Backlight);
}
void Form1::ShowIndicatorIntensity() {
    showIntensity(IntensitySetting::Indicator);
}
void Form1::ShowDimmedIntensity() {
    showIntensity(IntensitySetting::Dimmed);
}
