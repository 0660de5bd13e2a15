#include "ui/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName("FocusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

// An editable box inside a combo box takes the focus for it: the ring goes
// round the whole box.
void FocusRing::follow(QWidget* focus) {
    if (m_target)
        m_target->removeEventFilter(this);
    while (focus && focus->parentWidget() && focus->parentWidget()->focusProxy() == focus)
        focus = focus->parentWidget();
    m_target = focus && parentWidget()->isAncestorOf(focus) ? focus : nullptr;
    if (m_target)
        m_target->installEventFilter(this);
    place();
}

void FocusRing::place() {
    if (!m_target || !m_target->isVisible()) {
        hide();
        return;
    }
    const QPoint at = m_target->mapTo(parentWidget(), QPoint(0, 0));
    const QRect outer = QRect(at, m_target->size()).adjusted(-width, -width, width, width);
    setGeometry(outer);
    // Only the band: whatever lies under the ring's middle shows through.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(width, width, -width, -width))));
    raise();
    show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::black);
}
