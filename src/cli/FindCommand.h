#pragma once

#include "cli/Commissioning.h"
#include "link/PanelFinder.h"
#include "link/PortNames.h"

#include <QStringList>

// find, and --port auto: which serial port has a panel on it.
namespace FindCommand {

// The ports to probe: the devices named, each with the adapter's words when
// the system lists it, or every port the system lists.
QList<PanelFinder::Candidate> candidates(const QStringList& named,
                                         const QList<PortNames::Port>& listed);

// Prints "DEVICE<tab>MODEL<tab>DESCRIPTION" on the table for each port a
// panel answers on; ports skipped as held, or that would not open, are named
// on say. Exit status 0 when a panel answered, 5 when none did.
int run(const QList<PanelFinder::Found>& found, const CommandConsole& console);

// --port auto: the one port a panel answers on. Otherwise the exit status,
// with its reason said: 2 when several answer (naming them), 5 when none does.
struct Choice {
    QString device;
    int exitStatus = ExitStatus::ok;
};
Choice choose(const QList<PanelFinder::Found>& found, const CommandConsole& console);

inline const QString autoPort = QStringLiteral("auto");

} // namespace FindCommand
