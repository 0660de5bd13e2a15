#include "site/NaturalOrder.h"

namespace {
// A run of digits compared by its value: fewer significant digits is smaller,
// then digit by digit, so a number of any length compares right.
int compareNumbers(QStringView a, QStringView b) {
    auto significant = [](QStringView s) {
        qsizetype i = 0;
        while (i + 1 < s.size() && s[i] == u'0')
            ++i;
        return s.mid(i);
    };
    const QStringView x = significant(a), y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

qsizetype runEnd(QStringView s, qsizetype from) {
    const bool digits = s[from].isDigit();
    qsizetype i = from;
    while (i < s.size() && s[i].isDigit() == digits)
        ++i;
    return i;
}
} // namespace

bool naturalLess(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype ei = runEnd(a, i), ej = runEnd(b, j);
        const QStringView x = a.mid(i, ei - i), y = b.mid(j, ej - j);
        int c = 0;
        if (x[0].isDigit() && y[0].isDigit())
            c = compareNumbers(x, y);
        else
            c = x.compare(y, Qt::CaseInsensitive);
        if (c != 0)
            return c < 0;
        i = ei;
        j = ej;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size(); // the shorter name first
    return a.compare(b) < 0; // LOBBY01 and LOBBY1, lobby and LOBBY: still one order
}
