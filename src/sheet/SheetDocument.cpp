#include "sheet/SheetDocument.h"

#include "files/FileSave.h"
#include "files/OutputGuard.h"
#include "platform/AppInfo.h"
#include "sheet/PdfOutline.h"
#include "sheet/SheetPainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

QPageSize SheetDocument::paperFor(const QLocale& locale) {
    // The countries where Letter is the usual paper.
    static constexpr QLocale::Territory letter[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,   QLocale::Philippines,
        QLocale::PuertoRico,   QLocale::Chile,     QLocale::Colombia, QLocale::Venezuela,
        QLocale::CostaRica,    QLocale::Guatemala, QLocale::Panama,   QLocale::DominicanRepublic,
        QLocale::ElSalvador,   QLocale::Nicaragua};
    const bool usesLetter =
        locale.measurementSystem() == QLocale::ImperialUSSystem ||
        std::find(std::begin(letter), std::end(letter), locale.territory()) != std::end(letter);
    return QPageSize(usesLetter ? QPageSize::Letter : QPageSize::A4);
}

void SheetDocument::setMargins(QPagedPaintDevice& device) {
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QPageSize SheetDocument::paperOfEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return paperFor(QLocale(name.section(QLatin1Char('.'), 0, 0)));
    }
    return paperFor();
}

bool SheetDocument::paint(QPagedPaintDevice& device, const QList<Sheet>& sheets, const Site* site,
                          QList<int>* firstPagesOut) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter starts at the page's margins; width and height are what
    // lies within them.
    const QRectF page(0, 0, device.width(), device.height());
    const int cover = site ? coverPageCount(painter, page, *site, sheets) : 0;
    QList<int> firstPages, counts;
    int total = cover;
    for (const Sheet& sheet : sheets) {
        firstPages << total + 1;
        counts << sheetPageCount(painter, page, sheet);
        total += counts.last();
    }
    if (firstPagesOut)
        *firstPagesOut = firstPages;
    int number = 0;
    auto next = [&] { return number++ == 0 || device.newPage(); };
    for (int c = 0; c < cover; ++c) {
        if (!next())
            return false;
        paintCover(painter, page, *site, sheets, firstPages, c);
        paintFooter(painter, page, QStringLiteral("%1 of %2").arg(number).arg(total));
    }
    for (qsizetype i = 0; i < sheets.size(); ++i)
        for (int k = 0; k < counts[i]; ++k) {
            if (!next())
                return false;
            paintSheet(painter, page, sheets[i], k);
            paintFooter(painter, page, QStringLiteral("%1 of %2").arg(number).arg(total));
        }
    return painter.end();
}

bool SheetDocument::writePdf(const QString& chosen, const QList<Sheet>& sheets, QString* error,
                             const QPageSize& paper, const QStringList& inputs, const Site* site) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // A configuration file named by mistake is never replaced: the panel
    // keeps no designations, so they would be gone for good.
    const QString path = OutputGuard::pdfPath(chosen);
    if (const auto refused = OutputGuard::pdfRefusal(path, inputs))
        return fail(*refused);
    // Drawn in memory first: the bookmarks go after the writer's last byte.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QList<int> firstPages;
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(paper);
        setMargins(pdf);
        pdf.setCreator(QStringLiteral("%1 %2").arg(AppInfo::programName, AppInfo::version));
        pdf.setTitle(sheets.size() == 1
                         ? QStringLiteral("Configuration sheet: %1").arg(sheets[0].panel)
                     : site ? QStringLiteral("Site handover: %1").arg(site->name)
                            : QStringLiteral("Configuration sheets"));
        if (!paint(pdf, sheets, site, &firstPages))
            return fail(QStringLiteral("the PDF could not be drawn"));
    }
    buffer.close();
    if (site) {
        QList<PdfOutline::Mark> marks{{QStringLiteral("SITE HANDOVER"), 0}};
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            const QString file = QFileInfo(sheets[i].source).fileName();
            const QString title = sheets[i].panel.trimmed().isEmpty() ? file
                                  : file.isEmpty()
                                      ? sheets[i].panel
                                      : sheets[i].panel + QStringLiteral(" \u2013 ") + file;
            marks.append({title, firstPages[i] - 1});
        }
        if (QString why; !PdfOutline::append(bytes, marks, &why))
            return fail(QStringLiteral("the bookmarks could not be added: %1").arg(why));
    }
    if (const auto why = FileSave::replaceWhole(path, bytes))
        return fail(*why);
    return true;
}
