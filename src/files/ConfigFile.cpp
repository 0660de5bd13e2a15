#include "files/ConfigFile.h"

#include "model/Cp1252.h"

#include <algorithm>

namespace {
constexpr int fieldCount = 52;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool endsUnquoted(char c) {
    return c == ',' || isLineEnd(c);
}

// Walks the bytes once, field by field. Every step moves forward, so even
// hostile input costs time linear in its length.
class FieldReader {
public:
    FieldReader(QByteArrayView bytes, bool cut) : data(bytes), cut(cut) {
        // Blank lines before the first field are not an empty field.
        while (pos < data.size() && (isBlank(data[pos]) || isLineEnd(data[pos])))
            ++pos;
    }

    std::optional<QString> text(bool last) {
        skipBlanks();
        if (pos < data.size() && data[pos] == '"') {
            const qsizetype close = data.indexOf('"', pos + 1);
            if (close < 0)
                return std::nullopt;
            const QByteArrayView value = data.sliced(pos + 1, close - pos - 1);
            // A text saved with a quote inside ends at that quote; the rest of
            // it, up to the next separator, is not part of any field.
            pos = close + 1;
            while (pos < data.size() && !endsUnquoted(data[pos]))
                ++pos;
            if (!separator(last))
                return std::nullopt;
            return Cp1252::decode(value);
        }
        const auto value = unquoted(last);
        // A stray quote means the line is not what it seems; do not guess.
        if (!value || value->contains('"'))
            return std::nullopt;
        return Cp1252::decode(*value);
    }

    std::optional<qint16> integer(bool last) {
        skipBlanks();
        const auto token = unquoted(last);
        if (!token || token->isEmpty())
            return std::nullopt;
        QByteArrayView digits = *token;
        const bool negative = digits.front() == '-';
        if (negative || digits.front() == '+')
            digits = digits.sliced(1);
        if (digits.isEmpty())
            return std::nullopt;
        int magnitude = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            // Saturates, so a long run of digits cannot overflow.
            magnitude = qMin(magnitude * 10 + (c - '0'), 100000);
        }
        const int value = negative ? -magnitude : magnitude;
        if (value < -32768 || value > 32767)
            return std::nullopt;
        return qint16(value);
    }

private:
    void skipBlanks() {
        while (pos < data.size() && isBlank(data[pos]))
            ++pos;
    }

    // An unquoted field runs to the next comma or line end, blanks trimmed.
    std::optional<QByteArrayView> unquoted(bool last) {
        const qsizetype start = pos;
        while (pos < data.size() && !endsUnquoted(data[pos]))
            ++pos;
        QByteArrayView value = data.sliced(start, pos - start);
        while (!value.isEmpty() && isBlank(value.back()))
            value.chop(1);
        // At the end of bytes that were cut short the last digits may be missing.
        if (pos == data.size() && cut)
            return std::nullopt;
        if (!separator(last))
            return std::nullopt;
        return value;
    }

    // Between two fields: blanks, at most one comma and any run of line ends,
    // so a line broken before or after a comma reads like the single line.
    // After the last field only its end matters; anything may follow.
    bool separator(bool last) {
        skipBlanks();
        if (pos == data.size())
            return last;
        if (!endsUnquoted(data[pos]))
            return false;
        if (last)
            return true;
        bool comma = false;
        while (pos < data.size()) {
            const char c = data[pos];
            if (c == ',' && !comma)
                comma = true;
            else if (!isLineEnd(c) && !isBlank(c))
                break;
            ++pos;
        }
        return pos < data.size();
    }

    QByteArrayView data;
    bool cut;
    qsizetype pos = 0;
};

void appendText(QByteArray& out, const QString& text) {
    out += '"';
    out += Cp1252::encode(text);
    out += '"';
}
} // namespace

QByteArray ConfigFile::format(const ConfigFileLine& line) {
    QByteArray out;
    out.reserve(512);
    appendText(out, line.model);
    out += ',';
    appendText(out, line.panel);
    for (size_t i = 0; i < line.desig.size(); ++i) {
        out += ',';
        appendText(out, line.desig[i]);
        out += ',';
        out += QByteArray::number(line.code[i]);
    }
    for (size_t i = 0; i < line.caption.size(); ++i) {
        out += ',';
        appendText(out, line.caption[i]);
        out += ',';
        out += QByteArray::number(line.value[i]);
    }
    out += "\r\n";
    return out;
}

std::optional<ConfigFileLine> ConfigFile::parse(QByteArrayView bytes) {
    const bool cut = bytes.size() >= maxBytes;
    FieldReader reader(bytes.first(qMin(bytes.size(), maxBytes)), cut);
    ConfigFileLine line;
    int field = 0;
    auto text = [&](QString& into, qsizetype limit = maxBytes) {
        auto value = reader.text(++field == fieldCount);
        if (!value || value->size() > limit)
            return false;
        into = std::move(*value);
        return true;
    };
    auto integer = [&](qint16& into) {
        const auto value = reader.integer(++field == fieldCount);
        if (value)
            into = *value;
        return value.has_value();
    };

    if (!text(line.model) || !text(line.panel, maxTextLength))
        return std::nullopt;
    for (size_t i = 0; i < line.desig.size(); ++i) {
        if (!text(line.desig[i], maxTextLength) || !integer(line.code[i]))
            return std::nullopt;
    }
    for (size_t i = 0; i < line.caption.size(); ++i) {
        if (!text(line.caption[i]) || !integer(line.value[i]))
            return std::nullopt;
    }
    return line;
}

PanelValues ConfigFile::panelValues(const ConfigFileLine& line) {
    PanelValues values{};
    std::copy(line.code.begin(), line.code.end(), values.begin()); // SW1 ... LED10
    // bl, dimch, then the intensities, which a file keeps as indicator,
    // backlighting, dimmed and the panel as backlighting, indicator, dimmed.
    values[20] = line.value[0];
    values[21] = line.value[1];
    values[22] = line.value[3];
    values[23] = line.value[2];
    values[24] = line.value[4];
    return values;
}
