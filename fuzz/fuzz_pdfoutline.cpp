// The bookmark appender on any PDF: as Qt's writer leaves it, cut short or
// altered anyhow. It may refuse, leaving the bytes as they were; where it
// says it succeeded, the update it appended must read as a PDF reader reads
// it: the cross-reference section it adds points at its objects, its trailer
// chains to the writer's table, and every reference it writes resolves.

#include "sheet/PdfOutline.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::abort();
}

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool isDelimiter(char c) {
    return isSpace(c) || QByteArrayView("()<>[]{}/%").contains(c);
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Ref {
    qint64 number = -1;
    qint64 generation = 0;
    bool operator==(const Ref&) const = default;
};

// One PDF object as a reader parses it: dictionaries keep their keys, the
// rest is checked for form and kept where the oracle needs it.
struct Object {
    enum Kind { Other, Integer, Name, Reference, Array, Dictionary } kind = Other;
    qint64 integer = 0;
    QByteArray name;
    Ref ref;
    QList<Object> items;
    QMap<QByteArray, Object> entries;
};

class Parser {
public:
    Parser(QByteArrayView text, qsizetype at) : m_text(text), m_at(at) {}
    qsizetype at() const { return m_at; }

    void skipSpace() {
        while (m_at < m_text.size()) {
            if (m_text[m_at] == '%')
                while (m_at < m_text.size() && m_text[m_at] != '\n' && m_text[m_at] != '\r')
                    ++m_at;
            else if (isSpace(m_text[m_at]))
                ++m_at;
            else
                break;
        }
    }
    QByteArray token() {
        skipSpace();
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !isDelimiter(m_text[m_at]))
            ++m_at;
        return m_text.sliced(start, m_at - start).toByteArray();
    }
    std::optional<qint64> integer() {
        const QByteArray t = token();
        if (t.isEmpty() || !std::all_of(t.begin(), t.end(), isDigit))
            return std::nullopt;
        bool ok = false;
        const qint64 v = t.toLongLong(&ok);
        return ok ? std::optional(v) : std::nullopt;
    }

    std::optional<Object> object(int depth = 0) {
        if (depth > 64)
            return std::nullopt;
        skipSpace();
        if (m_at >= m_text.size())
            return std::nullopt;
        const char c = m_text[m_at];
        Object o;
        if (m_text.sliced(m_at).startsWith("<<")) {
            m_at += 2;
            o.kind = Object::Dictionary;
            for (;;) {
                skipSpace();
                if (m_text.sliced(m_at).startsWith(">>")) {
                    m_at += 2;
                    return o;
                }
                const auto key = object(depth + 1);
                if (!key || key->kind != Object::Name || o.entries.contains(key->name))
                    return std::nullopt; // a reader may take either of two same keys
                const auto value = object(depth + 1);
                if (!value)
                    return std::nullopt;
                o.entries.insert(key->name, *value);
            }
        }
        if (c == '[') {
            ++m_at;
            o.kind = Object::Array;
            for (;;) {
                skipSpace();
                if (m_at < m_text.size() && m_text[m_at] == ']') {
                    ++m_at;
                    return o;
                }
                const auto item = object(depth + 1);
                if (!item)
                    return std::nullopt;
                o.items.append(*item);
            }
        }
        if (c == '/') {
            ++m_at;
            o.kind = Object::Name;
            o.name = '/' + token();
            return o;
        }
        if (c == '(') {
            int open = 0;
            for (; m_at < m_text.size(); ++m_at) {
                if (m_text[m_at] == '\\')
                    ++m_at;
                else if (m_text[m_at] == '(')
                    ++open;
                else if (m_text[m_at] == ')' && --open == 0) {
                    ++m_at;
                    return o;
                }
            }
            return std::nullopt;
        }
        if (c == '<') {
            for (++m_at; m_at < m_text.size() && m_text[m_at] != '>'; ++m_at)
                if (!isSpace(m_text[m_at]) &&
                    !QByteArray("0123456789abcdefABCDEF").contains(m_text[m_at]))
                    return std::nullopt;
            if (m_at >= m_text.size())
                return std::nullopt;
            ++m_at;
            return o;
        }
        const qsizetype start = m_at;
        const QByteArray t = token();
        if (t == "true" || t == "false" || t == "null")
            return o;
        bool ok = false;
        t.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        // "n g R" is one reference.
        if (std::all_of(t.begin(), t.end(), isDigit)) {
            const qsizetype after = m_at;
            const auto generation = integer();
            if (generation && token() == "R") {
                o.kind = Object::Reference;
                o.ref = {t.toLongLong(), *generation};
                return o;
            }
            m_at = after;
            o.kind = Object::Integer;
            o.integer = t.toLongLong(&ok);
            return ok ? std::optional(o) : std::nullopt;
        }
        (void)start;
        return o;
    }

private:
    QByteArrayView m_text;
    qsizetype m_at;
};

