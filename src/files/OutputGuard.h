#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which files the tool may write its other outputs to, besides configuration
// files: the sheet's PDF, the trace and the site log. None of them may take
// the place of a configuration file, of a file of another kind or of a
// device, and none may wait for ever on a pipe that nobody reads.
namespace OutputGuard {
// The path with ".pdf" added when it does not end so.
QString pdfPath(const QString& path);

// Why a PDF must not be written at path (already ending in ".pdf"); nullopt
// when it may. Only a new file, an empty one or a PDF may be replaced, and
// never one of the inputs.
std::optional<QString> pdfRefusal(const QString& path, const QStringList& inputs = {});

// Why a trace or site log must not be appended to at path; nullopt when it
// may: a new file or a regular one that is neither a configuration file nor
// a PDF.
std::optional<QString> recordRefusal(const QString& path);

inline const QString notRegularFile = QStringLiteral("not a regular file");
inline const QString notPdf = QStringLiteral("it exists and is not a PDF");
inline const QString isInput = QStringLiteral("it is one of the files the sheet is made from");
inline const QString isConfiguration = QStringLiteral("it is a configuration file");
inline const QString isPdf = QStringLiteral("it is a PDF");
} // namespace OutputGuard
