#include "files/ReadAccess.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <QDir>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

bool readAccessDenied(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    // Backup semantics let a directory be opened as well as a file.
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

#else // POSIX: Linux, macOS
#include <QFile>

#include <cerrno>

#include <unistd.h>

bool readAccessDenied(const QString& path) {
    errno = 0;
    return ::access(QFile::encodeName(path).constData(), R_OK) != 0 && errno == EACCES;
}
#endif
