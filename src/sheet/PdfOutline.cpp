#include "sheet/PdfOutline.h"

#include <QHash>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {
struct Reference {
    qint64 number = 0;
    qint64 generation = 0;
    bool operator==(const Reference&) const = default;
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

// Where each object in use is, by its number: offset and generation.
using Table = QHash<qint64, std::pair<qint64, qint64>>;

// Readers number objects below 2^23.
constexpr qint64 maxObjects = qint64(1) << 23;

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool isDelimiter(char c) {
    return isSpace(c) || QByteArrayView("()<>[]{}/%").contains(c);
}
bool digits(QByteArrayView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One object of the file's syntax, as far as the update needs it: a
// dictionary's entries, an array's items, names, whole numbers and
// references; anything else well formed is kept as its text only.
struct Value {
    enum Kind { Other, Integer, Name, Ref, Array, Dictionary } kind = Other;
    qint64 integer = 0;
    QByteArray name;
    Reference ref;
    QList<Value> items;
    QHash<QByteArray, Value> entries;
    QByteArray text; // as written
};

// Reads objects the way a PDF reader does, so that what the update copies
// or points at is what a reader will find. Nothing malformed is guessed at.
class Reader {
public:
    Reader(const QByteArray& pdf, qsizetype at) : m_pdf(pdf), m_at(at) {}

    void skipSpace() {
        while (m_at < m_pdf.size()) {
            if (m_pdf[m_at] == '%') { // a comment runs to the end of its line
                while (m_at < m_pdf.size() && m_pdf[m_at] != '\n' && m_pdf[m_at] != '\r')
                    ++m_at;
            } else if (isSpace(m_pdf[m_at])) {
                ++m_at;
            } else {
                break;
            }
        }
    }
    QByteArray token() {
        skipSpace();
        const qsizetype start = m_at;
        while (m_at < m_pdf.size() && !isDelimiter(m_pdf[m_at]))
            ++m_at;
        return m_pdf.mid(start, m_at - start);
    }
    std::optional<qint64> integer() {
        const QByteArray t = token();
        if (!digits(t) || t.size() > 15)
            return std::nullopt;
        return t.toLongLong();
    }

    std::optional<Value> value(int depth = 0) {
        skipSpace();
        const qsizetype start = m_at;
        auto v = body(depth);
        if (v)
            v->text = m_pdf.mid(start, m_at - start);
        return v;
    }

private:
    bool at(const char* text) const { return QByteArrayView(m_pdf).sliced(m_at).startsWith(text); }

    std::optional<Value> body(int depth) {
        if (m_at >= m_pdf.size() || depth > 32)
            return std::nullopt;
        Value v;
        if (at("<<")) {
            m_at += 2;
            v.kind = Value::Dictionary;
            for (;;) {
                skipSpace();
                if (at(">>")) {
                    m_at += 2;
                    return v;
                }
                const auto key = value(depth + 1);
                // A key given twice leaves readers to pick either.
                if (!key || key->kind != Value::Name || v.entries.contains(key->name))
                    return std::nullopt;
                const auto item = value(depth + 1);
                if (!item)
                    return std::nullopt;
                v.entries.insert(key->name, *item);
            }
        }
        const char c = m_pdf[m_at];
        if (c == '[') {
            ++m_at;
            v.kind = Value::Array;
            for (;;) {
                skipSpace();
                if (at("]")) {
                    ++m_at;
                    return v;
                }
                const auto item = value(depth + 1);
                if (!item)
                    return std::nullopt;
                v.items.append(*item);
            }
        }
        if (c == '/') {
            ++m_at;
            v.kind = Value::Name;
            v.name = '/' + token();
            return v;
        }
        if (c == '(') {
            for (int open = 0; m_at < m_pdf.size(); ++m_at) {
                if (m_pdf[m_at] == '\\')
                    ++m_at;
                else if (m_pdf[m_at] == '(')
                    ++open;
                else if (m_pdf[m_at] == ')' && --open == 0)
                    return ++m_at, v;
            }
            return std::nullopt;
        }
        if (c == '<') {
            for (++m_at; m_at < m_pdf.size() && m_pdf[m_at] != '>'; ++m_at)
                if (!isSpace(m_pdf[m_at]) && !std::isxdigit(uchar(m_pdf[m_at])))
                    return std::nullopt;
            return m_at < m_pdf.size() ? (++m_at, std::optional(v)) : std::nullopt;
        }
        const QByteArray t = token();
        if (t == "true" || t == "false" || t == "null")
            return v;
        bool ok = false;
        t.toDouble(&ok);
        if (!ok || t.contains('e') || t.contains('E') || t.contains('n') || t.contains('N'))
            return std::nullopt; // no exponents, infinities or NaN in this syntax
        // A whole number too long for a reader's integer is read as an
        // integer by some readers, as a real by others, or refused.
        if (digits(t) && t.size() > 15)
            return std::nullopt;
        if (digits(t)) {
            const qsizetype after = m_at;
            if (const auto generation = integer(); generation && token() == "R") {
                v.kind = Value::Ref;
                v.ref = {t.toLongLong(), *generation};
                return v;
            }
            m_at = after;
            v.kind = Value::Integer;
            v.integer = t.toLongLong();
        }
        return v;
    }

    const QByteArray& m_pdf;
    qsizetype m_at;
};

// The cross-reference table between "xref" and "trailer" as readers take it:
// subsections, each a line "first count" and count entries of exactly 20
// bytes, "oooooooooo ggggg n" and a two-byte end of line. The place of each
// object in use; highest: the largest object number listed.
std::optional<Table> table(const QByteArray& pdf, qint64 at, qint64 end, qint64* highest) {
    auto isEol = [&](qint64 i) { return i < end && (pdf[i] == '\r' || pdf[i] == '\n'); };
    Table offsets;
    if (!isEol(at)) // "xref" ends its line
        return std::nullopt;
    while (isEol(at))
        ++at;
    while (at < end) {
        qint64 lineEnd = at;
        while (lineEnd < end && !isEol(lineEnd))
            ++lineEnd;
        QList<QByteArray> header;
        for (const QByteArray& field : pdf.mid(at, lineEnd - at).split(' '))
            if (!field.isEmpty())
                header.append(field);
        if (header.size() != 2 || !digits(header[0]) || !digits(header[1]) ||
            header[0].size() > 7 || header[1].size() > 7)
            return std::nullopt;
        const qint64 first = header[0].toLongLong();
        const qint64 count = header[1].toLongLong();
        at = lineEnd;
        while (isEol(at))
            ++at;
        if (count > (end - at) / 20 || first + count > maxObjects)
            return std::nullopt;
        for (qint64 k = 0; k < count; ++k, at += 20) {
            const QByteArrayView entry = QByteArrayView(pdf).sliced(at, 20);
            const QByteArrayView eol = entry.sliced(18);
            if (!digits(entry.first(10)) || entry[10] != ' ' || !digits(entry.sliced(11, 5)) ||
                entry[16] != ' ' || (entry[17] != 'n' && entry[17] != 'f') ||
                (eol != " \n" && eol != " \r" && eol != "\r\n"))
                return std::nullopt;
            *highest = std::max(*highest, first + k);
            if (entry[17] == 'n')
                offsets.insert(first + k,
                               {entry.first(10).toLongLong(), entry.sliced(11, 5).toLongLong()});
        }
        while (at < end && (pdf[at] == ' ' || isEol(at)))
            ++at;
    }
    return offsets;
}

// The dictionary "n g obj << ... >> endobj" holds, found through the
// cross-reference table rather than by searching, as content streams may
// hold anything.
std::optional<Value> dictionaryAt(const QByteArray& pdf, const Table& offsets,
                                  const Reference& ref) {
    const auto place = offsets.value(ref.number, {-1, -1});
    const qint64 at = place.first;
    // A reference to another generation than the table's is to a free object.
    if (at < 0 || at >= pdf.size() || place.second != ref.generation)
        return std::nullopt;
    Reader reader(pdf, at);
    if (reader.integer() != ref.number || reader.integer() != ref.generation ||
        reader.token() != "obj")
        return std::nullopt;
    const auto body = reader.value();
    if (!body || body->kind != Value::Dictionary || reader.token() != "endobj")
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
    const QByteArray offset = pdf.mid(startxref + 9, eof - startxref - 9).trimmed();
    const qint64 xref = digits(offset) && offset.size() <= 15 ? offset.toLongLong() : -1;
    if (xref < 0 || xref >= startxref || !pdf.mid(xref).startsWith("xref"))
        return fail("the PDF's cross-reference table is not where it says");
    doc.xrefOffset = xref;

    const qint64 trailer = pdf.indexOf("trailer", xref);
    if (trailer < 0 || trailer > startxref)
        return fail("the PDF has no trailer");
    qint64 highest = -1;
    const auto offsets = table(pdf, xref + 4, trailer, &highest);
    if (!offsets)
        return fail("the PDF's cross-reference table cannot be read");

    Reader trailerReader(pdf, trailer + 7);
    const auto dictionary = trailerReader.value();
    if (!dictionary || dictionary->kind != Value::Dictionary ||
        trailerReader.token() != "startxref")
        return fail("the PDF's trailer cannot be read");
    const auto& entries = dictionary->entries;
    if (entries.contains("/Prev"))
        return fail("the PDF has been updated before");
    const Value size = entries.value("/Size");
    const Value root = entries.value("/Root");
    if (size.kind != Value::Integer || root.kind != Value::Ref)
        return fail("the PDF's trailer names no catalog");
    // The new objects are numbered from /Size on: it must lie above every
    // object the table knows, or they would take an old one's number.
    if (size.integer <= highest || size.integer > maxObjects)
        return fail("the PDF's trailer gives a wrong /Size");
    doc.size = size.integer;
    doc.root = root.ref;
    if (const Value info = entries.value("/Info"); info.kind == Value::Ref)
        doc.infoAndId += "/Info " + info.text + '\n';
    if (const Value id = entries.value("/ID"); id.kind == Value::Array)
        doc.infoAndId += "/ID " + id.text + '\n';

    const auto catalog = dictionaryAt(pdf, *offsets, doc.root);
    if (!catalog || catalog->entries.value("/Type").name != "/Catalog")
        return fail("the PDF's catalog cannot be read");
    if (catalog->entries.contains("/Outlines"))
        return fail("the PDF has bookmarks already");
    if (catalog->entries.contains("/PageMode")) // the update sets its own
        return fail("the PDF's catalog sets a page mode already");
    doc.rootDictionary = catalog->text;

    const Value tree = catalog->entries.value("/Pages");
    const auto pages =
        tree.kind == Value::Ref ? dictionaryAt(pdf, *offsets, tree.ref) : std::nullopt;
    const Value kids = pages ? pages->entries.value("/Kids") : Value{};
    const Value count = pages ? pages->entries.value("/Count") : Value{};
    if (kids.kind != Value::Array || count.kind != Value::Integer)
        return fail("the PDF's pages cannot be found");
    for (const Value& kid : kids.items) {
        // A bookmark leads to a page a viewer finds through the table.
        const auto page =
            kid.kind == Value::Ref ? dictionaryAt(pdf, *offsets, kid.ref) : std::nullopt;
        if (!page || page->entries.value("/Type").name != "/Page")
            return fail("the PDF's page tree is nested or cannot be read");
        doc.pages.append(kid.ref);
    }
    // A nested page tree counts more pages than it has kids.
    if (doc.pages.size() != count.integer)
        return fail("the PDF's page tree is nested or cannot be read");
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
    // Offsets count from the writer's last byte, the update's own newline included.
    const qint64 start = pdf.size();
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
