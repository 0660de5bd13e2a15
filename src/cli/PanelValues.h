#pragma once

#include "model/ConfigScreen.h"
#include "model/MemoryMap.h"

#include <QString>
#include <QStringList>

#include <array>

// The 25 values a panel keeps, in the memory map's order, and how the window
// words them.
using PanelValues = std::array<qint16, MemoryMap::cells.size()>;

namespace PanelWords {
// "SW3", "LED10", "BACKLIGHTING", "DIMMING", then the intensity lists'
// captions ("NORMAL BACKLIGHTING (%)").
QString item(const ConfigScreen& window, size_t cell);
// "B 4" or "N/A" for a channel cell, "90" for an intensity; a value no list
// shows, as a number.
QString value(size_t cell, qint16 value);
// A row per cell that differs: "SW3  B 4  N/A" (item, expected, found).
QStringList differences(const ConfigScreen& window, const PanelValues& expected,
                        const PanelValues& found);
} // namespace PanelWords
