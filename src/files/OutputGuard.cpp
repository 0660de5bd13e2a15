#include "files/OutputGuard.h"

#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "files/FileSave.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QByteArray pdfMagic = QByteArrayLiteral("%PDF-");
const QString pdfSuffix = QStringLiteral(".pdf");
const QString configSuffix = QStringLiteral(".zqc");
const QString scheduleSuffix = QStringLiteral(".csv");

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

// A schedule's first row holds its headings, PANEL NAME and ITEM among them.
bool looksLikeSchedule(const QByteArray& head) {
    const QByteArray first = head.left(head.indexOf('\n')).toUpper();
    return first.contains("PANEL NAME") && first.contains("ITEM");
}
} // namespace

std::optional<QString> OutputGuard::configurationRefusal(const QString& path) {
    const QFileInfo target(path);
    if (target.isSymLink())
        return isLinkFollowing;
    if (!target.exists())
        return std::nullopt;
    if (!target.isFile())
        return notRegularFollowing;
    if (target.size() > 0 && !readConfigFile(path).line)
        return notConfigurationFollowing;
    return std::nullopt;
}

std::optional<QString> OutputGuard::folderRefusal(const QString& path) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir())
        return FileSave::noSuchFolder;
    if (!folder.isWritable())
        return FileSave::accessDenied;
    return std::nullopt;
}

// A device or pipe named as it is keeps its name, so that it is refused as
// what it is rather than a new file beside it.
QString OutputGuard::pdfPath(const QString& path) {
    const QFileInfo given(path);
    if (given.exists() && !given.isFile() && !given.isDir())
        return path;
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
    if (path.endsWith(scheduleSuffix, Qt::CaseInsensitive))
        return isSchedule;
    if (!target.exists())
        return std::nullopt;
    const QByteArray bytes = head(path, ConfigFile::maxBytes);
    if (bytes.startsWith(pdfMagic))
        return isPdf;
    // A configuration line opens with its quoted model text; a trace or log
    // line with its time.
    if (bytes.startsWith('"') && ConfigFile::parse(bytes))
        return isConfiguration;
    if (looksLikeSchedule(bytes))
        return isSchedule;
    return std::nullopt;
}
