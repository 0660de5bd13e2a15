#include "cli/Commissioning.h"

#include "files/ConfigFileReader.h"
#include "link/LinkTexts.h"
#include "model/MemoryMap.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {
// The texts a byte operation sets: printed with the address it was about.
bool isByteStatus(const QString& text) {
    return text == LinkTexts::communicationsOk || text == LinkTexts::failedToVerify ||
           text == LinkTexts::corrupted || text == LinkTexts::outOfRange;
}

constexpr int probeIntervalMs = 1000;  // while waiting for a panel
constexpr int removalIntervalMs = 250; // while the programmed panel is still there
} // namespace

Commissioning::Commissioning(const CommandLineOptions& options, const QString& device)
    : m_options(options), m_serial(device), m_traced(m_serial, m_trace),
      m_tool(m_dialogs, options.trace.isEmpty() ? static_cast<SerialPort&>(m_serial) : m_traced),
      m_records(m_trace, m_log, [this](const QString& line) { say(line); }) {
    if (!options.trace.isEmpty())
        m_tool.link.setTrace(&m_trace);
    QObject::connect(m_tool.form.statusBox(), &QPlainTextEdit::textChanged, [this] { progress(); });
    QObject::connect(&m_interrupt, &Interrupt::raised, [this] { m_tool.link.requestStop(); });
}

