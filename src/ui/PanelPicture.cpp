#include "ui/PanelPicture.h"

#include "sheet/PanelDrawing.h"

#include <QPainter>

// Not opaque: at a fractional scale factor the picture's last row and column
// of device pixels are only partly its own, and a picture that painted them
// itself would leave a seam there. The window's background shows round the
// plate instead.
PanelPicture::PanelPicture(QWidget* parent) : QWidget(parent) {}

void PanelPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The window's background shows around the plate: a fill of its own
    // would leave a seam at fractional scale factors.
    paintPanelPicture(p, rect());
}
