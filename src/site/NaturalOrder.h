#pragma once

#include <QStringView>

// File names as a person counts them: LOBBY2 before LOBBY10, the letters
// regardless of case; names that differ only in case or in leading zeros
// keep a fixed order.
bool naturalLess(QStringView a, QStringView b);
