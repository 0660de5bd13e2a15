#include "PanelEngine.h"

#include <QtGlobal>

#include <algorithm>

namespace {
constexpr int frameLength = 6;
const QByteArray acknowledgement = QByteArrayLiteral("D000D");

// The six bytes of a write and of a read. The high bytes of address and value
// are always 0 on this panel.
constexpr int anyByte = -1;
constexpr std::array<int, frameLength> writeFrame = {'S', 0, anyByte, 0, anyByte, 'D'};
constexpr std::array<int, frameLength> readFrame = {'V', 0, anyByte, '0', '0', 'V'};

bool startsCommand(char c) {
    return c == 'A' || c == 'S' || c == 'V';
}
} // namespace

PanelEngine::PanelEngine(PanelFaults faults) : m_faults(std::move(faults)) {
    for (int a = 0; a <= 21; ++a)
        m_memory[a] = 160;
    for (int a = 22; a <= 24; ++a)
        m_memory[a] = 10;
    m_memory[identityAddress] = defaultIdentity;
}

QByteArray PanelEngine::readReply(int value) {
    // Wide enough for ten times any int; values beyond 9999 simply take more
    // than five characters.
    const qint64 tenfold = qint64(value) * 10;
    const QByteArray digits = QByteArray::number(tenfold < 0 ? -tenfold : tenfold);
    return tenfold < 0 ? '-' + digits.rightJustified(4, '0') : digits.rightJustified(5, '0');
}

// Whether the bytes pending after an "S" or "V" can still be that command.
PanelEngine::Frame PanelEngine::checkFrame() const {
    const auto& frame = m_pending.at(0) == 'S' ? writeFrame : readFrame;
    const qsizetype n = std::min<qsizetype>(m_pending.size(), frameLength);
    for (qsizetype i = 1; i < n; ++i) {
        if (frame[i] != anyByte && frame[i] != quint8(m_pending.at(i)))
            return Frame::Invalid;
    }
    return n == frameLength ? Frame::Complete : Frame::Incomplete;
}

std::vector<PanelEngine::Reply> PanelEngine::receive(QByteArrayView bytes) {
    std::vector<Reply> replies;
    if (m_hungUp)
        return replies;
    m_received.append(bytes);
    m_pending.append(bytes);

    while (!m_hungUp) {
        qsizetype skip = 0;
        while (skip < m_pending.size() && !startsCommand(m_pending.at(skip)))
            ++skip;
        m_pending.remove(0, skip);
        if (m_pending.isEmpty())
            break;

        if (m_pending.at(0) == 'A') {
            m_pending.remove(0, 1);
            execute({PanelCommand::Kind::Handshake}, replies);
            continue;
        }
        const Frame frame = checkFrame();
        if (frame == Frame::Incomplete)
            break;
        if (frame == Frame::Invalid) {
            // Not a command after all: look for the next one from the byte after its letter.
            m_pending.remove(0, 1);
            continue;
        }
        PanelCommand command;
        command.address = quint8(m_pending.at(2));
        if (m_pending.at(0) == 'S') {
            command.kind = PanelCommand::Kind::Write;
            command.value = quint8(m_pending.at(4));
        } else {
            command.kind = PanelCommand::Kind::Read;
        }
        m_pending.remove(0, frameLength);
        execute(command, replies);
    }
    if (m_hungUp)
        m_pending.clear();
    return replies;
}

void PanelEngine::execute(const PanelCommand& command, std::vector<Reply>& replies) {
    m_commands.append(command);
    const bool inMemory = command.address < memorySize;
    if (command.kind == PanelCommand::Kind::Write && inMemory)
        m_memory[command.address] = command.value;

    if (m_faults.hangUpAfter > 0 && m_commands.size() == m_faults.hangUpAfter) {
        m_hungUp = true;
        replies.push_back({{}, 0, true});
        return;
    }
    if (command.kind == PanelCommand::Kind::Handshake &&
        ++m_handshakes < m_faults.answerHandshakeFrom)
        return;
    if (m_faults.silent || !inMemory || m_faults.noReply.matches(command))
        return;

    Reply reply{answer(command)};
    for (const PanelFaults::Delay& d : m_faults.delays) {
        if (d.where.matches(command))
            reply.delayMs += d.ms;
    }
    replies.push_back(std::move(reply));
}

QByteArray PanelEngine::answer(const PanelCommand& command) const {
    const bool read = command.kind == PanelCommand::Kind::Read;
    QByteArray bytes = read ? readReply(m_memory[command.address]) : acknowledgement;
    if (m_faults.garbled.matches(command)) {
        if (read)
            bytes[1] = 'X';
        else
            bytes = QByteArrayLiteral("D0?0D");
    }
    if (m_faults.shortReply.matches(command))
        bytes.truncate(3);
    if (m_faults.extraChar.matches(command))
        bytes.append('X');
    return bytes;
}
