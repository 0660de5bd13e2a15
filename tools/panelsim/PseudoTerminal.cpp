#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

std::optional<PseudoTerminal> PseudoTerminal::open(QString* error) {
    auto fail = [error](const char* what, int master, int slave) {
        *error = QStringLiteral("%1: %2").arg(QLatin1StringView(what),
                                              QString::fromLocal8Bit(std::strerror(errno)));
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
        return std::nullopt;
    };

    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0)
        return fail("posix_openpt", -1, -1);
    if (grantpt(master) != 0)
        return fail("grantpt", master, -1);
    if (unlockpt(master) != 0)
        return fail("unlockpt", master, -1);
    const char* name = ptsname(master);
    if (!name)
        return fail("ptsname", master, -1);
    const QString path = QString::fromLocal8Bit(name);

    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return fail("open slave", master, -1);
    termios tio{};
    if (tcgetattr(slave, &tio) != 0)
        return fail("tcgetattr", master, slave);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(slave, TCSANOW, &tio) != 0)
        return fail("tcsetattr", master, slave);

    // Set up before anyone learns the path, so that no client goes unseen.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0)
        return fail("inotify_init1", master, slave);
    if (inotify_add_watch(watch, name, IN_OPEN | IN_CLOSE) < 0) {
        const int reason = errno;
        ::close(watch);
        errno = reason;
        return fail("inotify_add_watch", master, slave);
    }
    return PseudoTerminal(master, slave, watch, path);
}

PseudoTerminal::PseudoTerminal(int master, int slave, int watch, QString path)
    : m_master(master), m_slave(slave), m_watch(watch), m_path(std::move(path)) {}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)), m_slave(std::exchange(other.m_slave, -1)),
      m_watch(std::exchange(other.m_watch, -1)), m_path(std::move(other.m_path)) {}

PseudoTerminal::ClientEvents PseudoTerminal::readClientEvents() {
    ClientEvents events;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_watch, buffer, sizeof buffer);
        if (n <= 0)
            return events;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->mask & IN_OPEN)
                ++events.opened;
            if (e->mask & IN_CLOSE)
                ++events.closed;
            if (e->mask & IN_Q_OVERFLOW)
                events.overflow = true;
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
}

void PseudoTerminal::discardUnread() {
    if (m_slave >= 0)
        tcflush(m_slave, TCIFLUSH);
}

PseudoTerminal::~PseudoTerminal() {
    close();
}

void PseudoTerminal::close() {
    if (m_watch >= 0)
        ::close(std::exchange(m_watch, -1));
    if (m_slave >= 0)
        ::close(std::exchange(m_slave, -1));
    if (m_master >= 0)
        ::close(std::exchange(m_master, -1));
}
