#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// The three commands the panel understands and the evaluation of its replies.
namespace PanelProtocol {
inline const QByteArray handshake = QByteArrayLiteral("A");
inline const QByteArray acknowledgement = QByteArrayLiteral("D000D");
inline constexpr qint64 replyLength = 5; // a reply wait ends once this many characters wait
inline constexpr qsizetype shortestRead = 4;

// "S" 00 address 00 value "D": address and value go out as raw bytes.
QByteArray writeCommand(qint16 address, qint16 value);
// "V" 00 address "0" "0" "V".
QByteArray readCommand(qint16 address);

struct ReplyValue {
    qint16 value; // saturated to the 16-bit range when it does not fit
    bool fits;
    bool number; // false: the text does not begin with a number and counts as 0
    bool whole;  // the number fills the reply, or at least its first five characters
};

// The reply's leading decimal number, divided by ten and rounded half to
// even: "01600" gives 160, "1235" 124, "D000D" (no number) 0. A number is
// leading blanks, an optional sign, then a digit or a point and a digit.
// Whether the number fills the five characters a reply wait takes is told
// apart: the panel answers five digits, and "0X600" is noise on a digit, not
// a 0. A sixth character that came with them does not belong to the reply.
ReplyValue replyValue(QByteArrayView reply);
} // namespace PanelProtocol
