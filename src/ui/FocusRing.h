#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

// A ring drawn along the inside edge of the control with the keyboard focus,
// over its own border, so that it hides nothing of a neighbour: the
// designation boxes and the lists below them touch. Where a neighbour lies
// over the control's edge, the ring runs along the neighbour instead. Its
// colour stands out from the control's own face: black on a light one,
// white on a dark one.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

    static constexpr int width = 2;
    QWidget* target() const { return m_target; }
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focus);
    void place();
    // The part of the target's rectangle that no sibling above it covers, in
    // the window's coordinates.
    QRect visibleRect() const;
    QPointer<QWidget> m_target;
    QColor m_colour = Qt::black;
};
