#include "files/OutputGuard.h"

#include "files/ConfigFile.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QByteArray pdfMagic = QByteArrayLiteral("%PDF-");
const QString pdfSuffix = QStringLiteral(".pdf");
const QString configSuffix = QStringLiteral(".zqc");

// The beginning of an existing regular file; empty when it cannot be read.
QByteArray head(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(size);
}

// Anything but a regular file: a pipe would block the open until a reader
// comes, a device would take the bytes, a folder cannot take them.
bool existsAsOtherThanFile(const QFileInfo& info) {
    return info.exists() && !info.isFile();
}

// The same file under another name: a link, "./", a folder and "..".
bool sameFile(const QFileInfo& a, const QFileInfo& b) {
    return a.exists() && b.exists() && a.canonicalFilePath() == b.canonicalFilePath();
}
} // namespace

QString OutputGuard::pdfPath(const QString& path) {
    return path.endsWith(pdfSuffix, Qt::CaseInsensitive) ? path : path + pdfSuffix;
}

std::optional<QString> OutputGuard::pdfRefusal(const QString& path, const QStringList& inputs) {
    const QFileInfo target(path);
    if (existsAsOtherThanFile(target))
        return notRegularFile;
    for (const QString& input : inputs)
        if (sameFile(target, QFileInfo(input)))
            return isInput;
    if (target.exists() && target.size() > 0 && !head(path, pdfMagic.size()).startsWith(pdfMagic))
        return notPdf;
    return std::nullopt;
}

std::optional<QString> OutputGuard::recordRefusal(const QString& path) {
    const QFileInfo target(path);
    if (existsAsOtherThanFile(target))
        return notRegularFile;
    if (path.endsWith(configSuffix, Qt::CaseInsensitive))
        return isConfiguration;
    if (path.endsWith(pdfSuffix, Qt::CaseInsensitive))
        return isPdf;
    if (!target.exists())
        return std::nullopt;
    const QByteArray bytes = head(path, ConfigFile::maxBytes);
    if (bytes.startsWith(pdfMagic))
        return isPdf;
    // A configuration line opens with its quoted model text; a trace or log
    // line with its time.
    if (bytes.startsWith('"') && ConfigFile::parse(bytes))
        return isConfiguration;
    return std::nullopt;
}
