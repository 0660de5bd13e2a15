#include "schedule/Csv.h"
#include "schedule/Schedule.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what, const QByteArray& written) {
    std::fprintf(stderr, "%s\nwritten: %s\n", what, written.constData());
    std::abort();
}
} // namespace

// Any bytes: a table or an error with its place, never a crash; a table's
// panels are planned without one. A table written again, every field quoted
// in its own separator, reads back as the same rows.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = Csv::read(bytes);
    if (const auto* error = std::get_if<Csv::Error>(&read)) {
        if (error->row < 1 || error->column < 1 || error->reason.isEmpty())
            fail("an error without its place", bytes.toByteArray());
        return 0;
    }
    const Csv::Table& table = std::get<Csv::Table>(read);
    (void)Schedule::plan(table);
    QString text;
    for (const QStringList& row : table.rows)
        text += Csv::formatRow(row, table.separator);
    const QByteArray written = Csv::encode(text);
    const auto again = Csv::read(written);
    const auto* back = std::get_if<Csv::Table>(&again);
    if (!back)
        fail("a written table does not read", written);
    if (back->rows != table.rows)
        fail("a written table reads differently", written);
    return 0;
}
