#include "sheet/SheetPainter.h"

#include "model/ButtonPosition.h"
#include "platform/AppInfo.h"
#include "sheet/PanelDrawing.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {
constexpr double twipsPerInch = 1440;
constexpr double twipsPerPoint = 20;

const QColor& switchColour = PanelColours::switches;
const QColor& lightingColour = PanelColours::lighting;
const QColor ruleColour(150, 150, 150);
const QColor shading(238, 238, 238);

// Sizes are pixel sizes in twips, which the painter's scale turns into
// points; a point size would be scaled twice.
QFont sheetFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({"Arial", "Liberation Sans", "Arimo", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(int(points * twipsPerPoint));
    font.setBold(bold);
    return font;
}

void drawText(QPainter& p, const QRectF& box, const QString& text, int flags = Qt::AlignLeft) {
    const QString shown = p.fontMetrics().elidedText(text, Qt::ElideRight, int(box.width()));
    p.drawText(box, flags | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// Panel name, model, origin, date and tool; returns the height used.
double drawHeader(QPainter& p, double width, const Sheet& sheet) {
    const double keyWidth = 1500;
    double y = 0;
    auto line = [&](const QString& key, const QString& value, const QFont& valueFont) {
        p.setFont(valueFont);
        const double height = QFontMetricsF(valueFont).height() * 1.25;
        p.setFont(sheetFont(9, true));
        p.setPen(Qt::black);
        drawText(p, QRectF(0, y, keyWidth, height), key);
        p.setFont(valueFont);
        drawText(p, QRectF(keyWidth, y, width - keyWidth, height), value);
        y += height;
    };
    line("PANEL NAME", sheet.panel, sheetFont(16, true));
    line("MODEL", sheet.model, sheetFont(10));
    line("FROM", sheet.source, sheetFont(10));
    line("PRINTED",
         QStringLiteral("%1 by %2 %3")
             .arg(sheet.printed.toString("yyyy-MM-dd HH:mm"), AppInfo::programName,
                  AppInfo::version),
         sheetFont(10));
    y += 120;
    p.setPen(QPen(ruleColour, 15));
    p.drawLine(QPointF(0, y), QPointF(width, y));
    return y + 240;
}

// A white box with one line of text, as the window's list and text boxes
// show their entry.
void drawBox(QPainter& p, const QRectF& box, const QString& text, const QColor& colour, int flags) {
    p.setPen(QPen(QColor(120, 120, 120), 10));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(colour);
    drawText(p, box.adjusted(40, 0, -40, 0), text, flags);
}

// The switch view: the picture with each switch's caption, designation,
// module and channel where the window shows them.
void drawPanel(QPainter& p, const QRectF& target, const Sheet& sheet) {
    paintPanelPicture(p, target);
    p.save();
    p.setTransform(pictureTransform(target), true);
    for (int k = 1; k <= 10; ++k) {
        const ButtonPosition at = buttonPosition(k);
        const Sheet::Item& item = sheet.items[k - 1];
        p.setFont(sheetFont(8.25, true));
        p.setPen(Qt::white);
        p.drawText(QRectF(at.labelLeft, at.listTop + 120, 470, 285),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, item.item);
        // Bold in the designation boxes, regular in the lists, as in the window.
        drawBox(p, QRectF(at.moduleLeft, at.listTop - 240, 1455, 285), item.designation,
                switchColour, Qt::AlignLeft);
        p.setFont(sheetFont(8.25));
        drawBox(p, QRectF(at.moduleLeft, at.listTop, 855, 285), item.module, switchColour,
                Qt::AlignHCenter);
        if (item.module != QLatin1String("N/A"))
            drawBox(p, QRectF(at.channelLeft, at.listTop, 615, 285), item.channel, switchColour,
                    Qt::AlignHCenter);
    }
    p.restore();
}

void drawIntensities(QPainter& p, const QRectF& area, const Sheet& sheet) {
    p.setPen(Qt::black);
    p.setFont(sheetFont(9.75, true));
    const double titleHeight = p.fontMetrics().height() * 1.6;
    drawText(p, QRectF(area.left(), area.top(), area.width(), titleHeight),
             "LIGHTING INTENSITIES:");
    const QFont font = sheetFont(9.75);
    p.setFont(font);
    const double rowHeight = QFontMetricsF(font).height() * 1.5;
    const double valueWidth = 900;
    double y = area.top() + titleHeight;
    for (const Sheet::Intensity& in : sheet.intensities) {
        p.setPen(QPen(ruleColour, 10));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(lightingColour);
        drawText(p, QRectF(area.left(), y, area.width() - valueWidth, rowHeight), in.caption);
        drawText(p, QRectF(area.right() - valueWidth, y, valueWidth, rowHeight),
                 in.percent.isEmpty() ? QString() : in.percent + (in.marked ? " % *" : " %"),
                 Qt::AlignRight);
        y += rowHeight;
    }
    p.setPen(QPen(ruleColour, 10));
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

struct Column {
    const char* title;
    double width; // 0: what the others leave
    int align;
};
constexpr std::array<Column, 4> columns = {{{"ITEM", 1700, Qt::AlignLeft},
                                            {"DESIGNATION", 0, Qt::AlignLeft},
                                            {"MODULE", 1100, Qt::AlignHCenter},
                                            {"CHANNEL", 1100, Qt::AlignHCenter}}};
constexpr double cellPadding = 80;

// A long designation wraps over up to maxLines lines; only what is longer
// still is cut short, with an ellipsis.
QStringList wrapped(QPainter& p, const QString& text, double width, int maxLines) {
    QTextLayout layout(text, p.font(), p.device());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines << p.fontMetrics().elidedText(text.mid(line.textStart()), Qt::ElideRight,
                                                int(width));
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

struct Table {
    std::array<double, columns.size()> widths{};
    double lineHeight = 0, padding = 0, headerHeight = 0;
    std::array<QStringList, 22> designations;

    double rowHeight(size_t row) const {
        return std::max<qsizetype>(1, designations[row].size()) * lineHeight + padding;
    }
    qsizetype notes = 0; // lines below the table
    double height() const {
        double h = headerHeight + (notes ? padding + notes * lineHeight : 0);
        for (size_t row = 0; row < designations.size(); ++row)
            h += rowHeight(row);
        return h;
    }
};

Table layOutTable(QPainter& p, double width, const Sheet& sheet, int maxLines) {
    Table t;
    double fixed = 0;
    for (const Column& c : columns)
        fixed += c.width;
    for (size_t c = 0; c < columns.size(); ++c)
        t.widths[c] = columns[c].width ? columns[c].width : width - fixed;
    p.setFont(sheetFont(9));
    t.lineHeight = p.fontMetrics().lineSpacing();
    t.padding = t.lineHeight * 0.45;
    t.headerHeight = t.lineHeight + t.padding;
    t.notes = sheet.notes.size();
    for (size_t row = 0; row < sheet.items.size(); ++row)
        t.designations[row] =
            wrapped(p, sheet.items[row].designation, t.widths[1] - 2 * cellPadding, maxLines);
    return t;
}

void drawTable(QPainter& p, QPointF at, double width, const Table& t, const Sheet& sheet) {
    auto drawRow = [&](double y, double height, const std::array<QStringList, 4>& cells,
                       const QColor& first) {
        double x = at.x();
        for (size_t c = 0; c < columns.size(); ++c) {
            p.setPen(c == 0 ? first : QColor(Qt::black));
            const double textTop =
                y + (height - t.lineHeight * std::max<qsizetype>(1, cells[c].size())) / 2;
            for (qsizetype l = 0; l < cells[c].size(); ++l)
                drawText(p,
                         QRectF(x + cellPadding, textTop + l * t.lineHeight,
                                t.widths[c] - 2 * cellPadding, t.lineHeight),
                         cells[c][l], columns[c].align);
            x += t.widths[c];
        }
    };

    double y = at.y();
    p.fillRect(QRectF(at.x(), y, width, t.headerHeight), shading);
    p.setFont(sheetFont(9, true));
    drawRow(y, t.headerHeight,
            {QStringList{columns[0].title}, QStringList{columns[1].title},
             QStringList{columns[2].title}, QStringList{columns[3].title}},
            Qt::black);
    y += t.headerHeight;
    p.setFont(sheetFont(9));
    for (size_t row = 0; row < sheet.items.size(); ++row) {
        const Sheet::Item& item = sheet.items[row];
        p.setPen(QPen(ruleColour, 10));
        p.drawLine(QPointF(at.x(), y), QPointF(at.x() + width, y));
        drawRow(y, t.rowHeight(row),
                {QStringList{item.item}, t.designations[row],
                 QStringList{item.marked ? item.module + QStringLiteral(" *") : item.module},
                 QStringList{item.channel}},
                item.isSwitch ? switchColour : lightingColour);
        y += t.rowHeight(row);
    }
    p.setPen(QPen(ruleColour, 15));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(at.x(), at.y(), width, y - at.y()));
    // A marked value: what its source holds, and what the window made of it.
    p.setPen(Qt::black);
    y += t.padding;
    for (const QString& note : sheet.notes) {
        drawText(p, QRectF(at.x(), y, width, t.lineHeight), QStringLiteral("* ") + note);
        y += t.lineHeight;
    }
}
} // namespace

void paintSheet(QPainter& painter, const QRectF& page, const Sheet& sheet) {
    QPainter& p = painter;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = p.device()->logicalDpiY() / twipsPerInch;
    p.translate(page.topLeft());
    p.scale(scale, scale);
    const double width = page.width() / scale, height = page.height() / scale;

    const double top = drawHeader(p, width, sheet);
    const double gap = 300;
    // Long designations wrap as long as the picture keeps half the window's size.
    const double smallestPicture = 0.5;
    Table table;
    for (int maxLines = 3; maxLines >= 1; --maxLines) {
        table = layOutTable(p, width, sheet, maxLines);
        if (top + gap + table.height() + smallestPicture * pictureTwips.height() <= height)
            break;
    }
    // The picture takes what the table leaves, up to the window's own size.
    const double pictureScale =
        qBound(smallestPicture, (height - top - gap - table.height()) / pictureTwips.height(), 1.0);
    const QRectF picture(0, top, pictureTwips.width() * pictureScale,
                         pictureTwips.height() * pictureScale);
    drawPanel(p, picture, sheet);
    drawIntensities(p, QRectF(picture.right() + 600, top, width - picture.width() - 600, 0), sheet);
    drawTable(p, QPointF(0, picture.bottom() + gap), width, table, sheet);
    p.restore();
}
