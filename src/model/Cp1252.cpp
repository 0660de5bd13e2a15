#include "model/Cp1252.h"

#include <array>

namespace {
// Characters of the bytes 0x80 ... 0x9F.
constexpr std::array<char16_t, 32> upperControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte for a character, or -1 when the code page has none.
int byteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < upperControlRange.size(); ++i) {
        if (upperControlRange[i] == c)
            return int(0x80 + i);
    }
    return -1;
}
} // namespace

QString Cp1252::decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u < 0xA0) ? QChar(upperControlRange[u - 0x80]) : QChar(u);
    }
    return text;
}

QByteArray Cp1252::encode(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const int b = byteFor(c.unicode());
        *out++ = b < 0 ? '?' : char(b);
    }
    return bytes;
}

bool Cp1252::canEncode(QChar c) {
    return byteFor(c.unicode()) >= 0;
}

bool Cp1252::isStorableText(QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == u'"' || !canEncode(c))
            return false;
    }
    return true;
}
