#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace FileSave {
// Replaces the file at path with bytes, or creates it, only once the bytes
// are all on disk: a failed save leaves the previous file as it was. Gives
// the reason of a failure, in words the user can act on; the path is never
// part of it, so a message can show the path exactly as it was chosen.
std::optional<QString> replaceWhole(const QString& path, const QByteArray& bytes);

// Why a write to file failed: a full disk in words of its own, else the
// system's reason.
QString failure(const QFileDevice& file);

inline const QString notRegularFile = QStringLiteral("NOT A REGULAR FILE");
inline const QString diskFull = QStringLiteral("THE DISK IS FULL");
inline const QString accessDenied = QStringLiteral("ACCESS DENIED");
inline const QString noSuchFolder = QStringLiteral("THE FOLDER DOES NOT EXIST");
} // namespace FileSave
