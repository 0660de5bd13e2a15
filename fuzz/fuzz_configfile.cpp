#include "files/ConfigFile.h"

#include <cstdio>
#include <cstdlib>

namespace {
bool same(const ConfigFileLine& a, const ConfigFileLine& b) {
    return a.model == b.model && a.panel == b.panel && a.desig == b.desig && a.code == b.code &&
           a.caption == b.caption && a.value == b.value;
}

[[noreturn]] void fail(const char* what, const QByteArray& written) {
    std::fprintf(stderr, "%s\nwritten: %s\n", what, written.constData());
    std::abort();
}
} // namespace

// Whatever the reader accepts must be written and read back unchanged. This
// holds for every accepted line, not only for storable texts: a text the
// reader gives back never holds a double quote, and every character it
// decodes encodes back to the same byte. Only a line that grows beyond
// maxBytes on writing (unquoted texts gain their quotes) is out of reach.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = ConfigFile::parse(bytes);
    if (!read)
        return 0;
    const QByteArray written = ConfigFile::format(*read);
    if (written.size() > ConfigFile::maxBytes)
        return 0;
    const auto again = ConfigFile::parse(written);
    if (!again)
        fail("a written line does not read", written);
    if (!same(*again, *read))
        fail("a written line reads differently", written);
    if (ConfigFile::format(*again) != written)
        fail("a line is written differently the second time", written);
    return 0;
}
