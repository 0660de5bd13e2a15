#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// Comma-separated values as LibreOffice Calc and Excel save them: a comma or
// a semicolon between fields, a field in double quotes when it holds the
// separator, a quote (doubled) or a line break; CR LF or LF after each row;
// UTF-8 with or without its byte-order mark, otherwise Windows-1252.
//
// The reader is strict: a quote inside an unquoted field, anything but a
// separator or a line end after a closing quote, and a quote left open are
// refused with the row and column where they stand, since guessing there
// would put a designer's text into the wrong cell.
namespace Csv {
struct Table {
    QList<QStringList> rows; // every row of the file, blank ones too; row 1 first
    QChar separator;
    QString encoding; // "UTF-8" or "Windows-1252"
};

struct Error {
    int row;    // from 1, as a spreadsheet counts
    int column; // from 1
    QString reason;
};

// The separator is the one of comma and semicolon that splits the first row
// into more fields (a comma on a tie).
std::variant<Table, Error> read(QByteArrayView bytes);

// "A", "B" ... "Z", "AA" ...: a column as a spreadsheet names it.
QString columnName(int column);

// One row: every field quoted (so a spreadsheet keeps "10" and "N/A" as
// typed and a leading blank stays), fields joined by separator, ended by
// CR LF.
QString formatRow(const QStringList& fields, QChar separator = QLatin1Char(','));

// UTF-8 with its byte-order mark, so Excel reads it as UTF-8 too.
QByteArray encode(const QString& text);
} // namespace Csv
