#pragma once

#include "cli/CommandOptions.h"
#include "cli/CommandRecords.h"
#include "cli/ProgressLine.h"
#include "files/FileCommands.h"
#include "link/LinkTrace.h"
#include "link/PanelLink.h"
#include "link/TracingSerialPort.h"
#include "platform/AnsweringDialogs.h"
#include "session/PanelWords.h"
#include "session/Session.h"
#include "site/SiteLog.h"

#include <QObject>

#include <functional>

// Where the lines go; the product prints to stderr and stdout.
struct CommandConsole {
    std::function<void(const QString&)> say;   // progress and outcome
    std::function<void(const QString&)> table; // verify's differences, identify's files
    // Where a transaction's progress line is drawn, as it is (carriage returns
    // and all); null: no progress line, as for a log.
    std::function<void(const QString&)> progress;
};
// How the commands wait: the panel link's tick and event yield (null:
// the event loop's own), and a pause of ms that ends early when
// interrupt() is called.
struct CommandTiming {
    int tickMs = 100;
    EventYield* yield = nullptr;
    TickTimer* timer = nullptr;
    std::function<void(int ms, std::function<void()> done)> after;
};

// The commands for the bench and the site: write, read and verify one panel,
// or program panel after panel. They run a session, with the panel link and
// the file checks on it, exactly as the window does, and report on the
// console: every status and message the window would show, in order, and
// the outcome as the exit status.
class Commissioning {
public:
    Commissioning(const CommandLineOptions& options, SerialPort& line, CommandConsole console = {},
                  CommandTiming timing = {});

    // Runs the command and returns the exit status.
    int run();

    // Ctrl+C: a transaction ends at its next wait, a pause at once.
    void interrupt();

private:
    int write();
    int read();
    int verify();
    int identify();
    int repeat();

    bool openFile(); // the open command's checks; false when FILE was refused
    void progress(int address, const QString& status);
    // Logs the line of FILE, or of file where one is given.
    int finish(const QString& outcome, int status, const QString& differences = {},
               const QString& file = QString());
    int statusOf(PanelLink::Outcome outcome) const;
    QString conclude(PanelLink::Outcome outcome);
    QStringList changes(const PanelValues& given, const PanelValues& taken, const QString& use);
    static int withChanges(int status, const QStringList& changed);
    bool pause(int ms); // false when interrupted
    void say(const QString& line);

    const CommandLineOptions& m_options;
    CommandConsole m_console;
    CommandTiming m_timing;
    SerialPort& m_line;
    LinkTrace m_trace;
    TracingSerialPort m_traced;
    AnsweringDialogs m_dialogs;
    Session m_session;
    PanelLink m_link;
    FileCommands m_files;
    SiteLog m_log;
    CommandRecords m_records;
    EventYield m_defaultYield;
    std::optional<ProgressLine> m_progressLine;
    bool m_interrupted = false;
    QString m_lastLine;
    QString m_command;          // as the log names it
    PanelValues m_fileValues{}; // what FILE gives the panel, before the window's rules
};
