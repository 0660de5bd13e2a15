#pragma once

#include <QColor>
#include <QRectF>
#include <QTransform>

class QPainter;

// The window's text colours: switches green, LEDs, backlighting, dimming and
// intensities dark red; the shape over the programming header light cyan.
namespace PanelColours {
inline const QColor switches(0, 128, 0);
inline const QColor lighting(192, 0, 0);
inline const QColor header(128, 255, 255);
} // namespace PanelColours

// The picture of the panel, as the window shows it behind the assignment
// controls and the configuration sheet prints it: a dark wall plate with ten
// buttons in two columns of five, each beside its LED, and the programming
// header near the bottom left. Drawn in the window's twips, so the buttons
// line up with the controls that sit on them whatever size the picture is
// stretched to.
inline constexpr QRectF pictureTwips(960, 1440, 4695, 7095);

// From the window's twips to target, where the picture is stretched to.
QTransform pictureTransform(const QRectF& target);

// Paints the picture stretched to target, in the painter's coordinates; the
// painter's state is restored afterwards.
void paintPanelPicture(QPainter& p, const QRectF& target);
