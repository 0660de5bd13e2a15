#include "sheet/PdfOutline.h"

#include <QHash>
#include <QRegularExpression>

#include <optional>

namespace {
struct Reference {
    qint64 number = 0;
    qint64 generation = 0;
};

// What the update needs from the document as written.
struct Document {
    qint64 xrefOffset = 0;
    qint64 size = 0; // the trailer's /Size: the first free object number
    Reference root;
    QByteArray rootDictionary; // the catalog's << ... >>
    QByteArray infoAndId;      // the trailer's /Info and /ID entries, as written
    QList<Reference> pages;
};

std::optional<qint64> number(const QByteArray& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

std::optional<Reference> reference(const QString& dictionary, const QString& key) {
    const QRegularExpression pattern(QStringLiteral("/%1\\s+(\\d+)\\s+(\\d+)\\s+R").arg(key));
    const auto match = pattern.match(dictionary);
    if (!match.hasMatch())
        return std::nullopt;
    return Reference{match.captured(1).toLongLong(), match.captured(2).toLongLong()};
}

// The dictionary "n g obj << ... >> endobj" holds, found through the
// cross-reference table rather than by searching, as content streams may
// hold anything.
std::optional<QByteArray> dictionaryAt(const QByteArray& pdf, const QHash<qint64, qint64>& offsets,
                                       const Reference& ref) {
    const qint64 at = offsets.value(ref.number, -1);
    const QByteArray head =
        QByteArray::number(ref.number) + ' ' + QByteArray::number(ref.generation) + " obj";
    if (at < 0 || at >= pdf.size() || !pdf.mid(at, head.size()).startsWith(head))
        return std::nullopt;
    const qint64 end = pdf.indexOf("endobj", at);
    if (end < 0)
        return std::nullopt;
    const QByteArray body = pdf.mid(at + head.size(), end - at - head.size()).trimmed();
    if (!body.startsWith("<<") || !body.endsWith(">>"))
        return std::nullopt;
    return body;
}

std::optional<Document> readDocument(const QByteArray& pdf, QString* why) {
    auto fail = [&](const char* reason) {
        *why = QString::fromLatin1(reason);
        return std::nullopt;
    };
    Document doc;
    const qint64 startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0 || !pdf.trimmed().endsWith("%%EOF"))
        return fail("the PDF is not complete");
    const qint64 eof = pdf.indexOf("%%EOF", startxref);
    const auto xref = number(pdf.mid(startxref + 9, eof - startxref - 9));
    if (!xref || *xref >= startxref || !pdf.mid(*xref).startsWith("xref"))
        return fail("the PDF's cross-reference table is not where it says");
    doc.xrefOffset = *xref;

    // One or more subsections "first count" of 20-byte entries, then the trailer.
    QHash<qint64, qint64> offsets;
    const qint64 trailer = pdf.indexOf("trailer", *xref);
    if (trailer < 0 || trailer > startxref)
        return fail("the PDF has no trailer");
    const QList<QByteArray> lines = pdf.mid(*xref + 4, trailer - *xref - 4).split('\n');
    qint64 next = -1;
    for (const QByteArray& raw : lines) {
        const QList<QByteArray> fields = raw.simplified().split(' ');
        if (fields.size() == 2 && fields[0] != "")
            next = number(fields[0]).value_or(-1);
        else if (fields.size() == 3 && next >= 0) {
            if (fields[2] == "n")
                offsets.insert(next, number(fields[0]).value_or(-1));
            ++next;
        } else if (!raw.trimmed().isEmpty())
            return fail("the PDF's cross-reference table cannot be read");
    }

    const QString dictionary = QString::fromLatin1(pdf.mid(trailer, startxref - trailer));
    if (dictionary.contains(QLatin1String("/Prev")))
        return fail("the PDF has been updated before");
    const auto size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(dictionary);
    const auto root = reference(dictionary, QStringLiteral("Root"));
    if (!size.hasMatch() || !root)
        return fail("the PDF's trailer names no catalog");
    doc.size = size.captured(1).toLongLong();
    doc.root = *root;
    if (const auto info =
            QRegularExpression(QStringLiteral("/Info\\s+\\d+\\s+\\d+\\s+R")).match(dictionary);
        info.hasMatch())
        doc.infoAndId += info.captured().toLatin1() + '\n';
    if (const auto id =
            QRegularExpression(QStringLiteral("/ID\\s*\\[[^\\]]*\\]")).match(dictionary);
        id.hasMatch())
        doc.infoAndId += id.captured().toLatin1() + '\n';

    const auto catalog = dictionaryAt(pdf, offsets, doc.root);
    if (!catalog || !QString::fromLatin1(*catalog).contains(
                        QRegularExpression(QStringLiteral("/Type\\s*/Catalog"))))
        return fail("the PDF's catalog cannot be read");
    if (catalog->contains("/Outlines"))
        return fail("the PDF has bookmarks already");
    doc.rootDictionary = *catalog;

    const auto tree = reference(QString::fromLatin1(*catalog), QStringLiteral("Pages"));
    const auto pages = tree ? dictionaryAt(pdf, offsets, *tree) : std::nullopt;
    if (!pages)
        return fail("the PDF's pages cannot be found");
    const QString pagesText = QString::fromLatin1(*pages);
    const auto kids =
        QRegularExpression(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]")).match(pagesText);
    const auto count = QRegularExpression(QStringLiteral("/Count\\s+(\\d+)")).match(pagesText);
    if (!kids.hasMatch() || !count.hasMatch())
        return fail("the PDF's pages cannot be found");
    auto refs =
        QRegularExpression(QStringLiteral("(\\d+)\\s+(\\d+)\\s+R")).globalMatch(kids.captured(1));
    while (refs.hasNext()) {
        const auto ref = refs.next();
        doc.pages.append({ref.captured(1).toLongLong(), ref.captured(2).toLongLong()});
    }
    // A nested page tree counts more pages than it has kids.
    if (doc.pages.size() != count.captured(1).toLongLong())
        return fail("the PDF's page tree is nested");
    return doc;
}

// A text string any viewer reads: UTF-16BE with its byte-order mark, in hex.
QByteArray textString(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QByteArray ref(qint64 number, qint64 generation = 0) {
    return QByteArray::number(number) + ' ' + QByteArray::number(generation) + " R";
}
} // namespace

bool PdfOutline::append(QByteArray& pdf, const QList<Mark>& marks, QString* why) {
    QString reason;
    const auto doc = readDocument(pdf, &reason);
    if (!doc) {
        if (why)
            *why = reason;
        return false;
    }
    for (const Mark& mark : marks)
        if (mark.page < 0 || mark.page >= doc->pages.size()) {
            if (why)
                *why = QStringLiteral("a bookmark names page %1 of %2")
                           .arg(mark.page + 1)
                           .arg(doc->pages.size());
            return false;
        }
    if (marks.isEmpty())
        return true;

    QByteArray update;
    const qint64 start = pdf.endsWith('\n') ? pdf.size() : pdf.size() + 1;
    if (!pdf.endsWith('\n'))
        update += '\n';
    QList<qint64> offsets; // of the outline, then each item, then nothing else
    auto object = [&](qint64 number, const QByteArray& body, qint64 generation = 0) {
        offsets << start + update.size();
        update += QByteArray::number(number) + ' ' + QByteArray::number(generation) + " obj\n" +
                  body + "\nendobj\n";
    };
    const qint64 outline = doc->size;
    const qint64 first = outline + 1;
    const qint64 last = outline + marks.size();
    object(outline, "<<\n/Type /Outlines\n/First " + ref(first) + "\n/Last " + ref(last) +
                        "\n/Count " + QByteArray::number(marks.size()) + "\n>>");
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const qint64 item = first + i;
        const Reference& page = doc->pages[marks[i].page];
        QByteArray body = "<<\n/Title " + textString(marks[i].title) + "\n/Parent " + ref(outline);
        if (item > first)
            body += "\n/Prev " + ref(item - 1);
        if (item < last)
            body += "\n/Next " + ref(item + 1);
        body += "\n/Dest [" + ref(page.number, page.generation) + " /Fit]\n>>";
        object(item, body);
    }
    const qint64 catalogAt = start + update.size();
    QByteArray catalog = doc->rootDictionary;
    catalog.chop(2);
    object(doc->root.number,
           catalog.trimmed() + "\n/Outlines " + ref(outline) + "\n/PageMode /UseOutlines\n>>",
           doc->root.generation);
    offsets.removeLast();

    auto entry = [](qint64 offset, qint64 generation) {
        return QByteArray::number(offset).rightJustified(10, '0') + ' ' +
               QByteArray::number(generation).rightJustified(5, '0') + " n \n";
    };
    const qint64 xref = start + update.size();
    update += "xref\n" + QByteArray::number(doc->root.number) + " 1\n" +
              entry(catalogAt, doc->root.generation) + QByteArray::number(outline) + ' ' +
              QByteArray::number(offsets.size()) + '\n';
    for (const qint64 at : offsets)
        update += entry(at, 0);
    update += "trailer\n<<\n/Size " + QByteArray::number(last + 1) + "\n/Root " +
              ref(doc->root.number, doc->root.generation) + '\n' + doc->infoAndId + "/Prev " +
              QByteArray::number(doc->xrefOffset) + "\n>>\nstartxref\n" + QByteArray::number(xref) +
              "\n%%EOF\n";
    pdf += update;
    return true;
}
