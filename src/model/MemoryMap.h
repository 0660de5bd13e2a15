#pragma once

#include "model/ConfigRecord.h"
#include "model/IntensityCode.h"

#include <QString>

#include <array>

// Where the panel keeps each configuration item. Both transactions walk this
// table in order, after the identity check: addresses 0 ... 24, one byte each.
namespace MemoryMap {
inline constexpr qint16 identityAddress = 63;
inline constexpr std::array<qint16, 2> identityCodes = {61, 67};

// The part number of the model an identity code names: 61 is the 00-00561,
// 67 the 00-00567; empty for any other code.
inline QString modelOf(int identity) {
    switch (identity) {
    case 61:
        return QStringLiteral("00-00561");
    case 67:
        return QStringLiteral("00-00567");
    default:
        return {};
    }
}

struct Cell {
    qint16 address;
    bool isChannel;     // a channel code; otherwise an intensity code
    RecordInt outgoing; // channel cells: the code written (s1w ... led10w, bl, dimch)
    int moduleList;     // channel cells: lists that receive the code read
    int channelList;
    int designationBox;       // switches and LEDs: the box emptied by a read; 0 for none
    IntensitySetting setting; // intensity cells: list written from, field read into
};

constexpr Cell channelCell(int k, RecordInt outgoing) {
    return {qint16(k),
            true,
            outgoing,
            2 * k + 1,
            2 * k + 2,
            k < 20 ? k + 3 : 0,
            IntensitySetting::Backlight};
}
constexpr Cell intensityCell(int address, IntensitySetting s) {
    return {qint16(address), false, nullptr, 0, 0, 0, s};
}

inline constexpr std::array<Cell, 25> cells = {
    channelCell(0, &ConfigRecord::s1w),
    channelCell(1, &ConfigRecord::s2w),
    channelCell(2, &ConfigRecord::s3w),
    channelCell(3, &ConfigRecord::s4w),
    channelCell(4, &ConfigRecord::s5w),
    channelCell(5, &ConfigRecord::s6w),
    channelCell(6, &ConfigRecord::s7w),
    channelCell(7, &ConfigRecord::s8w),
    channelCell(8, &ConfigRecord::s9w),
    channelCell(9, &ConfigRecord::s10w),
    channelCell(10, &ConfigRecord::led1w),
    channelCell(11, &ConfigRecord::led2w),
    channelCell(12, &ConfigRecord::led3w),
    channelCell(13, &ConfigRecord::led4w),
    channelCell(14, &ConfigRecord::led5w),
    channelCell(15, &ConfigRecord::led6w),
    channelCell(16, &ConfigRecord::led7w),
    channelCell(17, &ConfigRecord::led8w),
    channelCell(18, &ConfigRecord::led9w),
    channelCell(19, &ConfigRecord::led10w),
    channelCell(20, &ConfigRecord::bl),
    channelCell(21, &ConfigRecord::dimch),
    intensityCell(22, IntensitySetting::Backlight),
    intensityCell(23, IntensitySetting::Indicator),
    intensityCell(24, IntensitySetting::Dimmed),
};
} // namespace MemoryMap
