#pragma once

#include "model/MemoryMap.h"

#include <array>

// The 25 values a panel keeps, in the memory map's order.
using PanelValues = std::array<qint16, MemoryMap::cells.size()>;
