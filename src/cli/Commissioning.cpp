#include "cli/Commissioning.h"

#include "files/OutputGuard.h"
#include "link/LinkTexts.h"
#include "model/Completeness.h"
#include "model/MemoryMap.h"
#include "platform/Console.h"
#include "site/PanelMatch.h"

#include <QTimer>

#include <memory>

namespace {
constexpr int probeIntervalMs = 1000;  // while waiting for a panel
constexpr int removalIntervalMs = 250; // while the programmed panel is still there

void printLine(FILE* stream, const QString& line) {
    Console::write(stream, line + QLatin1Char('\n'));
}
} // namespace

Commissioning::Commissioning(const CommandLineOptions& options, SerialPort& line,
                             CommandConsole console, CommandTiming timing)
    : m_options(options), m_console(std::move(console)), m_timing(std::move(timing)), m_line(line),
      m_traced(line, m_trace), m_dialogs([this](const QString& shown) { say(shown); }),
      m_session(m_dialogs), m_link(m_session, m_dialogs, options.trace.isEmpty() ? line : m_traced,
                                   m_timing.tickMs, m_timing.yield, m_timing.timer),
      m_files(m_session, m_dialogs),
      m_records(m_trace, m_log, [this](const QString& line) { say(line); }) {
    if (!m_console.say)
        m_console.say = [](const QString& l) { printLine(stderr, l); };
    if (!m_console.table)
        m_console.table = [](const QString& l) { printLine(stdout, l); };
    if (!m_timing.after)
        m_timing.after = [this](int ms, std::function<void()> done) {
            QTimer::singleShot(ms, Qt::PreciseTimer, &m_session, std::move(done));
        };
    if (!options.trace.isEmpty())
        m_link.setTrace(&m_trace);
    QObject::connect(&m_link, &PanelLink::progress, &m_session,
                     [this](int address, const QString& status) { progress(address, status); });
    if (m_console.progress) {
        m_progressLine.emplace(m_console.progress);
        QObject::connect(&m_link, &PanelLink::stepsDone, &m_session,
                         [this](int done, int of) { m_progressLine->show(done, of); });
    }
}

// A line printed takes the progress line's place; the next step draws it
// again under it.
void Commissioning::say(const QString& line) {
    if (m_progressLine)
        m_progressLine->clear();
    m_lastLine = line;
    m_console.say(line);
}

void Commissioning::interrupt() {
    m_interrupted = true;
    m_link.requestStop();
}

int Commissioning::run() {
    if (!m_records.open(m_options.trace, m_options.log))
        return ExitStatus::usage;
    m_command = m_options.command;
    if (m_options.command == QLatin1String("read"))
        return m_records.status(read());
    if (m_options.command == QLatin1String("verify"))
        return m_records.status(verify());
    if (m_options.command == QLatin1String("identify"))
        return m_records.status(identify());
    return m_records.status(m_options.repeat ? repeat() : write());
}

// A message the open command shows is printed as it is shown; a file the
// window would refuse without a word is named with the reason.
bool Commissioning::openFile() {
    const FileOutcome opened = m_files.open(m_options.file);
    if (opened.done()) {
        m_fileValues = ConfigFile::panelValues(*opened.line);
        return true;
    }
    QString refused = opened.shown;
    if (refused.isEmpty())
        say(refused = QStringLiteral("%1: %2").arg(m_options.file, opened.reason));
    finish(refused, ExitStatus::fileRefused);
    return false;
}

// One line per status, as the status box shows them.
void Commissioning::progress(int address, const QString& status) {
    const QString line =
        address >= 0 ? QStringLiteral("address %1: %2").arg(address).arg(status) : status;
    if (line != m_lastLine)
        say(line);
}

