#pragma once

#include "PanelCommand.h"

#include <QList>
#include <QStringView>

#include <optional>

// The commands a fault applies to: handshakes, and reads and/or writes at some
// addresses. Written as a comma-separated list of
//   handshake | [read:|write:](all | N | N-M)
// e.g. "handshake,7", "read:all", "write:3-5".
class FaultTarget {
public:
    static std::optional<FaultTarget> parse(QStringView text);
    static FaultTarget handshake();
    static FaultTarget address(int address); // reads and writes
    static FaultTarget reads(int first, int last);
    static FaultTarget writes(int first, int last);
    static FaultTarget everything(); // handshakes, reads and writes anywhere

    bool matches(const PanelCommand& command) const;
    bool isEmpty() const { return !m_handshake && m_ranges.isEmpty(); }

    // Both targets' commands.
    FaultTarget& operator+=(const FaultTarget& other);

private:
    struct Range {
        bool reads;
        bool writes;
        int first;
        int last;
    };

    bool m_handshake = false;
    QList<Range> m_ranges;
};
