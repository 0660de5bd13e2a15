#pragma once

#include <QString>

// Every character a panel name or designation may hold, Windows-1252 extras
// first; the double quote is the one printable character left out.
inline QString storableAlphabet() {
    QString s = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    for (const char16_t u : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        s += QChar(u);
    for (char16_t u = 0x20; u < 0x7F; ++u) {
        if (u != u'"')
            s += QChar(u);
    }
    for (char16_t u = 0xA0; u <= 0xFF; ++u)
        s += QChar(u);
    return s;
}
