#include "ui/FocusRing.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>

namespace {
double luminance(const QColor& c) {
    return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
}

// The colour the control is filled with: a field's base, a button's face,
// an option button's window.
QColor faceOf(const QWidget* w) {
    const QPalette& p = w->palette();
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w))
        return p.color(QPalette::Base);
    if (qobject_cast<const QAbstractButton*>(w) && w->inherits("QRadioButton"))
        return p.color(QPalette::Window);
    if (qobject_cast<const QAbstractButton*>(w))
        return p.color(QPalette::Button);
    return p.color(w->backgroundRole());
}
} // namespace

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

// A neighbour over one side (the lists over a designation box's lower
// edge, a channel list over its module list's right one) shortens that side.
QRect FocusRing::visibleRect() const {
    const QRect full(m_target->mapTo(parentWidget(), QPoint(0, 0)), m_target->size());
    QRect visible = full;
    const QWidget* parent = m_target->parentWidget();
    if (!parent)
        return visible;
    const QPoint middle = full.center();
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(m_target) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (!above || above == this || above->isHidden() ||
            above->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        const QRect cover = QRect(above->mapTo(parentWidget(), QPoint(0, 0)), above->size()) & full;
        if (cover.isEmpty())
            continue;
        if (cover.bottom() == full.bottom() && cover.top() > middle.y())
            visible.setBottom(std::min(visible.bottom(), cover.top() - 1));
        else if (cover.top() == full.top() && cover.bottom() < middle.y())
            visible.setTop(std::max(visible.top(), cover.bottom() + 1));
        else if (cover.right() == full.right() && cover.left() > middle.x())
            visible.setRight(std::min(visible.right(), cover.left() - 1));
        else if (cover.left() == full.left() && cover.right() < middle.x())
            visible.setLeft(std::max(visible.left(), cover.right() + 1));
    }
    return visible;
}

void FocusRing::place() {
    if (!m_target || !m_target->isVisible()) {
        hide();
        return;
    }
    setGeometry(visibleRect());
    m_colour = luminance(faceOf(m_target)) > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
    // Only the band: whatever lies under the ring's middle shows through.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(width, width, -width, -width))));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::PaletteChange:
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
    painter.fillRect(rect(), m_colour);
}
