#pragma once

#include <QString>
#include <QStringList>

struct CommandLineResult;

// The sheet command's own command line: "sheet FILE... -o PDF" and its help.
namespace SheetCommandLine {
// Whether the first argument after the options names the command.
bool isNamedIn(const QStringList& arguments);

// Reads "sheet FILE... -o PDF" and its --help.
CommandLineResult parse(const QStringList& arguments);

// Lines for the program's --help.
QString summary();
} // namespace SheetCommandLine
