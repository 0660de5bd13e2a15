#pragma once

#include "cli/CommandOptions.h"
#include "schedule/ScheduleCommand.h"
#include "sheet/SheetOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// Either options to start with, or texts to print and the status to exit with
// (for --help, --version and a wrong command line).
struct CommandLineResult {
    std::optional<CommandLineOptions> options;
    int exitStatus = ExitStatus::ok;
    QString output;                                   // for standard output
    QString errors;                                   // for standard error
    std::optional<SheetOptions> sheet = std::nullopt; // the sheet command, run without a window
    std::optional<ScheduleOptions> schedule = std::nullopt; // import or export, without a window
    std::optional<QString> status = std::nullopt;           // the status command's FOLDER
};

// Declares the options and arguments; new ones go here.
void describeCommandLine(QCommandLineParser& parser);

// A message for the first of the program's arguments that is no text the
// program can use as a name (bytes that are not UTF-8); nullopt when all are.
std::optional<QString> undecodableArgument(int argc, char* argv[]);

// A wrong command line: the reason and the usage line on standard error, exit 2.
CommandLineResult refuse(const QCommandLineParser& parser, const QString& reason);

// Reads the arguments, the program's name first. Needs no display, so it runs
// before any window object exists.
CommandLineResult parseCommandLine(const QStringList& arguments);
