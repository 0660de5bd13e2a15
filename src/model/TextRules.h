#pragma once

#include <QtGlobal>

// What a panel name or a designation may hold: a text box takes at most
// maxTextLength characters, and a configuration file with a longer one is
// refused rather than cut. The panel name is typed with at most
// panelNameLength characters. Which characters are storable is
// Cp1252::isStorableText.
namespace TextRules {
inline constexpr qsizetype maxTextLength = 32767;
inline constexpr int panelNameLength = 12;
} // namespace TextRules
