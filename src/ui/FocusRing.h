#pragma once

#include <QPointer>
#include <QWidget>

// A ring drawn round the control with the keyboard focus, just outside it,
// so the control itself keeps every pixel it has without focus. Black inside
// and white outside, so one of them stands out on any background and theme.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

    static constexpr int width = 3; // 2 black, 1 white
    QWidget* target() const { return m_target; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focus);
    void place();
    QPointer<QWidget> m_target;
};
