// What the site window does beyond its rows: which file the panel on the line
// holds, and a schedule imported into the site's folder.

#include "ui/SiteTool.h"

#include "link/LinkTexts.h"
#include "schedule/ScheduleImport.h"
#include "site/PanelMatch.h"
#include "site/SiteLog.h"
#include "ui/Announcer.h"
#include "ui/PanelTool.h"
#include "ui/SiteWindow.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString importTitle = QStringLiteral("IMPORT SCHEDULE");
const QString scheduleFilter = QStringLiteral("CSV SCHEDULE (*.csv);;ALL FILES (*)");
const QString noFileText = QStringLiteral("THE SITE HAS NO CONFIGURATION FILE TO COMPARE WITH");
} // namespace

bool SiteTool::siteReady() {
    if (m_bench.running() || m_tool.session.transactionRunning())
        return false;
    if (!m_site.isOpen())
        showWindow();
    return m_site.isOpen();
}

QList<int> SiteTool::identifyPanel() {
    if (!siteReady())
        return {};
    m_site.refresh();
    // The files are checked before the panel is read, as identify checks
    // them: one that no write could send is named, not compared.
    QStringList files;
    for (const SitePanel& p : m_site.panels())
        if (p.opens())
            files << p.path;
    std::vector<PanelMatch::Refused> refused;
    const std::vector<PanelMatch::Configuration> configurations = PanelMatch::load(files, &refused);
    QStringList skipped;
    for (const PanelMatch::Refused& r : refused)
        skipped << QStringLiteral("%1: not compared: %2")
                       .arg(QFileInfo(r.path).fileName(), QString(r.reason).replace('\n', ' '));
    if (configurations.empty()) {
        m_window->showIdentified({}, noFileText, skipped);
        return {};
    }
    const auto outcome = m_tool.readPanel();
    if (!outcome)
        return {};
    if (*outcome != PanelLink::Outcome::Done) {
        const QString why = *outcome == PanelLink::Outcome::Mismatch ? LinkTexts::readMismatch
                            : *outcome == PanelLink::Outcome::Stopped
                                ? QStringLiteral("INTERRUPTED")
                                : m_tool.session.statusText();
        m_window->showIdentified({}, QString(why).replace('\n', ' '));
        return {};
    }
    const PanelMatch::Outcome match = PanelMatch::match(m_tool.link.valuesRead(), configurations);
    Session& s = m_tool.session;
    s.setStatusVisible(true);
    if (!match.matching.isEmpty()) {
        QStringList names;
        QList<int> rows;
        for (const QString& path : match.matching) {
            names << QFileInfo(path).fileName();
            rows << m_site.rowOf(path);
        }
        const QString text = PanelMatch::holdsText(names);
        s.setStatusColour(ConfigScreen::StatusColour::Green);
        s.setStatusText(text);
        for (const QString& path : match.matching)
            if (!record(SiteLog::identify, path, QStringLiteral("holds ") + names.join(", ")))
                break; // said once
        m_site.refresh();
        m_window->showIdentified(rows, text, skipped);
        return rows;
    }
    QStringList nearest;
    for (const PanelMatch::Compared& c : match.nearest)
        nearest << PanelMatch::describe(s, c);
    const QString text = PanelMatch::noneText(match);
    s.setStatusColour(ConfigScreen::StatusColour::Red);
    s.setStatusText(text);
    m_window->showIdentified({}, text, nearest + skipped);
    return {};
}

bool SiteTool::importSchedule() {
    if (!siteReady())
        return false;
    const auto path = m_tool.dialogs().chooseInputPath(
        QStringLiteral("IMPORT A SCHEDULE INTO THE SITE"), scheduleFilter);
    if (!path)
        return false;
    const auto read = ScheduleImport::readFile(*path);
    const auto* why = std::get_if<QString>(&read);
    // A file of the site may have gone to a panel already: it is never
    // replaced from here.
    const ScheduleImport::Result result =
        why ? ScheduleImport::Result{}
            : ScheduleImport::run(std::get<QByteArray>(read), QDir(m_site.folder()), false,
                                  QStringLiteral("it is kept"));
    if (why || result.unreadable) {
        m_tool.dialogs().message(
            QStringLiteral("THE SCHEDULE CANNOT BE IMPORTED:\n%1\n%2")
                .arg(QDir::toNativeSeparators(*path), why ? why->toUpper() : *result.unreadable),
            importTitle);
        return false;
    }
    m_site.refresh();
    int written = 0;
    QStringList lines;
    for (const ScheduleImport::Panel& panel : result.panels) {
        if (panel.written) {
            ++written;
            continue;
        }
        lines << panel.refusals;
        lines << QStringLiteral("PANEL %1 NOT WRITTEN").arg(panel.name);
    }
    lines.prepend(QStringLiteral("%1 OF %2 PANELS WRITTEN INTO %3")
                      .arg(written)
                      .arg(result.panels.size())
                      .arg(QDir::toNativeSeparators(m_site.folder())));
    m_tool.dialogs().message(lines.join('\n'), importTitle);
    m_window->announcer()->say(lines.first());
    return written == result.panels.size() && written > 0;
}
