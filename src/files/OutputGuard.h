#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which files the tool may write its outputs to without asking: the
// configuration files of the commands and the import, the sheet's PDF, the
// trace and the site log. None of them may take the place of a file of
// another kind or of a device, and none may wait for ever on a pipe that
// nobody reads. (The window's save asks the user instead.)
namespace OutputGuard {
// Why a configuration file must not be written at path, in words that
// follow the path ("… exists and is not a configuration file"); nullopt
// when it may: nothing is there yet, or an empty regular file or a
// configuration file. A link is never written through: the file it names
// may be anywhere.
std::optional<QString> configurationRefusal(const QString& path);
// Why no file can be made at path at all, in the save's words: its folder
// is missing or closed to this user; nullopt when one may.
std::optional<QString> folderRefusal(const QString& path);

// The path with ".pdf" added when it does not end so.
QString pdfPath(const QString& path);

// Why a PDF must not be written at path (already ending in ".pdf"); nullopt
// when it may. Only a new file, an empty one or a PDF may be replaced, and
// never one of the inputs.
std::optional<QString> pdfRefusal(const QString& path, const QStringList& inputs = {});

// Why a trace or site log must not be appended to at path; nullopt when it
// may: a new file or a regular one that is neither a configuration file, a
// PDF nor a schedule.
std::optional<QString> recordRefusal(const QString& path);

inline const QString notRegularFile = QStringLiteral("not a regular file");
inline const QString isLinkFollowing = QStringLiteral("is a link");
inline const QString notConfigurationFollowing =
    QStringLiteral("exists and is not a configuration file");
inline const QString notRegularFollowing = QStringLiteral("is not a regular file");
inline const QString isSchedule = QStringLiteral("it is a schedule");
inline const QString notPdf = QStringLiteral("it exists and is not a PDF");
inline const QString isInput = QStringLiteral("it is one of the files the sheet is made from");
inline const QString isConfiguration = QStringLiteral("it is a configuration file");
inline const QString isPdf = QStringLiteral("it is a PDF");
} // namespace OutputGuard