// The outcome in the status box's words (a foreign panel's in its message
// box's), the last line printed unless the status line just printed says it.
QString Commissioning::conclude(PanelLink::Outcome outcome) {
    const QStringList shown = m_dialogs.takeMessages();
    QString text = m_session.statusText();
    if (outcome == PanelLink::Outcome::Stopped)
        text = QStringLiteral("INTERRUPTED");
    else if (outcome == PanelLink::Outcome::Mismatch && !shown.isEmpty())
        text = shown.last();
    if (text != m_lastLine)
        say(text);
    return text;
}

int Commissioning::statusOf(PanelLink::Outcome outcome) const {
    switch (outcome) {
    case PanelLink::Outcome::Done:
        return ExitStatus::ok;
    case PanelLink::Outcome::Incomplete:
        return ExitStatus::incomplete;
    case PanelLink::Outcome::NoResponse:
        return ExitStatus::noResponse;
    case PanelLink::Outcome::Mismatch:
        return ExitStatus::mismatch;
    case PanelLink::Outcome::BadData:
        return ExitStatus::badData;
    case PanelLink::Outcome::PortFault:
        return ExitStatus::portFault;
    case PanelLink::Outcome::Stopped:
        break;
    }
    return ExitStatus::interrupted;
}

// The model goes with every line of a panel whose identity was read, so the
// site knows which model each file's panel is.
int Commissioning::finish(const QString& outcome, int status, const QString& differences,
                          const QString& file) {
    const std::optional<qint16> identity = m_link.identityRead();
    m_log.append(SiteLog::Entry{m_line.deviceName(), m_command,
                                file.isNull() ? m_options.file : file, outcome, differences,
                                identity ? MemoryMap::modelOf(*identity) : QString()});
    return status;
}

int Commissioning::write() {
    if (!openFile())
        return ExitStatus::fileRefused;
    const std::optional<PanelValues> sent = m_session.valuesToSend();
    m_dialogs.takeMessages();
    m_link.WRITE_CONFIG_Click();
    const PanelLink::Outcome outcome = m_link.lastOutcome();
    const QString text = conclude(outcome);
    // A write that did not get through wrote nothing as anything.
    const QString use = outcome == PanelLink::Outcome::Done ? QStringLiteral("written")
                                                            : QStringLiteral("to be written");
    const QStringList changed = sent ? changes(m_fileValues, *sent, use) : QStringList();
    return finish(text, withChanges(statusOf(outcome), changed),
                  changed.join(QStringLiteral("; ")));
}

// What a read leaves in the window is saved as the save command saves it,
// under the name given or the file's own; the file is replaced only once
// the new one is complete.
int Commissioning::read() {
    // Checked before the panel is read: what was read would be lost.
    QString refused;
    if (const auto kind = OutputGuard::configurationRefusal(m_options.file))
        refused = QStringLiteral("%1 %2; it is never replaced").arg(m_options.file, *kind);
    else if (const auto folder = OutputGuard::folderRefusal(m_options.file))
        refused = QStringLiteral("%1: %2").arg(m_options.file, *folder);
    if (!refused.isEmpty()) {
        say(refused);
        return finish(refused, ExitStatus::fileRefused);
    }
    m_dialogs.takeMessages();
    m_link.READ_CONFIG_Click();
    const PanelLink::Outcome outcome = m_link.lastOutcome();
    const QString text = conclude(outcome);
    if (outcome != PanelLink::Outcome::Done)
        return finish(text, statusOf(outcome));
    m_session.setBoxText(2, m_options.name);
    const FileOutcome saved = m_files.saveAs(m_options.file);
    if (saved.kind != FileOutcome::Kind::Saved) {
        if (saved.kind == FileOutcome::Kind::Incomplete) // the status box's, not a message
            say(saved.shown);
        return finish(saved.shown, ExitStatus::fileRefused);
    }
    say(QStringLiteral("saved to %1").arg(m_options.file));
    const QStringList changed =
        changes(m_link.valuesRead(), *m_session.valuesToSend(), QStringLiteral("saved"));
    return finish(text, withChanges(ExitStatus::ok, changed), changed.join(QStringLiteral("; ")));
}

