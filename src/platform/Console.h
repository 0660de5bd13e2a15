#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// Text for standard output and standard error in the encoding whoever reads
// it expects. On Windows a program's 8-bit code page (the ANSI one, which
// toLocal8Bit uses) is not the console's (an OEM one), so "CAFÉ €" printed
// through it arrives garbled: a console window is written in UTF-16, which
// it shows whatever its code page; output sent on to a file or another
// program is encoded in the console's code page, as the console's own
// programs read it.
namespace Console {

struct Encoding {
    enum class Kind {
        Local8Bit, // the locale's encoding: UTF-8 on Linux and macOS
        Utf16,     // straight into a console window
        CodePage,  // Windows code page `codePage`
    };
    Kind kind = Kind::Local8Bit;
    unsigned codePage = 0;

    bool operator==(const Encoding&) const = default;
};

// isWindows: on Windows; isConsole: the stream is a console window;
// consoleCodePage: the output code page of the console the program belongs
// to, 0 when it has none.
Encoding choose(bool isWindows, bool isConsole, unsigned consoleCodePage);

// The bytes of text in an 8-bit encoding (not Utf16).
QByteArray encode(const QString& text, const Encoding& encoding);

// Writes text as it is, adding no line break, and flushes the stream.
void write(std::FILE* stream, const QString& text);

} // namespace Console
