#include "link/PanelProtocol.h"

#include <limits>

namespace PanelProtocol {

QByteArray writeCommand(qint16 address, qint16 value) {
    return QByteArray{"S"} + char(0) + char(quint8(address)) + char(0) + char(quint8(value)) + 'D';
}

QByteArray readCommand(qint16 address) {
    return QByteArray{"V"} + char(0) + char(quint8(address)) + "00V";
}

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

// Exact decimal arithmetic: the number is d...dr.f... and its tenth is
// d...d with r.f... deciding the rounding.
ReplyValue replyValue(QByteArrayView reply) {
    qsizetype i = 0;
    while (i < reply.size() && reply[i] == ' ')
        ++i;
    bool negative = false;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-'))
        negative = reply[i++] == '-';

    const bool number = (i < reply.size() && isDigit(reply[i])) ||
                        (i + 1 < reply.size() && reply[i] == '.' && isDigit(reply[i + 1]));

    constexpr qint64 ceiling = qint64(1) << 40; // far beyond 16 bits; stops overflow
    qint64 integer = 0;
    bool huge = false;
    for (; i < reply.size() && isDigit(reply[i]); ++i) {
        integer = integer * 10 + (reply[i] - '0');
        if (integer > ceiling) {
            huge = true;
            integer = ceiling;
        }
    }
    bool fractionNonZero = false;
    if (i < reply.size() && reply[i] == '.')
        for (++i; i < reply.size() && isDigit(reply[i]); ++i)
            fractionNonZero |= reply[i] != '0';

    qint64 quotient = integer / 10;
    const int tenths = int(integer % 10);
    if (tenths > 5 || (tenths == 5 && (fractionNonZero || quotient % 2 == 1)))
        ++quotient;
    if (negative)
        quotient = -quotient;

    constexpr qint64 lowest = std::numeric_limits<qint16>::min();
    constexpr qint64 highest = std::numeric_limits<qint16>::max();
    const bool whole = number && i >= qMin(reply.size(), replyLength);
    if (huge || quotient < lowest || quotient > highest)
        return {qint16(quotient < 0 ? lowest : highest), false, number, whole};
    return {qint16(quotient), true, number, whole};
}

} // namespace PanelProtocol
