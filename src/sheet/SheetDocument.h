#pragma once

#include "sheet/Sheet.h"
#include "sheet/SiteCover.h"

#include <QList>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace SheetDocument {
// Letter where the locale uses it, A4 everywhere else.
QPageSize paperFor(const QLocale& locale = QLocale::system());
// The paper of the environment: the locale LC_ALL, LC_PAPER or LANG names,
// in that order, as the C library's LC_PAPER category is chosen; the
// system's locale when none is set.
QPageSize paperOfEnvironment();

// The margins the sheet is laid out for; a printer may need wider ones.
void setMargins(QPagedPaintDevice& device);

// The sheets in order, each on as many pages as it takes, onto a PDF writer or
// a printer; with a site, behind its cover. Every page is numbered "n of N".
// firstPages, when given, gets the page (from 1) each sheet begins on.
// False when the device cannot be painted on.
bool paint(QPagedPaintDevice& device, const QList<Sheet>& sheets, const Site* site = nullptr,
           QList<int>* firstPages = nullptr);

// Writes the sheets as one PDF at path, ".pdf" added when path does not end
// so. The file appears only once it is complete; on failure any earlier file
// stays as it was and error says why. Only a new file, an empty one or a PDF
// other than one of the inputs is replaced. A site's document has a bookmark
// for its cover and one for each panel.
bool writePdf(const QString& path, const QList<Sheet>& sheets, QString* error,
              const QPageSize& paper = paperFor(), const QStringList& inputs = {},
              const Site* site = nullptr);
} // namespace SheetDocument