// A cross-reference section as a reader reads it: "xref", subsections of
// "first count" and entries of exactly 20 bytes, then the trailer's dictionary.
struct Section {
    QHash<qint64, std::pair<qint64, qint64>> inUse; // number: offset, generation
    qint64 highest = -1;
    Object trailer;
};

std::optional<Section> section(const QByteArray& pdf, qint64 offset) {
    if (offset < 0 || offset >= pdf.size() || !pdf.sliced(offset).startsWith("xref"))
        return std::nullopt;
    Parser p(pdf, offset + 4);
    Section s;
    for (;;) {
        p.skipSpace();
        if (pdf.sliced(p.at()).startsWith("trailer")) {
            Parser t(pdf, p.at() + 7);
            const auto trailer = t.object();
            if (!trailer || trailer->kind != Object::Dictionary)
                return std::nullopt;
            s.trailer = *trailer;
            return s;
        }
        const auto first = p.integer();
        const auto count = p.integer();
        if (!first || !count || *count > pdf.size() / 20)
            return std::nullopt;
        qsizetype at = p.at();
        while (at < pdf.size() && (pdf[at] == ' ' || pdf[at] == '\r' || pdf[at] == '\n'))
            ++at; // the end of the subsection's line
        for (qint64 k = 0; k < *count; ++k, at += 20) {
            if (at + 20 > pdf.size())
                return std::nullopt;
            const QByteArray e = pdf.mid(at, 20);
            const QByteArray eol = e.right(2);
            if (e[10] != ' ' || e[16] != ' ' || (e[17] != 'n' && e[17] != 'f') ||
                (eol != " \n" && eol != " \r" && eol != "\r\n") ||
                !std::all_of(e.begin(), e.begin() + 10, isDigit) ||
                !std::all_of(e.begin() + 11, e.begin() + 16, isDigit))
                return std::nullopt;
            const qint64 number = *first + k;
            s.highest = std::max(s.highest, number);
            if (e[17] == 'n')
                s.inUse.insert(number, {e.left(10).toLongLong(), e.mid(11, 5).toLongLong()});
        }
        p = Parser(pdf, at);
    }
}

// "n g obj" at the entry's offset, then one object, then "endobj".
std::optional<Object> objectAt(const QByteArray& pdf, const Section& s, const Ref& ref) {
    const auto entry = s.inUse.find(ref.number);
    if (entry == s.inUse.end() || entry->second != ref.generation || entry->first >= pdf.size())
        return std::nullopt;
    Parser p(pdf, entry->first);
    if (p.integer() != ref.number || p.integer() != ref.generation || p.token() != "obj")
        return std::nullopt;
    const auto o = p.object();
    if (!o || p.token() != "endobj")
        return std::nullopt;
    return o;
}

std::optional<qint64> startxref(const QByteArray& pdf) {
    const qsizetype at = pdf.lastIndexOf("startxref");
    if (at < 0)
        return std::nullopt;
    Parser p(pdf, at + 9);
    return p.integer();
}

Object entry(const Object& dictionary, const char* key) {
    return dictionary.entries.value(key);
}

