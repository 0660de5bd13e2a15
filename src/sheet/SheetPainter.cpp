#include "sheet/SheetPainter.h"

#include "model/ButtonPosition.h"
#include "platform/AppInfo.h"
#include "sheet/PanelDrawing.h"
#include "sheet/SheetText.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {
using SheetText::footerHeight;

const QColor& switchColour = PanelColours::switches;
const QColor& lightingColour = PanelColours::lighting;
const QColor ruleColour(150, 150, 150);
const QColor shading(238, 238, 238);

void drawText(QPainter& p, const QRectF& box, const QString& text, int flags = Qt::AlignLeft,
              Qt::TextElideMode elide = Qt::ElideRight) {
    const QString shown =
        elide == Qt::ElideNone ? text : p.fontMetrics().elidedText(text, elide, int(box.width()));
    p.drawText(box, flags | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// Panel name, model, origin, date and tool; returns the height used. The
// panel name wraps rather than being cut; a long path is shortened in the
// middle, so the file's own name stays.
double drawHeader(QPainter& p, double width, const Sheet& sheet, bool draw) {
    const double keyWidth = 1500;
    double y = 0;
    enum Fit { Elide, Wrap, Path };
    auto line = [&](const QString& key, const QString& value, const QFont& valueFont,
                    Fit fit = Elide) {
        const double height = QFontMetricsF(valueFont).height() * 1.25;
        const double room = width - keyWidth;
        const QStringList lines =
            fit == Wrap   ? SheetText::wrapped(valueFont, p.device(), value, room)
            : fit == Path ? SheetText::path(valueFont, p.device(), value, room)
                          : QStringList{value};
        if (draw) {
            p.setFont(SheetText::font(9, true));
            p.setPen(Qt::black);
            drawText(p, QRectF(0, y, keyWidth, height), key);
            p.setFont(valueFont);
            for (qsizetype l = 0; l < lines.size(); ++l)
                drawText(p, QRectF(keyWidth, y + l * height, room, height), lines[l], Qt::AlignLeft,
                         fit == Elide ? Qt::ElideRight : Qt::ElideNone);
        }
        y += height * std::max<qsizetype>(1, lines.size());
    };
    line("PANEL NAME", sheet.panel, SheetText::font(16, true), Wrap);
    line("MODEL", sheet.model, SheetText::font(10));
    line("FROM", sheet.source, SheetText::font(10), Path);
    line("PRINTED",
         QStringLiteral("%1 by %2 %3")
             .arg(sheet.printed.toString("yyyy-MM-dd HH:mm"), AppInfo::programName,
                  AppInfo::version),
         SheetText::font(10));
    y += 120;
    if (draw) {
        p.setPen(QPen(ruleColour, 15));
        p.drawLine(QPointF(0, y), QPointF(width, y));
    }
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
        p.setFont(SheetText::font(8.25, true));
        p.setPen(Qt::white);
        p.drawText(QRectF(at.labelLeft, at.listTop + 120, 470, 285),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, item.item);
        // Bold in the designation boxes, regular in the lists, as in the window.
        drawBox(p, QRectF(at.moduleLeft, at.listTop - 240, 1455, 285), item.designation,
                switchColour, Qt::AlignLeft);
        p.setFont(SheetText::font(8.25));
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
    p.setFont(SheetText::font(9.75, true));
    const double titleHeight = p.fontMetrics().height() * 1.6;
    drawText(p, QRectF(area.left(), area.top(), area.width(), titleHeight),
             "LIGHTING INTENSITIES:");
    const QFont font = SheetText::font(9.75);
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

// What the table shows, a piece at a time: the items in three headed groups
// (so the groups read apart in black and white too), then the notes. A long
// designation is split between pages by lines.
struct Piece {
    enum Kind { Group, Row, Note } kind;
    int row;       // Group: 0 switches, 1 LEDs, 2 the rest; Row: the item; Note: the note
    int firstLine; // of the row's designation, or of the note
    int lines;
    int page;
    double y;
    double height;
};

struct Layout {
    double top = 0; // below the panel name on a page after the first
    QRectF picture;
    std::array<double, columns.size()> widths{};
    double lineHeight = 0, padding = 0, headerHeight = 0;
    std::array<QStringList, 22> designations;
    QList<QStringList> notes;
    std::vector<Piece> pieces;
    int pages = 1;
};

const char* const groupTitles[] = {"SWITCHES", "LED INDICATORS", "BACKLIGHTING AND DIMMING INPUT"};

Layout layOut(QPainter& p, double width, double height, double top, const Sheet& sheet) {
    Layout t;
    double fixed = 0;
    for (const Column& c : columns)
        fixed += c.width;
    for (size_t c = 0; c < columns.size(); ++c)
        t.widths[c] = columns[c].width ? columns[c].width : width - fixed;
    const QFont font = SheetText::font(9);
    p.setFont(font);
    t.lineHeight = p.fontMetrics().lineSpacing();
    t.padding = t.lineHeight * 0.45;
    t.headerHeight = t.lineHeight + t.padding;
    for (size_t row = 0; row < sheet.items.size(); ++row)
        t.designations[row] = SheetText::wrapped(font, p.device(), sheet.items[row].designation,
                                                 t.widths[1] - 2 * cellPadding);
    for (const QString& note : sheet.notes)
        t.notes << SheetText::wrapped(font, p.device(), QStringLiteral("* ") + note, width);

    // The pieces as they would run on one endless page.
    std::vector<Piece> flow;
    for (int row = 0; row < int(sheet.items.size()); ++row) {
        if (row == 0 || row == 10 || row == 20)
            flow.push_back({Piece::Group, row / 10, 0, 1, 0, 0, t.lineHeight + t.padding});
        const int lines = std::max<int>(1, int(t.designations[size_t(row)].size()));
        flow.push_back({Piece::Row, row, 0, lines, 0, 0, lines * t.lineHeight + t.padding});
    }
    for (int n = 0; n < int(t.notes.size()); ++n)
        flow.push_back(
            {Piece::Note, n, 0, int(t.notes[n].size()), 0, 0, t.notes[n].size() * t.lineHeight});
    double tableHeight = t.headerHeight + t.padding;
    for (const Piece& piece : flow)
        tableHeight += piece.height;

    // The picture takes what the table leaves, from half the window's size
    // up to its own, and leaves the intensities a third of the width.
    const double gap = 300;
    const double bottom = height - footerHeight;
    const double pictureScale =
        std::min(qBound(0.5, (bottom - top - gap - tableHeight) / pictureTwips.height(), 1.0),
                 width * 2 / 3 / pictureTwips.width());
    t.picture =
        QRectF(0, top, pictureTwips.width() * pictureScale, pictureTwips.height() * pictureScale);

    // Each page takes what fits; a designation too long for the rest of a
    // page goes on over the next, line by line.
    p.setFont(SheetText::font(16, true));
    t.top = QFontMetricsF(p.font()).height() * 1.25 + 240;
    int page = 0;
    double y = t.picture.bottom() + gap + t.headerHeight;
    const double perLine = t.lineHeight;
    for (Piece piece : flow) {
        // A row's padding, which each of its parts keeps.
        const double extra = piece.height - piece.lines * perLine;
        while (piece.lines > 0) {
            const double room = bottom - y;
            int fit = int((room - extra) / perLine);
            if (piece.kind == Piece::Group)
                fit = room >= piece.height + t.lineHeight * 2 ? 1 : 0; // not alone at a foot
            if (fit <= 0 && y > t.top + t.headerHeight + 1) {
                ++page;
                y = t.top + t.headerHeight;
                continue;
            }
            fit = std::clamp(fit, 1, piece.lines);
            Piece part = piece;
            part.lines = fit;
            part.page = page;
            part.y = y;
            part.height = extra + fit * perLine;
            t.pieces.push_back(part);
            y += part.height;
            piece.firstLine += fit;
            piece.lines -= fit;
        }
    }
    t.pages = page + 1;
    return t;
}

void drawTable(QPainter& p, double width, const Layout& t, const Sheet& sheet, int page) {
    auto drawRow = [&](double y, double height, const std::array<QStringList, 4>& cells,
                       const QColor& first) {
        double x = 0;
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
    double tableTop = -1, tableBottom = 0;
    for (const Piece& piece : t.pieces) {
        if (piece.page != page)
            continue;
        if (tableTop < 0 && piece.kind != Piece::Note) {
            tableTop = piece.y - t.headerHeight;
            p.fillRect(QRectF(0, tableTop, width, t.headerHeight), shading);
            p.setFont(SheetText::font(9, true));
            drawRow(tableTop, t.headerHeight,
                    {QStringList{columns[0].title}, QStringList{columns[1].title},
                     QStringList{columns[2].title}, QStringList{columns[3].title}},
                    Qt::black);
        }
        if (piece.kind != Piece::Note) {
            p.setPen(QPen(ruleColour, 10));
            p.drawLine(QPointF(0, piece.y), QPointF(width, piece.y));
            tableBottom = piece.y + piece.height;
        }
        if (piece.kind == Piece::Group) {
            p.setFont(SheetText::font(9, true));
            p.setPen(Qt::black);
            drawText(p, QRectF(cellPadding, piece.y + t.padding / 2, width, t.lineHeight),
                     QString::fromLatin1(groupTitles[piece.row]));
        } else if (piece.kind == Piece::Row) {
            const Sheet::Item& item = sheet.items[size_t(piece.row)];
            const bool first = piece.firstLine == 0;
            p.setFont(SheetText::font(9));
            drawRow(piece.y, piece.height,
                    {QStringList{first ? item.item : item.item + QStringLiteral(" (cont.)")},
                     t.designations[size_t(piece.row)].mid(piece.firstLine, piece.lines),
                     QStringList{!first        ? QString()
                                 : item.marked ? item.module + QStringLiteral(" *")
                                               : item.module},
                     QStringList{first ? item.channel : QString()}},
                    item.isSwitch ? switchColour : lightingColour);
        } else {
            if (tableTop >= 0 && tableBottom > 0) {
                p.setPen(QPen(ruleColour, 15));
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(0, tableTop, width, tableBottom - tableTop));
                tableTop = -2; // closed
            }
            p.setFont(SheetText::font(9));
            p.setPen(Qt::black);
            const QStringList& lines = t.notes[piece.row];
            for (int l = 0; l < piece.lines; ++l)
                drawText(p, QRectF(0, piece.y + t.padding + l * t.lineHeight, width, t.lineHeight),
                         lines[piece.firstLine + l]);
        }
    }
    if (tableTop >= 0) {
        p.setPen(QPen(ruleColour, 15));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0, tableTop, width, tableBottom - tableTop));
    }
}

// The painter in twips from the page's top left, drawing smoothly.
double enterTwips(QPainter& p, const QRectF& page) {
    const double scale = SheetText::enterTwips(p, page);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    return scale;
}
} // namespace

