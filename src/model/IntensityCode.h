#pragma once

#include <QtGlobal>

#include <array>

// Intensity codes: 10 for 100 %, 7 ... 1 for 90 % ... 30 %; 8 and 9 never
// occur. A larger code is always brighter.
namespace IntensityCode {
inline constexpr int entryCount = 8;
inline constexpr std::array<const char*, entryCount> texts = {"100", "90", "80", "70",
                                                              "60",  "50", "40", "30"};
inline constexpr std::array<qint16, entryCount> codes = {10, 7, 6, 5, 4, 3, 2, 1};
inline constexpr qint16 full = 10;

// The list entry that shows a code: 1 ... 7 map to entries 7 ... 1; any
// other value is not in the table and is shown as "100" (entry 0).
constexpr int entryFor(qint16 code) {
    return code >= 1 && code <= 7 ? 8 - code : 0;
}
constexpr bool inTable(qint16 code) {
    return code == full || (code >= 1 && code <= 7);
}
} // namespace IntensityCode

#include "model/ConfigRecord.h"

// The three intensity settings, each held in a record field and chosen in a list.
enum class IntensitySetting { Backlight, Indicator, Dimmed };

struct IntensitySettingRow {
    IntensitySetting setting;
    int list;            // List45, List49, List46
    RecordInt field;     // blpercent, indpercent, dindpercent
    const char* caption; // of the label beside the list: Label15, Label17, Label16
};

inline constexpr std::array<IntensitySettingRow, 3> intensitySettings = {{
    {IntensitySetting::Backlight, 45, &ConfigRecord::blpercent, "NORMAL BACKLIGHTING (%)"},
    {IntensitySetting::Indicator, 49, &ConfigRecord::indpercent, "NORMAL INDICATOR (%)"},
    {IntensitySetting::Dimmed, 46, &ConfigRecord::dindpercent,
     "DIMMED BACKLIGHTING AND INDICATOR (%)"},
}};

constexpr const IntensitySettingRow& intensityRow(IntensitySetting s) {
    return intensitySettings[size_t(s)];
}
