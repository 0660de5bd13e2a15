#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Bookmarks for a finished PDF. Qt's PDF writer has no outline of its own,
// so the outline goes in as an incremental update: new objects, a catalog
// that names them, and a cross-reference section after the writer's last
// byte. Nothing the writer wrote is touched.
namespace PdfOutline {
struct Mark {
    QString title;
    int page = 0; // counted from 0 in the document's order
};

// Appends marks, in order, as the document's top-level bookmarks, and has a
// viewer open with them shown. False, with why said and pdf as it was, when
// pdf is not a complete single-revision PDF with a flat page tree (as Qt's
// writer leaves it), already has an outline, or a mark names no page.
bool append(QByteArray& pdf, const QList<Mark>& marks, QString* why);
} // namespace PdfOutline
