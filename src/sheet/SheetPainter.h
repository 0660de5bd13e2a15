#pragma once

#include "sheet/Sheet.h"

#include <QRectF>

class QPainter;

// Draws one sheet into page, given in the painter's device coordinates: the
// header, the panel as the window draws it with each switch's designation,
// module and channel beside its button, the intensities and the table of all
// 22 items. Laid out in twips from the page it is given, so it looks alike at
// any resolution, paper and orientation; what does not fit the first page
// (a long designation, a landscape page) goes on over further pages of the
// same sheet, pageOfSheet 1, 2 ...
void paintSheet(QPainter& painter, const QRectF& page, const Sheet& sheet, int pageOfSheet = 0);

// How many pages the sheet takes on page.
int sheetPageCount(QPainter& painter, const QRectF& page, const Sheet& sheet);

// A line at the foot of page, in the room the sheet leaves for it: "2 of 9".
void paintFooter(QPainter& painter, const QRectF& page, const QString& text);
