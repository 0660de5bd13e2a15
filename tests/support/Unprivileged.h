#pragma once

#include <QString>
#include <QStringList>

// Permissions do not bind root, and CI runs as root. While an Unprivileged
// lives, the test process acts as the user nobody (real and effective ids,
// no supplementary groups), so a file or device it may not open is refused
// as it is for an ordinary user; root's ids come back when it goes. Under
// another user it changes nothing. Files made meanwhile belong to nobody.
class Unprivileged {
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    // False when the ids could not be changed; the test then fails.
    bool active() const { return m_active; }

    // What runs a program as nobody from a root test: setpriv and its
    // options before the program; empty when not root.
    static QStringList programPrefix();

private:
    bool m_wasRoot = false;
    bool m_active = false;
};
