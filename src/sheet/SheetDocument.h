#pragma once

#include "sheet/Sheet.h"

#include <QList>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace SheetDocument {
// Letter where the locale uses it, A4 everywhere else.
QPageSize paperFor(const QLocale& locale = QLocale::system());

// The margins the sheet is laid out for; a printer may need wider ones.
void setMargins(QPagedPaintDevice& device);

// One page per sheet, in order, onto a PDF writer or a printer. False when
// the device cannot be painted on.
bool paint(QPagedPaintDevice& device, const QList<Sheet>& sheets);

// Writes the sheets as one PDF at path, ".pdf" added when path does not end
// so. The file appears only once it is complete; on failure any earlier file
// stays as it was and error says why. Only a new file, an empty one or a PDF
// other than one of the inputs is replaced.
bool writePdf(const QString& path, const QList<Sheet>& sheets, QString* error,
              const QPageSize& paper = paperFor(), const QStringList& inputs = {});
} // namespace SheetDocument
