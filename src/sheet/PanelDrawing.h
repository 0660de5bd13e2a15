#pragma once

#include <QRectF>

class QPainter;

// The picture of the panel, as the window shows it behind the assignment
// controls and the configuration sheet prints it: a dark wall plate with ten
// buttons in two columns of five, each beside its LED, and the programming
// header near the bottom left. Drawn in the window's twips, so the buttons
// line up with the controls that sit on them whatever size the picture is
// stretched to.
inline constexpr QRectF pictureTwips(960, 1440, 4695, 7095);

// Paints the picture stretched to target, in the painter's coordinates; the
// painter's state is restored afterwards.
void paintPanelPicture(QPainter& p, const QRectF& target);
