#pragma once

#include <QString>
#include <QStringList>

struct CommandLineResult;

// The import and export commands' own command lines and their help.
namespace ScheduleCommandLine {
// Whether the first argument after the options names one of them.
bool isNamedIn(const QStringList& arguments);

CommandLineResult parse(const QStringList& arguments);

// Lines for the program's --help.
QString summary();
} // namespace ScheduleCommandLine
