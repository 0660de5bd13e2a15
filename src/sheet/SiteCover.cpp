#include "sheet/SiteCover.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace {
constexpr double twipsPerInch = 1440;
constexpr double footerHeight = 420;

QFont coverFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({"Arial", "Liberation Sans", "Arimo", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(int(points * 20));
    font.setBold(bold);
    return font;
}

struct Line {
    enum Kind { Title, Field, Heading, Panel, Skipped, Signature } kind;
    QStringList cells;
};

QList<Line> coverLines(const Site& site, const QList<Sheet>& sheets, const QList<int>& pages) {
    QList<Line> lines;
    lines << Line{Line::Title, {QStringLiteral("SITE HANDOVER")}};
    lines << Line{Line::Field, {QStringLiteral("SITE"), site.name}};
    lines << Line{Line::Field, {QStringLiteral("DATE"), site.date.toString("yyyy-MM-dd")}};
    lines << Line{Line::Field, {QStringLiteral("CONFIGURED BY"), site.by}};
    lines << Line{Line::Field, {QStringLiteral("PANELS"), QStringLiteral("%1").arg(sheets.size())}};
    lines << Line{Line::Heading,
                  {QStringLiteral("PANEL"), QStringLiteral("FILE"), QStringLiteral("MODEL"),
                   QStringLiteral("PAGE")}};
    for (qsizetype i = 0; i < sheets.size(); ++i)
        lines << Line{
            Line::Panel,
            {sheets[i].panel, sheets[i].source, sheets[i].model, QString::number(pages.value(i))}};
    if (!site.skipped.isEmpty()) {
        lines << Line{Line::Heading, {QStringLiteral("SKIPPED FILE"), QStringLiteral("WHY")}};
        for (const auto& [file, why] : site.skipped)
            lines << Line{Line::Skipped, {file, why}};
    }
    lines << Line{Line::Signature, {QStringLiteral("ACCEPTED BY (NAME, SIGNATURE)")}};
    lines << Line{Line::Signature, {QStringLiteral("DATE OF ACCEPTANCE")}};
    return lines;
}

double heightOf(const Line& line) {
    switch (line.kind) {
    case Line::Title:
        return 900;
    case Line::Heading:
        return 520;
    case Line::Signature:
        return 900;
    default:
        return 330;
    }
}

// The page each line stands on.
QList<int> pagesOf(const QList<Line>& lines, double height) {
    QList<int> pages;
    int page = 0;
    double y = 0;
    for (const Line& line : lines) {
        if (y + heightOf(line) > height - footerHeight && y > 0) {
            ++page;
            y = 0;
        }
        pages << page;
        y += heightOf(line);
    }
    return pages;
}

double enterTwips(QPainter& p, const QRectF& page) {
    p.save();
    const double scale = p.device()->logicalDpiY() / twipsPerInch;
    p.translate(page.topLeft());
    p.scale(scale, scale);
    return scale;
}

void text(QPainter& p, const QRectF& box, const QString& s, Qt::TextElideMode elide) {
    p.drawText(box, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
               p.fontMetrics().elidedText(s, elide, int(box.width())));
}
} // namespace

int coverPageCount(QPainter& painter, const QRectF& page, const Site& site,
                   const QList<Sheet>& sheets) {
    const double scale = enterTwips(painter, page);
    const QList<int> pages = pagesOf(coverLines(site, sheets, {}), page.height() / scale);
    painter.restore();
    return pages.last() + 1;
}

void paintCover(QPainter& painter, const QRectF& page, const Site& site, const QList<Sheet>& sheets,
                const QList<int>& firstPages, int pageOfCover) {
    QPainter& p = painter;
    const double scale = enterTwips(p, page);
    const double width = page.width() / scale, height = page.height() / scale;
    const QList<Line> lines = coverLines(site, sheets, firstPages);
    const QList<int> pages = pagesOf(lines, height);
    // Columns of the list of panels: name, file (shortened in the middle), model, page.
    const double pageColumn = 900, modelColumn = 3900, nameColumn = 2200;
    const double fileColumn = width - nameColumn - modelColumn - pageColumn;
    double y = 0;
    p.setPen(Qt::black);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (pages[i] != pageOfCover)
            continue;
        const Line& line = lines[i];
        const double h = heightOf(line);
        const QRectF row(0, y, width, h - 60);
        switch (line.kind) {
        case Line::Title:
            p.setFont(coverFont(20, true));
            text(p, row, line.cells[0], Qt::ElideRight);
            break;
        case Line::Field:
            p.setFont(coverFont(10, true));
            text(p, QRectF(0, y, 2600, h - 60), line.cells[0], Qt::ElideRight);
            p.setFont(coverFont(10));
            text(p, QRectF(2600, y, width - 2600, h - 60), line.cells[1], Qt::ElideMiddle);
            break;
        case Line::Heading:
        case Line::Panel:
        case Line::Skipped: {
            p.setFont(coverFont(9, line.kind == Line::Heading));
            const bool panel = line.kind != Line::Skipped && line.cells.size() == 4;
            const QList<double> widths =
                panel ? QList<double>{nameColumn, fileColumn, modelColumn, pageColumn}
                      : QList<double>{nameColumn + fileColumn, modelColumn + pageColumn};
            double x = 0;
            for (qsizetype c = 0; c < line.cells.size(); ++c) {
                text(p, QRectF(x, y, widths[c] - 80, h - 60), line.cells[c],
                     c == 0 && !panel ? Qt::ElideMiddle
                     : c == 1         ? Qt::ElideMiddle
                                      : Qt::ElideRight);
                x += widths[c];
            }
            if (line.kind == Line::Heading) {
                p.setPen(QPen(Qt::black, 15));
                p.drawLine(QPointF(0, y + h - 20), QPointF(width, y + h - 20));
            }
            break;
        }
        case Line::Signature:
            p.setFont(coverFont(9, true));
            text(p, QRectF(0, y, 4000, h - 60), line.cells[0], Qt::ElideRight);
            p.setPen(QPen(Qt::black, 15));
            p.drawLine(QPointF(4000, y + h - 60), QPointF(width, y + h - 60));
            break;
        }
        y += h;
    }
    p.restore();
}
