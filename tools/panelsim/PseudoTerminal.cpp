#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
    return PseudoTerminal(master, slave, path);
}

PseudoTerminal::PseudoTerminal(int master, int slave, QString path)
    : m_master(master), m_slave(slave), m_path(std::move(path)) {}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)), m_slave(std::exchange(other.m_slave, -1)),
      m_path(std::move(other.m_path)) {}

PseudoTerminal::~PseudoTerminal() {
    close();
}

void PseudoTerminal::close() {
    if (m_slave >= 0)
        ::close(std::exchange(m_slave, -1));
    if (m_master >= 0)
        ::close(std::exchange(m_master, -1));
}
