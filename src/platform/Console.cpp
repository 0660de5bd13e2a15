#include "platform/Console.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace Console {

namespace {
constexpr unsigned utf8CodePage = 65001;
} // namespace

Encoding choose(bool isWindows, bool isConsole, unsigned consoleCodePage) {
    if (!isWindows)
        return {};
    if (isConsole)
        return {Encoding::Kind::Utf16};
    // Redirected with no console at all (started by a program without one):
    // the system's 8-bit code page, what such a program reads by default.
    if (consoleCodePage == 0)
        return {};
    return {Encoding::Kind::CodePage, consoleCodePage};
}

QByteArray encode(const QString& text, const Encoding& encoding) {
    if (encoding.kind == Encoding::Kind::CodePage && encoding.codePage == utf8CodePage)
        return text.toUtf8();
#ifdef Q_OS_WIN
    if (encoding.kind == Encoding::Kind::CodePage && !text.isEmpty()) {
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        const int length = int(text.size());
        const int size =
            WideCharToMultiByte(encoding.codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            QByteArray bytes(size, Qt::Uninitialized);
            WideCharToMultiByte(encoding.codePage, 0, wide, length, bytes.data(), size, nullptr,
                                nullptr);
            return bytes;
        }
    }
#endif
    return text.toLocal8Bit();
}

void write(std::FILE* stream, const QString& text) {
#ifdef Q_OS_WIN
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    const bool isConsole = handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
    const Encoding encoding = choose(true, isConsole, GetConsoleOutputCP());
    if (encoding.kind == Encoding::Kind::Utf16) {
        std::fflush(stream);
        DWORD written = 0;
        WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
        return;
    }
#else
    const Encoding encoding = choose(false, false, 0);
#endif
    std::fputs(encode(text, encoding).constData(), stream);
    std::fflush(stream);
}

} // namespace Console
