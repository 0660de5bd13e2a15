#pragma once

#include <QString>

#include <functional>

// A transaction's progress on a terminal: one line, redrawn in place, erased
// before any other line is printed. Only for a terminal: a log gets the
// status lines alone, as before.
class ProgressLine {
public:
    explicit ProgressLine(std::function<void(const QString&)> write) : m_write(std::move(write)) {}

    void show(int done, int of);
    // Erases the line, if one is shown.
    void clear();

    // "[######              ] 8 of 27: handshake, identity, 6 of 25 values".
    static QString text(int done, int of);

    // Whether standard error is a terminal.
    static bool standardErrorIsTerminal();

private:
    std::function<void(const QString&)> m_write;
    qsizetype m_shown = 0; // characters on the line now
};
