#include "sheet/SheetText.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

double SheetText::enterTwips(QPainter& p, const QRectF& page) {
    p.save();
    const double scale = p.device()->logicalDpiY() / twipsPerInch;
    p.translate(page.topLeft());
    p.scale(scale, scale);
    return scale;
}

QFont SheetText::font(double points, bool bold) {
    constexpr double twipsPerPoint = 20;
    QFont font;
    font.setFamilies({"Arial", "Liberation Sans", "Arimo", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(int(points * twipsPerPoint));
    font.setBold(bold);
    return font;
}

QStringList SheetText::wrapped(const QFont& font, QPaintDevice* device, const QString& text,
                               double width) {
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QStringList SheetText::path(const QFont& font, QPaintDevice* device, const QString& path,
                            double width) {
    const QFontMetricsF metrics(font, device);
    if (metrics.horizontalAdvance(path) <= width)
        return {path};
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const QString name = path.mid(cut);
    const double room = width - metrics.horizontalAdvance(name);
    if (cut > 0 && room >= metrics.horizontalAdvance(QStringLiteral("\u2026/")))
        return {metrics.elidedText(path.left(cut), Qt::ElideMiddle, room) + name};
    return wrapped(font, device, path, width);
}
