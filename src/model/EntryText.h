#pragma once

#include <QString>

// The text of a list's entry at index, from one of the code tables' lists
// of texts; empty for no selection (-1) or an index past the list.
template <typename Texts> QString entryText(const Texts& texts, int index) {
    return index >= 0 && index < int(texts.size()) ? QString::fromLatin1(texts[size_t(index)])
                                                   : QString();
}
