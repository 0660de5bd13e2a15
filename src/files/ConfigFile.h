#pragma once

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

// A real file is under 2 KiB; the reader looks at no more than this.
inline constexpr qsizetype maxBytes = 64 * 1024;

// The longest panel name or designation the window should accept: the line of
// 22 such texts still fits in maxBytes, so every file the tool saves opens again.
inline constexpr qsizetype maxTextLength = 1000;

// The one line of 52 fields, texts quoted, integers in decimal, ended by
// CR LF; one Windows-1252 byte per character.
QByteArray format(const ConfigFileLine& line);

// Reads the first 52 fields from at most maxBytes of the bytes. Commas and
// runs of line ends separate fields; a quoted text runs to the next quote.
// nullopt when the bytes end before field 52, a quoted text is not closed, or
// an integer field does not read as a 16-bit whole number. Bytes that fill
// maxBytes may have been cut short, so there field 52 must end before their
// end. The model text is not checked here.
std::optional<ConfigFileLine> parse(QByteArrayView bytes);
} // namespace ConfigFile
