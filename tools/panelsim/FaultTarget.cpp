#include "FaultTarget.h"

#include <limits>

namespace {
std::optional<int> parseAddress(QStringView text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    // The command carries the address as one byte.
    if (!ok || n < 0 || n > 255)
        return std::nullopt;
    return n;
}
} // namespace

std::optional<FaultTarget> FaultTarget::parse(QStringView text) {
    FaultTarget target;
    for (QStringView item : text.split(u',')) {
        item = item.trimmed();
        if (item == u"handshake") {
            target.m_handshake = true;
            continue;
        }
        Range range{true, true, 0, std::numeric_limits<int>::max()};
        if (item.startsWith(u"read:")) {
            range.writes = false;
            item = item.sliced(5);
        } else if (item.startsWith(u"write:")) {
            range.reads = false;
            item = item.sliced(6);
        }
        if (item != u"all") {
            const qsizetype dash = item.indexOf(u'-', 1);
            const auto first = parseAddress(dash < 0 ? item : item.first(dash));
            const auto last = dash < 0 ? first : parseAddress(item.sliced(dash + 1));
            if (!first || !last || *last < *first)
                return std::nullopt;
            range.first = *first;
            range.last = *last;
        }
        target.m_ranges.append(range);
    }
    return target;
}

FaultTarget FaultTarget::handshake() {
    FaultTarget target;
    target.m_handshake = true;
    return target;
}

FaultTarget FaultTarget::address(int address) {
    FaultTarget target;
    target.m_ranges.append({true, true, address, address});
    return target;
}

FaultTarget FaultTarget::reads(int first, int last) {
    FaultTarget target;
    target.m_ranges.append({true, false, first, last});
    return target;
}

FaultTarget FaultTarget::writes(int first, int last) {
    FaultTarget target;
    target.m_ranges.append({false, true, first, last});
    return target;
}

FaultTarget FaultTarget::everything() {
    FaultTarget target = handshake();
    target.m_ranges.append({true, true, 0, std::numeric_limits<int>::max()});
    return target;
}

bool FaultTarget::matches(const PanelCommand& command) const {
    if (command.kind == PanelCommand::Kind::Handshake)
        return m_handshake;
    const bool read = command.kind == PanelCommand::Kind::Read;
    for (const Range& r : m_ranges) {
        if ((read ? r.reads : r.writes) && command.address >= r.first && command.address <= r.last)
            return true;
    }
    return false;
}

FaultTarget& FaultTarget::operator+=(const FaultTarget& other) {
    m_handshake = m_handshake || other.m_handshake;
    m_ranges.append(other.m_ranges);
    return *this;
}
