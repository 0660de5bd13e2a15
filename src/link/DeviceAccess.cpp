#include "link/DeviceAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace DeviceAccess {

bool userMayOpen(const QString& device) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    return ::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES;
#else
    Q_UNUSED(device);
    return true;
#endif
}

Kind kindOf(const QString& device) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == ELOOP
                   ? Kind::Missing
                   : Kind::Unknown;
    if (!S_ISCHR(info.st_mode))
        return Kind::NotSerial;
    // A character device is a serial port when it is a terminal; asked
    // without waiting for a carrier and without becoming its controller.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Kind::Unknown;
    const bool terminal = ::isatty(fd) != 0;
    ::close(fd);
    return terminal ? Kind::Serial : Kind::NotSerial;
#else
    Q_UNUSED(device);
    return Kind::Unknown;
#endif
}

// Serial devices belong to a group whose members may use them: "dialout" on
// Debian and Ubuntu, "uucp" on some others; the device itself names it.
QString permissionRemedy(const QString& device) {
    QString group = QFileInfo(device).group();
    if (group.isEmpty() || group == QLatin1String("root") || group == QLatin1String("tty"))
        group = QStringLiteral("dialout");
#ifdef Q_OS_MACOS
    const QString join = QStringLiteral("sudo dseditgroup -o edit -a \"$USER\" -t user %1");
#else
    const QString join = QStringLiteral("sudo usermod -aG %1 $USER");
#endif
    return QStringLiteral(
               "Your user account is not allowed to use the serial port %1.\n\n"
               "Serial ports may be used by the members of the group \"%2\". To join it, "
               "run this command in a terminal:\n\n"
               "    %3\n\n"
               "then log out and log in again (the new group counts only from the next "
               "login), start this program and repeat the command.")
        .arg(device, group, join.arg(group));
}

} // namespace DeviceAccess