int sheetPageCount(QPainter& painter, const QRectF& page, const Sheet& sheet) {
    QPainter& p = painter;
    const double scale = enterTwips(p, page);
    const double width = page.width() / scale, height = page.height() / scale;
    const double top = drawHeader(p, width, sheet, false);
    const int pages = layOut(p, width, height, top, sheet).pages;
    p.restore();
    return pages;
}

void paintSheet(QPainter& painter, const QRectF& page, const Sheet& sheet, int pageOfSheet) {
    QPainter& p = painter;
    const double scale = enterTwips(p, page);
    const double width = page.width() / scale, height = page.height() / scale;
    const double top = drawHeader(p, width, sheet, false);
    const Layout layout = layOut(p, width, height, top, sheet);
    if (pageOfSheet == 0) {
        drawHeader(p, width, sheet, true);
        drawPanel(p, layout.picture, sheet);
        drawIntensities(
            p, QRectF(layout.picture.right() + 600, top, width - layout.picture.width() - 600, 0),
            sheet);
    } else {
        p.setFont(SheetText::font(16, true));
        p.setPen(Qt::black);
        drawText(p, QRectF(0, 0, width, layout.top - 240),
                 sheet.panel + QStringLiteral(" (continued)"));
    }
    drawTable(p, width, layout, sheet, pageOfSheet);
    p.restore();
}

void paintFooter(QPainter& painter, const QRectF& page, const QString& text) {
    QPainter& p = painter;
    const double scale = enterTwips(p, page);
    const double width = page.width() / scale, height = page.height() / scale;
    p.setFont(SheetText::font(9));
    p.setPen(Qt::black);
    drawText(p, QRectF(0, height - footerHeight + 120, width, footerHeight - 120), text,
             Qt::AlignRight);
    p.restore();
}
