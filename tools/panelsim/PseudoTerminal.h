#pragma once

#include <QString>

#include <optional>

// A pseudo-terminal whose slave side looks like a raw serial device. The
// simulator keeps a slave descriptor of its own, so the line stays up while
// no client has the device open; it watches the clients open and close it.
class PseudoTerminal {
public:
    struct ClientEvents {
        int opened = 0;
        int closed = 0;
        bool overflow = false; // some were lost
    };

    static std::optional<PseudoTerminal> open(QString* error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    ~PseudoTerminal();

    int masterFd() const { return m_master; }
    const QString& devicePath() const { return m_path; }

    // Readable when a client has opened or closed the device.
    int clientWatchFd() const { return m_watch; }
    ClientEvents readClientEvents();

    // Throws away what was sent to the device and not read by a client: a
    // real port that is closed receives nothing.
    void discardUnread();

    // Drops the line: a client that has the device open sees it vanish.
    void close();

private:
    PseudoTerminal(int master, int slave, int watch, QString path);

    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1;
    QString m_path;
};
