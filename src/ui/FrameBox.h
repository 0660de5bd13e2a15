#pragma once

#include <QGroupBox>

// A frame with its caption on the top edge: a line in the theme's mid
// colour, broken where the caption sits, 8 pixels in from the left. Drawn
// by itself rather than by a style sheet, which would bring the whole style
// sheet machinery into the window's start for two frames.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    FrameBox(const QString& name, const QString& caption, QWidget* parent);

    // The caption's band, in the frame's coordinates: the line stops short of it.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
};
