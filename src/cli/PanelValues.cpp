#include "cli/PanelValues.h"

#include "model/ChannelCode.h"
#include "model/IntensityCode.h"
#include "model/AssignmentTable.h"

namespace PanelWords {

QString item(const ConfigScreen& window, size_t cell) {
    const MemoryMap::Cell& c = MemoryMap::cells[cell];
    if (c.isChannel)
        return assignmentRows()[cell].item;
    // The captions before the intensity lists, as a configuration file keeps them.
    constexpr int labels[] = {15, 17, 16}; // backlighting, indicator, dimmed
    return window.labelCaption(labels[size_t(c.setting)]);
}

QString value(size_t cell, qint16 value) {
    if (MemoryMap::cells[cell].isChannel) {
        if (value == ChannelCode::notAssigned)
            return QString::fromLatin1(ChannelCode::moduleTexts[0]);
        if (value >= 0 && value < ChannelCode::notAssigned)
            return QStringLiteral("%1 %2").arg(
                QLatin1String(ChannelCode::moduleTexts[size_t(value / 10 + 1)]),
                QLatin1String(ChannelCode::channelTexts[size_t(value % 10)]));
    } else if (IntensityCode::inTable(value)) {
        return QString::fromLatin1(IntensityCode::texts[size_t(IntensityCode::entryFor(value))]);
    }
    return QString::number(value);
}

QStringList differences(const ConfigScreen& window, const PanelValues& expected,
                        const PanelValues& found) {
    QStringList rows;
    for (size_t k = 0; k < expected.size(); ++k)
        if (expected[k] != found[k])
            rows << QStringLiteral("%1  %2  %3")
                        .arg(item(window, k), value(k, expected[k]), value(k, found[k]));
    return rows;
}

} // namespace PanelWords
