#pragma once

#include "model/ConfigRecord.h"

#include <QStringList>

#include <array>

// A channel code names one module and channel of the bus: 10 x (letter
// position, "A" = 0) + (channel number - 1), so 0 ... 159; 160 is "N/A".
namespace ChannelCode {
inline constexpr qint16 notAssigned = 160;

// Entries of a module list and their item data, in list order.
inline constexpr int moduleCount = 17;
inline constexpr std::array<const char*, moduleCount> moduleTexts = {
    "N/A", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P"};
inline constexpr std::array<qint16, moduleCount> moduleData = {
    160, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};

// Entries of a channel list and their item data.
inline constexpr int channelCount = 10;
inline constexpr std::array<const char*, channelCount> channelTexts = {"1", "2", "3", "4", "5",
                                                                       "6", "7", "8", "9", "10"};
inline constexpr std::array<qint16, channelCount> channelData = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

// The code formed from the item data of a module entry and a channel entry:
// "N/A" gives its own 160 whatever the channel.
qint16 form(qint16 moduleItemData, qint16 channelItemData);
} // namespace ChannelCode

// Splits the code in A into list positions m_index and c_index. For codes of
// 160 and more c_index keeps its previous value; for codes 10 ... 159 A is
// left holding the code mod 10.
void SplitChannelCode(ConfigRecord& r);
