#pragma once

// One command the panel understood.
struct PanelCommand {
    enum class Kind { Handshake, Write, Read };

    Kind kind = Kind::Handshake;
    int address = -1; // reads and writes only
    int value = 0;    // writes only

    bool operator==(const PanelCommand&) const = default;
};