void Commissioning::say(const QString& line) const {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

int Commissioning::run() {
    if (!m_records.open(m_options.trace, m_options.log))
        return ExitStatus::usage;
    m_command = m_options.command;
    if (m_options.command == QLatin1String("read"))
        return m_records.status(read());
    if (m_options.command == QLatin1String("verify"))
        return m_records.status(verify());
    return m_records.status(m_options.repeat ? repeat() : write());
}

bool Commissioning::openFile() {
    if (m_tool.files.open(m_options.file))
        return true;
    QStringList refused = m_dialogs.takeMessages();
    if (refused.isEmpty()) // the window says nothing of a file it may not read
        refused << QStringLiteral("%1: %2").arg(m_options.file,
                                                readConfigFile(m_options.file).reason);
    for (const QString& line : refused)
        say(line);
    finish(refused.join(' '), ExitStatus::fileRefused);
    return false;
}

void Commissioning::beginProgress() {
    m_echo = true;
    m_lastEcho.clear();
}

// One line per status text, as the status box shows them.
void Commissioning::progress() {
    const QString text = m_tool.form.statusText();
    if (!m_echo || text.isEmpty())
        return;
    const qint16 address = m_tool.form.record().address_l;
    const QString line =
        isByteStatus(text) ? QStringLiteral("address %1: %2").arg(address).arg(text) : text;
    if (line != m_lastEcho)
        say(line);
    m_lastEcho = line;
}

// The outcome in the status box's words (a foreign panel's in its message
// box's), the last line printed unless the status line just printed says it.
QString Commissioning::conclude(PanelLink::Outcome outcome) {
    QStringList shown = m_dialogs.takeMessages();
    QString text = m_tool.form.statusText();
    if (outcome == PanelLink::Outcome::Stopped)
        text = QStringLiteral("INTERRUPTED");
    else if (outcome == PanelLink::Outcome::Mismatch && !shown.isEmpty())
        text = shown.takeFirst();
    if (outcome == PanelLink::Outcome::PortFault) // the remedy for a port this user may not open
        for (const QString& line : shown)
            say(line);
    if (text != m_lastEcho)
        say(text);
    m_echo = false;
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

int Commissioning::finish(const QString& outcome, int status, const QString& differences) {
    m_echo = false;
    QStringList fields{m_serial.deviceName(), m_command, m_options.file, outcome};
    if (!differences.isEmpty())
        fields << differences;
    m_log.record(fields);
    return status;
}

int Commissioning::write() {
    if (!openFile())
        return ExitStatus::fileRefused;
    beginProgress();
    m_tool.link.WRITE_CONFIG_Click();
    const PanelLink::Outcome outcome = m_tool.link.lastOutcome();
    return finish(conclude(outcome), statusOf(outcome));
}

// What a read leaves in the window is saved as the save command saves it,
// under the name given or the file's own; the file is replaced only once
// the new one is complete.
int Commissioning::read() {
    beginProgress();
    m_tool.link.READ_CONFIG_Click();
    const PanelLink::Outcome outcome = m_tool.link.lastOutcome();
    const QString text = conclude(outcome);
    if (outcome != PanelLink::Outcome::Done)
        return finish(text, statusOf(outcome));
    m_tool.form.setBoxText(2, m_options.name);
    m_dialogs.answerWith(m_options.file);
    m_tool.files.WRITE_FILE_Click();
    if (const QStringList refused = m_dialogs.takeMessages(); !refused.isEmpty()) {
        for (const QString& line : refused)
            say(line);
        return finish(refused.join(' '), ExitStatus::fileRefused);
    }
    say(QStringLiteral("saved to %1").arg(m_options.file));
    return finish(text, ExitStatus::ok);
}

PanelValues Commissioning::valuesToWrite() {
    ConfigRecord& r = m_tool.form.record();
    PanelValues values{};
    for (size_t k = 0; k < values.size(); ++k) {
        const MemoryMap::Cell& cell = MemoryMap::cells[k];
        values[k] = cell.isChannel ? r.*cell.outgoing : m_tool.link.intensityToWrite(cell.setting);
    }
    return values;
}

int Commissioning::verify() {
    if (!openFile())
        return ExitStatus::fileRefused;
    ConfigRecord& r = m_tool.form.record();
    r.error_flag = 0;
    m_tool.form.CollectAssignments();
    if (r.error_flag != 0) {
        const QString text =
            r.error_flag == 1 ? LinkTexts::switchesIncomplete : LinkTexts::ledsIncomplete;
        say(text);
        return finish(text, ExitStatus::incomplete);
    }
    const PanelValues expected = valuesToWrite();
    beginProgress();
    m_tool.link.READ_CONFIG_Click();
    const PanelLink::Outcome outcome = m_tool.link.lastOutcome();
    const QString text = conclude(outcome);
    if (outcome != PanelLink::Outcome::Done)
        return finish(text, statusOf(outcome));
    const QStringList rows =
        PanelWords::differences(m_tool.form, expected, m_tool.link.valuesRead());
    if (rows.isEmpty()) {
        say(QStringLiteral("THE SWITCH PANEL AGREES WITH %1").arg(m_options.file));
        return finish(QStringLiteral("agrees"), ExitStatus::ok);
    }
    std::printf("ITEM  IN THE FILE  IN THE PANEL\n");
    for (const QString& row : rows)
        std::printf("%s\n", qPrintable(row));
    std::fflush(stdout);
    say(QStringLiteral("THE SWITCH PANEL DIFFERS FROM %1 IN %2 OF %3 VALUES")
            .arg(m_options.file)
            .arg(rows.size())
            .arg(MemoryMap::cells.size()));
    return finish(QStringLiteral("differs"), ExitStatus::differs, rows.join(QStringLiteral("; ")));
}

bool Commissioning::pause(int ms) {
    if (m_interrupt.wasRaised())
        return false;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QObject::connect(&m_interrupt, &Interrupt::raised, &loop, &QEventLoop::quit);
    loop.exec();
    return !m_interrupt.wasRaised();
}

// Production: wait for a panel, program it, wait for it to be unplugged, and
// again, until interrupted. A panel counts as there while it answers the
// handshake; one that stays silent for a whole handshake has gone.
int Commissioning::repeat() {
    if (!openFile())
        return ExitStatus::fileRefused;
    const QString device = m_serial.deviceName();
    int programmed = 0, failed = 0, panel = 0;
    say(QStringLiteral("waiting for a panel on %1 (Ctrl+C ends)").arg(device));
    QString waitingFor; // the port fault last reported while waiting
    while (!m_interrupt.wasRaised() && !m_records.failed()) {
        const PanelLink::Outcome probe = m_tool.link.probe();
        if (probe == PanelLink::Outcome::Stopped)
            break;
        if (probe != PanelLink::Outcome::Done) {
            const QString fault = m_serial.fault().value_or(QString());
            if (fault != waitingFor && !fault.isEmpty())
                say(fault + QStringLiteral(" (still waiting)"));
            waitingFor = fault;
            pause(probeIntervalMs);
            continue;
        }
        waitingFor.clear();
        ++panel;
        m_command = QStringLiteral("write panel %1").arg(panel);
        beginProgress();
        m_tool.link.WRITE_CONFIG_Click();
        const PanelLink::Outcome outcome = m_tool.link.lastOutcome();
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
        while (pause(removalIntervalMs) && m_tool.link.probe() == PanelLink::Outcome::Done) {
        }
        if (m_interrupt.wasRaised())
            break;
        say(QStringLiteral("waiting for the next panel"));
    }
    const bool cutShort = programmed + failed < panel; // the last panel's write
    say(QStringLiteral("panels programmed: %1, failed: %2%3")
            .arg(programmed)
            .arg(failed)
            .arg(cutShort ? QStringLiteral(", interrupted: 1") : QString()));
    if (cutShort)
        return ExitStatus::interrupted;
    return failed == 0 ? ExitStatus::ok : ExitStatus::differs;
}
