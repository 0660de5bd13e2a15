#include "files/ConfigFileReader.h"

#include "files/ReadAccess.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// No list entry shows a negative channel code, so such a file cannot be shown.
bool hasNegativeChannel(const ConfigFileLine& line) {
    return std::any_of(line.code.begin(), line.code.end(), [](qint16 c) { return c < 0; }) ||
           line.value[0] < 0 || line.value[1] < 0;
}

ConfigFileRead failed(ConfigFileRead::Failure failure, const QString& reason) {
    return {std::nullopt, failure, reason};
}
} // namespace

ConfigFileRead readConfigFile(const QString& path) {
    using Failure = ConfigFileRead::Failure;
    // Only a regular file can be a configuration file; opening a pipe would
    // wait for a writer for ever.
    const QFileInfo info(path);
    const bool regular = !info.exists() || info.isFile();
    QFile file(path);
    if (!regular || !file.open(QIODevice::ReadOnly)) {
        if (readAccessDenied(path))
            return failed(Failure::AccessDenied, QStringLiteral("permission denied"));
        if (!regular)
            return failed(Failure::CannotOpen, QStringLiteral("not a regular file"));
        return failed(Failure::CannotOpen,
                      info.exists() ? file.errorString() : QStringLiteral("no such file"));
    }
    const QByteArray bytes = file.read(ConfigFile::maxBytes);
    if (file.error() != QFileDevice::NoError)
        return failed(Failure::CannotOpen, file.errorString());
    file.close();
    const auto line = ConfigFile::parse(bytes);
    if (!line || line->model != ConfigFile::modelText || hasNegativeChannel(*line))
        return failed(Failure::NotConfiguration,
                      QStringLiteral("not a configuration file of the 00-00561 or 00-00567"));
    return {line, Failure::None, {}};
}
