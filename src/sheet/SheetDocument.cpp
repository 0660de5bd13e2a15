#include "sheet/SheetDocument.h"

#include "platform/AppInfo.h"
#include "files/OutputGuard.h"
#include "sheet/SheetPainter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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

bool SheetDocument::paint(QPagedPaintDevice& device, const QList<Sheet>& sheets) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        // The painter starts at the page's margins; width and height are
        // what lies within them.
        paintSheet(painter, QRectF(0, 0, device.width(), device.height()), sheets[i]);
    }
    return painter.end();
}

bool SheetDocument::writePdf(const QString& chosen, const QList<Sheet>& sheets, QString* error,
                             const QPageSize& paper, const QStringList& inputs) {
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(paper);
        setMargins(pdf);
        pdf.setCreator(QStringLiteral("%1 %2").arg(AppInfo::programName, AppInfo::version));
        pdf.setTitle(sheets.size() == 1
                         ? QStringLiteral("Configuration sheet: %1").arg(sheets[0].panel)
                         : QStringLiteral("Configuration sheets"));
        if (!paint(pdf, sheets)) {
            file.cancelWriting();
            return fail(QStringLiteral("the PDF could not be drawn"));
        }
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
