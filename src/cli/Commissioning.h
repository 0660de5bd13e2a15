#pragma once

#include "app/CommandLine.h"
#include "app/PanelTool.h"
#include "cli/CommandRecords.h"
#include "cli/ConsoleDialogs.h"
#include "cli/Interrupt.h"
#include "cli/PanelValues.h"
#include "cli/SiteLog.h"
#include "link/LinkTrace.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"

// The commands for the bench and the site: write, read and verify one panel,
// or program panel after panel. They drive the window's own logic (its lists,
// collection, file checks and panel transactions) on a window that is never
// shown, and report on the console.
class Commissioning {
public:
    // device: the serial device to use.
    Commissioning(const CommandLineOptions& options, const QString& device);

    // Runs the command and returns the exit status.
    int run();

private:
    int write();
    int read();
    int verify();
    int repeat();

    bool openFile(); // the open command's checks; false when FILE was refused
    void beginProgress();
    void progress();
    int finish(const QString& outcome, int status, const QString& differences = {});
    int statusOf(PanelLink::Outcome outcome) const;
    QString conclude(PanelLink::Outcome outcome);
    PanelValues valuesToWrite();
    bool pause(int ms); // false when interrupted
    void say(const QString& line) const;

    const CommandLineOptions& m_options;
    QtSerialPort m_serial;
    LinkTrace m_trace;
    TracingSerialPort m_traced;
    ConsoleDialogs m_dialogs;
    PanelTool m_tool;
    SiteLog m_log;
    CommandRecords m_records;
    Interrupt m_interrupt;
    bool m_echo = false; // status texts go to the console
    QString m_lastEcho;
    QString m_command; // as the log names it
};
