#include "cli/FindCommand.h"

#include <algorithm>

namespace FindCommand {

QList<PanelFinder::Candidate> candidates(const QStringList& named,
                                         const QList<PortNames::Port>& listed) {
    QList<PanelFinder::Candidate> ports;
    if (named.isEmpty()) {
        for (const PortNames::Port& port : listed)
            ports.append({port.device, port.description});
        std::stable_sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
            return PortNames::lessByNumber(a.device, b.device);
        });
    } else {
        for (const QString& device : named) {
            const auto it =
                std::find_if(listed.begin(), listed.end(),
                             [&](const PortNames::Port& p) { return p.device == device; });
            ports.append({device, it != listed.end() ? it->description : QString()});
        }
    }
    return ports;
}

namespace {
// Held and failed ports are named, so that a panel behind one is not
// taken for absent.
void nameSkipped(const QList<PanelFinder::Found>& found, const CommandConsole& console) {
    for (const PanelFinder::Found& f : found) {
        if (f.kind == PanelFinder::Found::Kind::Held)
            console.say(QStringLiteral("%1: skipped, in use by another program").arg(f.device));
        else if (f.kind == PanelFinder::Found::Kind::Fault)
            console.say(QStringLiteral("%1: skipped: %2").arg(f.device, f.fault));
    }
}
} // namespace

int run(const QList<PanelFinder::Found>& found, const CommandConsole& console) {
    nameSkipped(found, console);
    int panels = 0;
    for (const PanelFinder::Found& f : found) {
        if (f.kind != PanelFinder::Found::Kind::Panel)
            continue;
        ++panels;
        console.table(QStringList{f.device, PanelFinder::modelText(f), f.description}.join('\t'));
    }
    if (panels > 0)
        return ExitStatus::ok;
    QStringList probed;
    for (const PanelFinder::Found& f : found)
        probed << f.device;
    console.say(found.isEmpty() ? QStringLiteral("no serial port to probe")
                                : QStringLiteral("no panel answered on %1 port%2: %3")
                                      .arg(found.size())
                                      .arg(found.size() == 1 ? "" : "s")
                                      .arg(probed.join(QStringLiteral(", "))));
    return ExitStatus::noResponse;
}

Choice choose(const QList<PanelFinder::Found>& found, const CommandConsole& console) {
    const QStringList panels = PanelFinder::panels(found);
    if (panels.size() == 1) {
        console.say(QStringLiteral("--port auto: the panel is on %1").arg(panels.first()));
        return {panels.first(), ExitStatus::ok};
    }
    nameSkipped(found, console);
    if (panels.isEmpty()) {
        console.say(QStringLiteral("--port auto: no panel answered on any serial port"));
        return {{}, ExitStatus::noResponse};
    }
    console.say(QStringLiteral("--port auto: panels answer on %1; choose one with --port DEVICE")
                    .arg(panels.join(QStringLiteral(", "))));
    return {{}, ExitStatus::usage};
}

} // namespace FindCommand
