#include "sheet/PanelDrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {
void drawButton(QPainter& p, const QRectF& cap) {
    QLinearGradient face(cap.topLeft(), cap.bottomLeft());
    face.setColorAt(0, QColor(92, 96, 104));
    face.setColorAt(1, QColor(58, 61, 67));
    p.setPen(QPen(QColor(20, 21, 24), 20));
    p.setBrush(face);
    p.drawRoundedRect(cap, 90, 90);
}

void drawLed(QPainter& p, QPointF centre) {
    QRadialGradient glow(centre, 110);
    glow.setColorAt(0, QColor(255, 196, 64));
    glow.setColorAt(0.45, QColor(230, 140, 20));
    // Opaque to its edge, into the plate's colour: a transparent fade would
    // make a printer queue turn the whole page into a picture.
    glow.setColorAt(1, QColor(44, 45, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 110, 110);
    p.setPen(QPen(QColor(40, 30, 10), 12));
    p.setBrush(QColor(255, 210, 90));
    p.drawEllipse(centre, 55, 55);
}

void drawHeader(QPainter& p) {
    const QRectF body(1140, 7290, 490, 370);
    p.setPen(QPen(QColor(10, 10, 10), 12));
    p.setBrush(QColor(30, 30, 32));
    p.drawRect(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(212, 175, 55));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(body.left() + 60 + col * 150, body.top() + 70 + row * 150, 70, 70));
}
} // namespace

QTransform pictureTransform(const QRectF& target) {
    QTransform t;
    t.translate(target.left(), target.top());
    t.scale(target.width() / pictureTwips.width(), target.height() / pictureTwips.height());
    t.translate(-pictureTwips.left(), -pictureTwips.top());
    return t;
}

void paintPanelPicture(QPainter& p, const QRectF& target) {
    p.save();
    p.setTransform(pictureTransform(target), true);

    const QRectF plate = pictureTwips.adjusted(30, 30, -30, -30);
    QLinearGradient metal(plate.topLeft(), plate.bottomRight());
    metal.setColorAt(0, QColor(56, 58, 63));
    metal.setColorAt(1, QColor(28, 29, 32));
    p.setPen(QPen(QColor(110, 114, 122), 30));
    p.setBrush(metal);
    p.drawRoundedRect(plate, 160, 160);

    p.setPen(QPen(QColor(15, 15, 17), 14));
    p.setBrush(QColor(120, 122, 128));
    for (QPointF screw : {QPointF(1200, 1680), QPointF(5415, 1680), QPointF(5415, 8300)})
        p.drawEllipse(screw, 70, 70);

    for (int k = 1; k <= 10; ++k) {
        const int listTop = 2640 + 1080 * ((k + 1) / 2 - 1);
        const bool left = k % 2 == 1;
        const QRectF cap(left ? 1620 : 3420, listTop - 300, 1575, 990);
        drawButton(p, cap);
        drawLed(p, QPointF(left ? 1380 : 5280, listTop - 100));
    }
    drawHeader(p);
    p.restore();
}
