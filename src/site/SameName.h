#pragma once

#include <QList>
#include <QStringList>

// Panels a technician cannot tell apart by name: the panel names of a site's
// files compared as the panel shows them, the blanks around a name and its
// case aside.
namespace SameName {
// For each name, the index of another holding the same one, or -1: the first
// of a name points to the second, each later one to the first.
QList<qsizetype> others(const QStringList& panelNames);
} // namespace SameName
