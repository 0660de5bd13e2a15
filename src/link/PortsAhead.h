#pragma once

#include "link/PortNames.h"

#include <functional>

namespace PortNames {
using Enumeration = std::function<QList<Port>()>;

// Starts reading the system's serial ports now, on a thread of its own, so
// the window can be built meanwhile: on Linux the list walks every tty
// device the kernel has, some milliseconds that the window's start would
// otherwise wait for. The enumeration returned gives that list on its first
// call, waiting for it if need be, and reads afresh on every later call, on
// the caller's thread. Dropped unused, it waits for the thread to end.
Enumeration ahead(Enumeration enumerate = available);
} // namespace PortNames
