#pragma once

#include "PanelCommand.h"
#include "PanelFaults.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <array>
#include <vector>

// The panel's side of the serial protocol, without any I/O: bytes in, replies
// out. It understands the handshake "A", the write "S" 00 addr 00 value "D"
// and the read "V" 00 addr "0" "0" "V"; bytes that start no command are
// skipped. A read or write beyond the memory is understood but unanswered.
class PanelEngine {
public:
    // The panel taken off the line and put back: silent answers nothing.
    void setSilent(bool silent) { m_faults.silent = silent; }
    bool silent() const { return m_faults.silent; }

    static constexpr int memorySize = 64;
    static constexpr int identityAddress = 63;
    static constexpr int defaultIdentity = 61;

    struct Reply {
        QByteArray bytes;    // empty for a hang-up
        int delayMs = 0;     // on top of the time the characters take on the line
        bool hangUp = false; // drop the line instead of answering
    };

    // A fresh panel: nothing assigned (160) at 0 ... 21, full intensity (10)
    // at 22 ... 24, identity 61.
    explicit PanelEngine(PanelFaults faults = {});

    // Bytes as they come off the line, split or joined in any way. Returns the
    // replies now due, in order. After a hang-up nothing is understood any more.
    std::vector<Reply> receive(QByteArrayView bytes);

    int value(int address) const { return m_memory.at(size_t(address)); }
    void setValue(int address, int value) { m_memory.at(size_t(address)) = value; }
    const std::array<int, memorySize>& memory() const { return m_memory; }

    const QByteArray& received() const { return m_received; }
    const QList<PanelCommand>& commands() const { return m_commands; }
    bool hungUp() const { return m_hungUp; }

    // The five characters that answer a read of this value: ten times the
    // value, zero-padded, "-" first when negative ("01600", "-0050").
    static QByteArray readReply(int value);

private:
    enum class Frame { Incomplete, Invalid, Complete };
    Frame checkFrame() const;
    void execute(const PanelCommand& command, std::vector<Reply>& replies);
    QByteArray answer(const PanelCommand& command) const;

    PanelFaults m_faults;
    std::array<int, memorySize> m_memory{};
    QByteArray m_pending;
    QByteArray m_received;
    QList<PanelCommand> m_commands;
    int m_handshakes = 0;
    bool m_hungUp = false;
};