void check(const QByteArray& original, const QByteArray& updated,
           const QList<PdfOutline::Mark>& marks) {
    if (!updated.startsWith(original))
        fail("the writer's bytes were changed");
    if (!updated.trimmed().endsWith("%%EOF"))
        fail("the update does not end the file");
    const auto oldAt = startxref(original);
    const auto newAt = startxref(updated);
    if (!oldAt || !newAt || *newAt < original.size())
        fail("startxref does not point into the update");
    const auto old = section(original, *oldAt);
    if (!old)
        fail("bookmarks added to a PDF whose cross-reference table does not read");
    const auto update = section(updated, *newAt);
    if (!update)
        fail("the update's cross-reference section does not read");

    const Object& trailer = update->trailer;
    const Object prev = entry(trailer, "/Prev");
    if (prev.kind != Object::Integer || prev.integer != *oldAt)
        fail("/Prev does not point at the writer's table");
    const Object size = entry(trailer, "/Size");
    const Object oldSize = entry(old->trailer, "/Size");
    if (size.kind != Object::Integer || size.integer <= update->highest ||
        size.integer <= old->highest || oldSize.kind != Object::Integer ||
        size.integer < oldSize.integer)
        fail("/Size is not above every object number");
    const Object root = entry(trailer, "/Root");
    if (root.kind != Object::Reference || !(root.ref == entry(old->trailer, "/Root").ref))
        fail("/Root is not the writer's catalog");
    for (auto it = update->inUse.begin(); it != update->inUse.end(); ++it) {
        if (it->first < original.size())
            fail("the update's table points into the writer's bytes");
        if (it.key() != root.ref.number &&
            (it.key() <= old->highest || old->inUse.contains(it.key())))
            fail(QStringLiteral("object %1 of the update takes the number of an old one")
                     .arg(it.key()));
        if (it.key() == 0)
            fail("object 0 is in use");
    }

    const auto catalog = objectAt(updated, *update, root.ref);
    if (!catalog || catalog->kind != Object::Dictionary ||
        entry(*catalog, "/Type").name != "/Catalog")
        fail("the new catalog does not read");
    const auto outline = objectAt(updated, *update, entry(*catalog, "/Outlines").ref);
    if (!outline || entry(*outline, "/Count").integer != marks.size())
        fail("the outline does not read");
    const Object pages = entry(*catalog, "/Pages");
    const auto oldCatalog = objectAt(original, *old, root.ref);
    if (!oldCatalog || !(entry(*oldCatalog, "/Pages").ref == pages.ref))
        fail("the catalog's pages changed");
    Ref item = entry(*outline, "/First").ref;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const auto o = objectAt(updated, *update, item);
        if (!o || !(entry(*o, "/Parent").ref == entry(*catalog, "/Outlines").ref))
            fail(QStringLiteral("bookmark %1 does not read").arg(i + 1));
        const Object dest = entry(*o, "/Dest");
        if (dest.kind != Object::Array || dest.items.isEmpty() ||
            dest.items[0].kind != Object::Reference)
            fail(QStringLiteral("bookmark %1 has no destination").arg(i + 1));
        const auto page = objectAt(original, *old, dest.items[0].ref);
        if (!page || entry(*page, "/Type").name != "/Page")
            fail(QStringLiteral("bookmark %1 points at no page").arg(i + 1));
        if (i + 1 == marks.size()) {
            if (!(item == entry(*outline, "/Last").ref))
                fail("/Last is not the last bookmark");
        } else {
            item = entry(*o, "/Next").ref;
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QList<PdfOutline::Mark>> markings = {
        {{QStringLiteral("SITE HANDOVER"), 0}},
        {{QStringLiteral("COVER"), 0},
         {QStringLiteral("LOBBY \u2013 caf\u00e9.zqc"), 1},
         {QStringLiteral("(NORTH)"), 2}},
    };
    for (const auto& marks : markings) {
        QByteArray pdf = original;
        QString why;
        const bool added = PdfOutline::append(pdf, marks, &why);
        if (qEnvironmentVariableIsSet("FUZZ_PDF_VERBOSE"))
            std::fprintf(stderr, "%lld bookmarks: %s\n", qint64(marks.size()),
                         added ? "added" : qPrintable(why));
        if (added && qEnvironmentVariableIsSet("FUZZ_PDF_VERBOSE")) {
            QFile out(qEnvironmentVariable("FUZZ_PDF_VERBOSE"));
            if (out.open(QIODevice::WriteOnly))
                out.write(pdf);
        }
        if (added)
            check(original, pdf, marks);
        else if (pdf != original || why.isEmpty())
            fail("refused without a reason, or with the bytes changed");
    }
    return 0;
}
