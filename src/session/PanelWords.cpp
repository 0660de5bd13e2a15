#include "session/PanelWords.h"

#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/IntensityCode.h"

namespace PanelWords {

QString item(const ConfigScreen& screen, size_t cell) {
    const MemoryMap::Cell& c = MemoryMap::cells[cell];
    if (c.isChannel)
        return assignmentRows()[cell].item;
    // The captions before the intensity lists, as a configuration file keeps them.
    constexpr int labels[] = {15, 17, 16}; // backlighting, indicator, dimmed
    return screen.labelCaption(labels[size_t(c.setting)]);
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

QStringList differences(const ConfigScreen& screen, const PanelValues& expected,
                        const PanelValues& found) {
    QStringList rows;
    for (size_t k = 0; k < expected.size(); ++k)
        if (expected[k] != found[k])
            rows << QStringLiteral("%1  %2  %3")
                        .arg(item(screen, k), value(k, expected[k]), value(k, found[k]));
    return rows;
}

namespace {
bool listShows(size_t cell, qint16 value) {
    if (MemoryMap::cells[cell].isChannel)
        return value >= 0 && value <= ChannelCode::notAssigned;
    return IntensityCode::inTable(value);
}
} // namespace

std::vector<Adjustment> adjustments(const PanelValues& given, const PanelValues& taken) {
    std::vector<Adjustment> found;
    for (size_t k = 0; k < given.size(); ++k)
        if (given[k] != taken[k])
            found.push_back({k, given[k], taken[k], listShows(k, given[k])});
    return found;
}

QString describe(const ConfigScreen& screen, const Adjustment& a, const QString& giver,
                 const QString& use) {
    if (!a.shown)
        return QStringLiteral("%1: %2 holds code %3, which no list shows; %4 as %5")
            .arg(item(screen, a.cell), giver)
            .arg(a.given)
            .arg(use, value(a.cell, a.taken));
    return QStringLiteral("%1: %2 holds %3; %4 as %5 by the intensity rule")
        .arg(item(screen, a.cell), giver, value(a.cell, a.given), use, value(a.cell, a.taken));
}

} // namespace PanelWords
