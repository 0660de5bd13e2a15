#pragma once

#include <QString>
#include <QStringList>

// Whether another program holds a serial device now, as far as the system
// tells without touching the device: probing a port that a terminal program
// or another tool has open would break into its conversation.
namespace PortHolders {
// The lock-file folders that serial programs share (UUCP style, LCK..ttyUSB0).
QStringList lockFolders();

// True when a lock file in one of folders names a process that still runs
// and is not this one, or (Linux) another process has the device open. A
// pseudo-terminal's far end always holds it open, so for one of those only
// the lock file counts.
bool heldByAnotherProgram(const QString& device, const QStringList& folders = lockFolders());
} // namespace PortHolders
