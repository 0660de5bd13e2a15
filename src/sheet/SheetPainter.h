#pragma once

#include "sheet/Sheet.h"

#include <QRectF>

class QPainter;

// Draws one sheet into page, given in the painter's device coordinates: the
// header, the panel as the window draws it with each switch's designation,
// module and channel beside its button, the intensities and the table of all
// 22 items. Laid out in twips, so it looks alike at any resolution; A4 and
// Letter both hold it.
void paintSheet(QPainter& painter, const QRectF& page, const Sheet& sheet);
