#pragma once

#include "model/PanelValues.h"
#include "model/TextRules.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

// The 52 fields of a configuration file, in file order.
struct ConfigFileLine {
    QString model;                  // field 1
    QString panel;                  // field 2
    std::array<QString, 20> desig;  // fields 3, 5 ... 41: SW1 ... SW10, LED1 ... LED10
    std::array<qint16, 20> code{};  // fields 4, 6 ... 42: their channel codes
    std::array<QString, 5> caption; // fields 43, 45 ... 51: descriptive texts
    std::array<qint16, 5>
        value{}; // fields 44, 46 ... 52: bl, dimch, indpercent, blpercent, dindpercent
};

namespace ConfigFile {
inline const QString modelText = QStringLiteral("00-00561-MDL or 00-00567-MDL");
inline const QString dialogFilter = QStringLiteral("BRIXELON CONFIGURATION FILES (*.zqc)");

// The longest panel name or designation a file may hold.
inline constexpr qsizetype maxTextLength = TextRules::maxTextLength;

// A real file is under 2 KiB; the reader looks at no more than this. It
// covers the longest line the tool writes: the model text, the panel name and
// 20 designations of maxTextLength characters (one byte each), the window's
// five captions (under 64 characters) and 25 numbers of at most six
// characters, so every file the tool saves opens again.
inline constexpr qsizetype maxBytes = 1024 * 1024;
static_assert(22 * (maxTextLength + 2) + 5 * (64 + 2) + 25 * 6 + 51 + 2 <= maxBytes);

// The 25 values a line gives a panel, in the memory map's order.
PanelValues panelValues(const ConfigFileLine& line);

// The one line of 52 fields, texts quoted, integers in decimal, ended by
// CR LF; one Windows-1252 byte per character.
QByteArray format(const ConfigFileLine& line);

// Reads the first 52 fields from at most maxBytes of the bytes. Commas and
// runs of line ends separate fields; a quoted text runs to the next quote, and
// what follows that quote up to the next separator is skipped (a text saved
// with a quote inside ends there). nullopt when the bytes end before field
// 52, a quoted text is not closed, the panel name or a designation is longer
// than maxTextLength, or an integer field does not read as a 16-bit whole
// number. Bytes that fill
// maxBytes may have been cut short, so there field 52 must end before their
// end. The model text is not checked here.
std::optional<ConfigFileLine> parse(QByteArrayView bytes);
} // namespace ConfigFile
