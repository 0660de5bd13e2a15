#include "schedule/Csv.h"

#include "model/Cp1252.h"

#include <QStringDecoder>

namespace {
constexpr QByteArrayView utf8Mark("\xEF\xBB\xBF");

// UTF-8 when every byte sequence is valid UTF-8; Windows-1252 otherwise,
// where every byte is a character.
QString decode(QByteArrayView bytes, QString* encoding) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        *encoding = QStringLiteral("UTF-8");
        return text;
    }
    *encoding = QStringLiteral("Windows-1252");
    return Cp1252::decode(bytes);
}

// How many separators split the first row, quotes respected.
int separatorsInFirstRow(const QString& text, QChar separator) {
    int count = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == separator)
            ++count;
    }
    return count;
}
} // namespace

std::variant<Csv::Table, Csv::Error> Csv::read(QByteArrayView bytes) {
    if (bytes.startsWith(utf8Mark))
        bytes = bytes.sliced(utf8Mark.size());
    if (bytes.contains('\0'))
        return Error{1, 1, QStringLiteral("not a text file (UTF-16 is not read: save as UTF-8)")};
    Table table;
    const QString text = decode(bytes, &table.encoding);
    table.separator =
        separatorsInFirstRow(text, QLatin1Char(';')) > separatorsInFirstRow(text, QLatin1Char(','))
            ? QLatin1Char(';')
            : QLatin1Char(',');

    const QChar sep = table.separator;
    const QChar quote = QLatin1Char('"');
    QStringList row;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto lineEndAt = [&](qsizetype at) {
        return at < n && (text[at] == QLatin1Char('\n') ||
                          (text[at] == QLatin1Char('\r') && at + 1 < n && text[at + 1] == '\n'));
    };
    auto skipLineEnd = [&] { i += text[i] == QLatin1Char('\r') ? 2 : 1; };
    auto here = [&](const QString& reason) {
        return Error{int(table.rows.size()) + 1, int(row.size()) + 1, reason};
    };
    while (i < n) {
        field.clear();
        if (text[i] == quote) {
            ++i;
            for (;;) {
                if (i >= n)
                    return here(QStringLiteral("a quoted field is not closed"));
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        field += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < n && text[i] != sep && !lineEndAt(i))
                return here(QStringLiteral("text after the closing quote of a field"));
        } else {
            while (i < n && text[i] != sep && !lineEndAt(i)) {
                if (text[i] == quote)
                    return here(QStringLiteral("a quote inside a field that is not quoted"));
                if (text[i] == QLatin1Char('\r'))
                    return here(QStringLiteral("a carriage return without a line feed"));
                field += text[i++];
            }
        }
        row << field;
        if (i < n && text[i] == sep) {
            ++i;
            if (i == n)
                row << QString(); // a separator ends the file: one more empty field
            continue;
        }
        if (i < n)
            skipLineEnd();
        table.rows << row;
        row.clear();
    }
    if (!row.isEmpty())
        table.rows << row;
    return table;
}

QString Csv::columnName(int column) {
    QString name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.prepend(QChar('A' + (c - 1) % 26));
    return name;
}

QString Csv::formatRow(const QStringList& fields, QChar separator) {
    QStringList quoted;
    for (QString f : fields)
        quoted << QLatin1Char('"') + f.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                      QLatin1Char('"');
    return quoted.join(separator) + QLatin1String("\r\n");
}

QByteArray Csv::encode(const QString& text) {
    return utf8Mark.toByteArray() + text.toUtf8();
}
