#pragma once

#include "sheet/SheetOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// How the program ends when it does not run the window to its end.
namespace ExitStatus {
inline constexpr int ok = 0;
inline constexpr int usage = 2; // a wrong option or argument
} // namespace ExitStatus

// What the command line asks the window to start with.
struct CommandLineOptions {
    QString port;  // the serial device for this run; empty for the one chosen last
    QString file;  // a configuration file to open at start; empty for none
    QString trace; // a file to append the traffic with the panel to; empty for none
};

// Either options to start with, or texts to print and the status to exit with
// (for --help, --version and a wrong command line).
struct CommandLineResult {
    std::optional<CommandLineOptions> options;
    int exitStatus = ExitStatus::ok;
    QString output;                                   // for standard output
    QString errors;                                   // for standard error
    std::optional<SheetOptions> sheet = std::nullopt; // the sheet command, run without a window
};

// Declares the options and arguments; new ones go here.
void describeCommandLine(QCommandLineParser& parser);

// Reads the arguments, the program's name first. Needs no display, so it runs
// before any window object exists.
CommandLineResult parseCommandLine(const QStringList& arguments);
