#pragma once

#include "platform/AppInfo.h"
#include "sheet/SheetOptions.h"

#include <QString>

// The sheet command: the configuration sheets of a whole site, one page per
// file, into one PDF, without a window.
namespace SheetCommand {
inline const QString name = QStringLiteral("sheet");

// Exit status when a file was skipped or the PDF could not be written.
inline constexpr int failed = 1;

// Writes the PDF; a file that does not open is named in errors and skipped.
// Each line of errors opens with "speaker: ", as a console program's do;
// with no speaker (a window's message box) it opens with the file.
// written, when given, gets the PDF's path once it is written (empty when it
// was not), and errors then leave saying where it went to the caller.
// Needs a QGuiApplication, for the fonts.
int run(const SheetOptions& options, QString* errors,
        const QString& speaker = QString::fromLatin1(AppInfo::programName),
        QString* written = nullptr);

// Starts a window-system connection that needs no display, then runs.
int runWithoutDisplay(int& argc, char* argv[], const SheetOptions& options);
} // namespace SheetCommand
