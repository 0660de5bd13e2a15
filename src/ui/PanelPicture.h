#pragma once

#include <QWidget>

// The picture of the panel behind the assignment controls.
class PanelPicture : public QWidget {
    Q_OBJECT
public:
    explicit PanelPicture(QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};