int Commissioning::verify() {
    if (!openFile())
        return ExitStatus::fileRefused;
    const std::optional<PanelValues> expected = m_session.valuesToSend();
    if (!expected) {
        const QString text =
            Completeness::forItem(*m_session.incompleteItem(), Completeness::Command::Write);
        say(text);
        return finish(text, ExitStatus::incomplete);
    }
    m_dialogs.takeMessages();
    m_link.READ_CONFIG_Click();
    const PanelLink::Outcome outcome = m_link.lastOutcome();
    const QString text = conclude(outcome);
    if (outcome != PanelLink::Outcome::Done)
        return finish(text, statusOf(outcome));
    // The panel is compared with what a write of FILE would give it.
    const QStringList rows = PanelWords::differences(m_session, *expected, m_link.valuesRead());
    if (rows.isEmpty()) {
        say(QStringLiteral("THE SWITCH PANEL AGREES WITH %1").arg(m_options.file));
        const QStringList changed = changes(m_fileValues, *expected, QStringLiteral("compared"));
        return finish(QStringLiteral("agrees"), withChanges(ExitStatus::ok, changed),
                      changed.join(QStringLiteral("; ")));
    }
    m_console.table(QStringLiteral("ITEM  TO BE WRITTEN  IN THE PANEL"));
    for (const QString& row : rows)
        m_console.table(row);
    say(QStringLiteral("THE SWITCH PANEL DIFFERS FROM %1 IN %2 OF %3 VALUES")
            .arg(m_options.file)
            .arg(rows.size())
            .arg(MemoryMap::cells.size()));
    const QStringList changed = changes(m_fileValues, *expected, QStringLiteral("compared"));
    return finish(QStringLiteral("differs"), ExitStatus::differs,
                  (rows + changed).join(QStringLiteral("; ")));
}

// Which of the files the panel holds: each is compared with the panel as a
// write of it would send it, as verify does. The files are checked before
// the panel is read, so a typing error costs no read.
int Commissioning::identify() {
    std::vector<PanelMatch::Refused> refused;
    const QStringList files = PanelMatch::expand(m_options.files, &refused);
    std::vector<PanelMatch::Configuration> configurations = PanelMatch::load(files, &refused);
    for (const PanelMatch::Refused& r : refused)
        say(QStringLiteral("%1: skipped: %2").arg(r.path, r.reason));
    if (configurations.empty()) {
        say(QStringLiteral("no configuration file to compare with"));
        return finish(QStringLiteral("no configuration file"), ExitStatus::fileRefused);
    }
    m_dialogs.takeMessages();
    m_link.COMPARE_CONFIG_Click();
    const PanelLink::Outcome outcome = m_link.lastOutcome();
    if (m_progressLine)
        m_progressLine->clear();
    if (outcome != PanelLink::Outcome::Done)
        return finish(conclude(outcome), statusOf(outcome));
    const PanelMatch::Outcome match = PanelMatch::match(m_link.valuesRead(), configurations);
    if (!match.matching.isEmpty()) {
        for (const QString& file : match.matching)
            m_console.table(file);
        say(PanelMatch::holdsText(match.matching));
        // A line for each file the panel holds, so the site log tells it of
        // that file as a write or verify does.
        const QString outcome =
            QStringLiteral("holds ") + match.matching.join(QStringLiteral(", "));
        for (const QString& file : match.matching)
            finish(outcome, ExitStatus::ok, {}, file);
        return ExitStatus::ok;
    }
    QStringList nearest;
    for (const PanelMatch::Compared& c : match.nearest)
        m_console.table(nearest.emplace_back(PanelMatch::describe(m_session, c)));
    say(PanelMatch::noneText(match));
    return finish(QStringLiteral("no file matches"), ExitStatus::differs,
                  nearest.join(QStringLiteral("; ")));
}

