#pragma once

#include <QRect>

#include <cmath>

// The window was laid out in twips, 15 to a logical pixel. Edges are
// converted rather than sizes, so neighbouring controls stay aligned.
inline int twipsToPixels(int twips) {
    return int(std::lround(twips / 15.0));
}

inline QRect twipsRect(int left, int top, int width, int height) {
    const int x = twipsToPixels(left), y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}
