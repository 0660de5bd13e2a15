#include "files/FileSave.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {
// What the file system says about a failed save. Qt's own texts may hold the
// path, so they are never reshaped; the common causes get words of their own.
QString reason(const QSaveFile& file, const QString& path) {
    if (file.error() == QFileDevice::ResourceError)
        return FileSave::failure(file);
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return FileSave::noSuchFolder;
    if (!folder.isWritable() || (target.exists() && !target.isWritable()))
        return FileSave::accessDenied;
    return file.errorString();
}
} // namespace

QString FileSave::failure(const QFileDevice& file) {
    return file.error() == QFileDevice::ResourceError ? diskFull : file.errorString();
}

std::optional<QString> FileSave::replaceWhole(const QString& path, const QByteArray& bytes) {
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile())
        return notRegularFile; // a device or pipe would be replaced by a plain file
    QSaveFile file(path);
    // Unbuffered, so a write that fails part-way says why (a full disk) at
    // once, instead of a buffered flush that knows only that it fell short.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reason(file, path);
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString why = reason(file, path);
            file.cancelWriting();
            return why;
        }
        done += written;
    }
    if (!file.commit())
        return reason(file, path);
    return std::nullopt;
}
