#pragma once

#include <QRectF>
#include <QWidget>

class QPainter;

// Drawn in the window's twips, so the buttons line up with the controls that
// sit on them whatever size the picture is stretched to.
inline constexpr QRectF pictureTwips(960, 1440, 4695, 7095);

// Paints the picture stretched to target, in the painter's coordinates; the
// painter's state is restored afterwards.
void paintPanelPicture(QPainter& p, const QRectF& target);

// The picture of the panel behind the assignment controls: a dark wall plate
// with ten buttons in two columns of five, each beside its LED, and the
// programming header near the bottom left.
class PanelPicture : public QWidget {
    Q_OBJECT
public:
    explicit PanelPicture(QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};
