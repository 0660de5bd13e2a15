#pragma once

#include <QWidget>

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
