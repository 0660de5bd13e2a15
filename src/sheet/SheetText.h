#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPaintDevice;

// How the sheet and the cover set a text that may be longer than its room:
// never cut.
namespace SheetText {
// The sheet's face at points, as a pixel size in twips: the painter's scale
// to the page turns it into points (a point size would be scaled twice).
QFont font(double points, bool bold = false);

// Every line of a text that wraps at width.
QStringList wrapped(const QFont& font, QPaintDevice* device, const QString& text, double width);

// A file's path on one line, its folders shortened in the middle where they
// must be so the file's own name stays whole; the whole path wrapped where
// even the name alone is too long.
QStringList path(const QFont& font, QPaintDevice* device, const QString& path, double width);
} // namespace SheetText
