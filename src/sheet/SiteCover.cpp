#include "sheet/SiteCover.h"

#include "sheet/SheetText.h"
#include "site/SameName.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {
using SheetText::enterTwips;
using SheetText::footerHeight;

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
    QStringList heading{QStringLiteral("PANEL"), QStringLiteral("FILE"), QStringLiteral("MODEL"),
                        QStringLiteral("PAGE")};
    if (site.hasLog)
        heading.insert(3, QStringLiteral("COMMISSIONING"));
    lines << Line{Line::Heading, heading};
    QStringList names;
    for (const Sheet& sheet : sheets)
        names << sheet.panel;
    const QList<qsizetype> sameName = SameName::others(names);
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        // Two panels of one name are told apart by their files.
        const QString panel =
            sameName[i] < 0
                ? sheets[i].panel
                : QStringLiteral("%1 (same panel name as %2)")
                      .arg(sheets[i].panel, QFileInfo(sheets[sameName[i]].source).fileName());
        QStringList cells{panel, sheets[i].source, sheets[i].model,
                          QString::number(pages.value(i))};
        if (site.hasLog) {
            const QString file = QFileInfo(sheets[i].source).fileName();
            cells.insert(3, site.states.value(file, QStringLiteral("not yet")));
        }
        lines << Line{Line::Panel, cells};
    }
    if (!site.skipped.isEmpty()) {
        lines << Line{Line::Heading, {QStringLiteral("SKIPPED FILE"), QStringLiteral("WHY")}};
        for (const auto& [file, why] : site.skipped)
            lines << Line{Line::Skipped, {file, why}};
    }
    lines << Line{Line::Signature, {QStringLiteral("ACCEPTED BY (NAME, SIGNATURE)")}};
    lines << Line{Line::Signature, {QStringLiteral("DATE OF ACCEPTANCE")}};
    return lines;
}

// A line's height with one line of text in each cell.
double heightOf(Line::Kind kind) {
    switch (kind) {
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

// Columns of the list of panels: name, file, model, page; of the skipped
// files: file, why. The fields' keys take the first.
constexpr double nameColumn = 2200, modelColumn = 3900, pageColumn = 900, keyColumn = 2600;
// With the commissioning states, the model's column gives them room.
constexpr double narrowModelColumn = 1700, stateColumn = 2200;
constexpr double cellGap = 80;

// A line with its cells set into their columns, every text whole: names and
// reasons wrap, paths keep the file's own name. It grows by the lines its
// tallest cell takes.
struct SetLine {
    Line::Kind kind;
    QList<double> x, widths;
    QList<QStringList> cells;
    QList<QFont> fonts;
    double height = 0;
    int page = 0;
};

QList<SetLine> setLines(QPainter& p, const QList<Line>& lines, double width, double height) {
    const double fileColumn = width - nameColumn - modelColumn - pageColumn;
    QList<SetLine> set;
    int page = 0;
    double y = 0;
    for (const Line& line : lines) {
        SetLine s{line.kind, {}, {}, {}, {}, 0, 0};
        QList<double> columns;
        QList<bool> isPath;
        switch (line.kind) {
        case Line::Title:
            columns = {width};
            s.fonts = {SheetText::font(20, true)};
            break;
        case Line::Field:
            columns = {keyColumn, width - keyColumn};
            s.fonts = {SheetText::font(10, true), SheetText::font(10)};
            break;
        case Line::Signature:
            columns = {4000};
            s.fonts = {SheetText::font(9, true)};
            break;
        case Line::Heading:
        case Line::Panel:
        case Line::Skipped:
            columns = line.cells.size() == 5
                          ? QList<double>{nameColumn, fileColumn, narrowModelColumn, stateColumn,
                                          pageColumn}
                      : line.cells.size() == 4
                          ? QList<double>{nameColumn, fileColumn, modelColumn, pageColumn}
                          : QList<double>{nameColumn + fileColumn, modelColumn + pageColumn};
            s.fonts = QList<QFont>(columns.size(), SheetText::font(9, line.kind == Line::Heading));
            isPath = {line.kind == Line::Skipped, line.kind == Line::Panel};
            break;
        }
        double x = 0, extra = 0;
        for (qsizetype c = 0; c < line.cells.size(); ++c) {
            const double room = columns[c] - cellGap;
            s.x << x;
            s.widths << room;
            s.cells << (isPath.value(c)
                            ? SheetText::path(s.fonts[c], p.device(), line.cells[c], room)
                            : SheetText::wrapped(s.fonts[c], p.device(), line.cells[c], room));
            const qsizetype more = std::max<qsizetype>(1, s.cells.last().size()) - 1;
            extra = std::max(extra, more * QFontMetricsF(s.fonts[c], p.device()).lineSpacing());
            x += columns[c];
        }
        s.height = heightOf(line.kind) + extra;
        if (y + s.height > height - footerHeight && y > 0) {
            ++page;
            y = 0;
        }
        s.page = page;
        y += s.height;
        set << s;
    }
    return set;
}

} // namespace

int coverPageCount(QPainter& painter, const QRectF& page, const Site& site,
                   const QList<Sheet>& sheets) {
    const double scale = enterTwips(painter, page);
    const QList<SetLine> set = setLines(painter, coverLines(site, sheets, {}), page.width() / scale,
                                        page.height() / scale);
    painter.restore();
    return set.last().page + 1;
}

void paintCover(QPainter& painter, const QRectF& page, const Site& site, const QList<Sheet>& sheets,
                const QList<int>& firstPages, int pageOfCover) {
    QPainter& p = painter;
    const double scale = enterTwips(p, page);
    const double width = page.width() / scale, height = page.height() / scale;
    double y = 0;
    for (const SetLine& s : setLines(p, coverLines(site, sheets, firstPages), width, height)) {
        if (s.page != pageOfCover)
            continue;
        // A cell's first line stands where the only one would.
        const double first = heightOf(s.kind) - 60;
        p.setPen(Qt::black);
        for (qsizetype c = 0; c < s.cells.size(); ++c) {
            p.setFont(s.fonts[c]);
            const double spacing = QFontMetricsF(s.fonts[c], p.device()).lineSpacing();
            for (qsizetype l = 0; l < s.cells[c].size(); ++l)
                p.drawText(QRectF(s.x[c], y + l * spacing, s.widths[c], first),
                           Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, s.cells[c][l]);
        }
        p.setPen(QPen(Qt::black, 15));
        if (s.kind == Line::Heading)
            p.drawLine(QPointF(0, y + s.height - 20), QPointF(width, y + s.height - 20));
        else if (s.kind == Line::Signature)
            p.drawLine(QPointF(4000, y + s.height - 60), QPointF(width, y + s.height - 60));
        y += s.height;
    }
    p.restore();
}
