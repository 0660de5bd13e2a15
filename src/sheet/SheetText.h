#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QPainter;
class QRectF;

// How the sheet and the cover set a text that may be longer than its room:
// never cut.
namespace SheetText {
inline constexpr double twipsPerInch = 1440;
// The room at the foot of each page for its page number, drawn by the document.
inline constexpr double footerHeight = 420;

// Saves the painter and sets it to twips from the page's top left; gives
// the scale. The caller restores the painter.
double enterTwips(QPainter& painter, const QRectF& page);

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
