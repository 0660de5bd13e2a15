#include "ui/FrameBox.h"

#include <QPainter>

namespace {
constexpr int captionLeft = 8;    // from the frame's left edge
constexpr int captionPadding = 2; // clear of the line on either side
constexpr int captionSpace = 4;   // around the text, which is centred in it
constexpr int lineTop = 8;        // through the caption's middle
} // namespace

FrameBox::FrameBox(const QString& name, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(name);
}

QRect FrameBox::captionRect() const {
    const QFontMetrics metrics = fontMetrics();
    return {captionLeft, 0, metrics.horizontalAdvance(title()) + captionSpace + 2 * captionPadding,
            metrics.height()};
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect caption = captionRect();
    painter.save();
    painter.setClipRegion(QRegion(rect()) - caption);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, lineTop, -1, -1));
    painter.restore();
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption.adjusted(captionPadding, 0, -captionPadding, 0),
                     Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic, title());
}
