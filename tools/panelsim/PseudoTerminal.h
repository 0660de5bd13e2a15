#pragma once

#include <QString>

#include <optional>

// A pseudo-terminal whose slave side looks like a raw serial device. The
// simulator keeps a slave descriptor of its own, so the line stays up while
// no client has the device open.
class PseudoTerminal {
public:
    static std::optional<PseudoTerminal> open(QString* error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    ~PseudoTerminal();

    int masterFd() const { return m_master; }
    const QString& devicePath() const { return m_path; }

    // Drops the line: a client that has the device open sees it vanish.
    void close();

private:
    PseudoTerminal(int master, int slave, QString path);

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