// Each value the window took otherwise than its source gave it, said on the
// last lines: a code no list shows, or the intensity rule.
QStringList Commissioning::changes(const PanelValues& given, const PanelValues& taken,
                                   const QString& use) {
    const QString giver = m_options.command == QLatin1String("read") ? QStringLiteral("the panel")
                                                                     : QStringLiteral("the file");
    QStringList lines;
    for (const PanelWords::Adjustment& a : PanelWords::adjustments(given, taken))
        say(lines.emplace_back(PanelWords::describe(m_session, a, giver, use)));
    return lines;
}

int Commissioning::withChanges(int status, const QStringList& changed) {
    return status == ExitStatus::ok && !changed.isEmpty() ? ExitStatus::changed : status;
}

// Sleeps in the event loop until the time is up or Ctrl+C.
bool Commissioning::pause(int ms) {
    EventYield& yield = m_timing.yield ? *m_timing.yield : m_defaultYield;
    auto done = std::make_shared<bool>(false);
    m_timing.after(ms, [done] { *done = true; });
    while (!*done && !m_interrupted)
        yield.waitForEvents();
    return !m_interrupted;
}

// Production: wait for a panel, program it, wait for it to be unplugged, and
// again, until interrupted. A panel counts as there while it answers the
// handshake; one that stays silent for a whole handshake has gone.
int Commissioning::repeat() {
    if (!openFile())
        return ExitStatus::fileRefused;
    const std::optional<PanelValues> sent = m_session.valuesToSend();
    const QString device = m_line.deviceName();
    int programmed = 0, failed = 0, panel = 0;
    say(QStringLiteral("waiting for a panel on %1 (Ctrl+C ends)").arg(device));
    QString waitingFor; // the port fault last reported while waiting
    while (!m_interrupted && !m_records.failed()) {
        const PanelLink::Outcome probe = m_link.probe();
        if (probe == PanelLink::Outcome::Stopped)
            break;
        if (probe != PanelLink::Outcome::Done) {
            const QString fault = m_line.fault().value_or(QString());
            if (fault != waitingFor && !fault.isEmpty())
                say(fault + QStringLiteral(" (still waiting)"));
            waitingFor = fault;
            pause(probeIntervalMs);
            continue;
        }
        waitingFor.clear();
        ++panel;
        m_command = QStringLiteral("write panel %1").arg(panel);
        m_dialogs.takeMessages();
        m_link.WRITE_CONFIG_Click();
        const PanelLink::Outcome outcome = m_link.lastOutcome();
        const QString text = conclude(outcome);
        finish(text, statusOf(outcome));
        const bool recordsLost = m_records.failed(); // no next panel without its record
        if (outcome == PanelLink::Outcome::Done) {
            ++programmed;
            say(QStringLiteral("panel %1: programmed").arg(panel));
        } else {
            // A write stopped by Ctrl+C is the operator's, not the panel's.
            failed += outcome != PanelLink::Outcome::Stopped;
            say(QStringLiteral("panel %1: %2").arg(panel).arg(text));
        }
        if (outcome == PanelLink::Outcome::Incomplete || outcome == PanelLink::Outcome::Stopped ||
            recordsLost)
            break; // no panel can take this file, Ctrl+C, or the log has a gap
        say(QStringLiteral("unplug panel %1").arg(panel));
        while (pause(removalIntervalMs) && m_link.probe() == PanelLink::Outcome::Done) {
        }
        if (m_interrupted)
            break;
        say(QStringLiteral("waiting for the next panel"));
    }
    const bool cutShort = programmed + failed < panel; // the last panel's write
    say(QStringLiteral("panels programmed: %1, failed: %2%3")
            .arg(programmed)
            .arg(failed)
            .arg(cutShort ? QStringLiteral(", interrupted: 1") : QString()));
    const QString use =
        programmed > 0 ? QStringLiteral("written") : QStringLiteral("to be written");
    const QStringList changed = sent ? changes(m_fileValues, *sent, use) : QStringList();
    if (cutShort)
        return ExitStatus::interrupted;
    return failed == 0 ? withChanges(ExitStatus::ok, changed) : ExitStatus::differs;
}
