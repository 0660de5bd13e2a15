#include "link/PortHolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <optional>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace PortHolders {

QStringList lockFolders() {
#if defined(Q_OS_UNIX)
    return {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
            QStringLiteral("/var/spool/locks"), QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp")};
#else
    return {};
#endif
}

namespace {
#if defined(Q_OS_UNIX)
bool processRuns(qint64 pid) {
    if (pid <= 0 || pid == QCoreApplication::applicationPid())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Programs write the holder's number as text ("      1234\n"), Qt's own
// lock file with the application's name on further lines; some old ones
// as a binary int.
qint64 lockHolder(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray content = file.read(128);
    bool ok = false;
    const qint64 pid = content.split('\n').value(0).trimmed().toLongLong(&ok);
    if (ok)
        return pid;
    if (content.size() == 4) {
        qint32 binary = 0;
        memcpy(&binary, content.constData(), 4);
        return binary;
    }
    return 0;
}

#if defined(Q_OS_LINUX)
// Whether process pid has target open: nullopt when its descriptors cannot
// be read (another user's process).
std::optional<bool> hasOpen(const QString& pid, const QString& target) {
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    if (!fds.isReadable())
        return std::nullopt;
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == target)
            return true;
    return false;
}

bool openElsewhere(const QString& target) {
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // Another user's descriptors cannot be read; such a holder shows
        // only through its lock file, or when the open fails.
        if (pid != self && pid.front().isDigit() && hasOpen(pid, target).value_or(false))
            return true;
    }
    return false;
}
#endif

// A lock of a running program holds the device, unless that program is
// seen not to have it open: a lock left behind by a program that closed
// the device without removing it.
bool lockHeld(qint64 holder, const QString& target) {
    if (!processRuns(holder))
        return false;
#if defined(Q_OS_LINUX)
    if (!target.isEmpty())
        return hasOpen(QString::number(holder), target).value_or(true);
#else
    Q_UNUSED(target);
#endif
    return true;
}
#endif
} // namespace

bool heldByAnotherProgram(const QString& device, const QStringList& folders) {
#if defined(Q_OS_UNIX)
    const QString name = QFileInfo(device).fileName();
    const QString canonical = QFileInfo(device).canonicalFilePath();
    QStringList names{name};
    if (canonical.startsWith(QLatin1String("/dev/")))
        names << canonical.mid(5).replace(QLatin1Char('/'),
                                          QLatin1Char('_')); // pts_3, as Qt names it
    if (!canonical.isEmpty() && QFileInfo(canonical).fileName() != name)
        names << QFileInfo(canonical).fileName(); // a /dev/serial/by-id link
    for (const QString& folder : folders)
        for (const QString& n : names)
            if (lockHeld(lockHolder(QDir(folder).filePath(QStringLiteral("LCK..") + n)), canonical))
                return true;
#if defined(Q_OS_LINUX)
    if (!canonical.isEmpty() && !canonical.startsWith(QLatin1String("/dev/pts/")))
        return openElsewhere(canonical);
#endif
    return false;
#else
    // Windows opens a COM port for one program only: a held port fails to
    // open and is reported as in use.
    Q_UNUSED(device);
    Q_UNUSED(folders);
    return false;
#endif
}

} // namespace PortHolders
