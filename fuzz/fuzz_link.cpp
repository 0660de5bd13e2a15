// The panel's replies as an attacker or a noisy line would send them: any
// bytes, split anyhow, early, late or never, during a read or a write of a
// bare session. The link may fail in any way it likes, but when it reports a
// transaction done, everything it took for a value must be what the panel
// sent for that very command, and well formed.
//
// The input is a script, one entry per command the link sends, in order:
//   byte 0      bit 0: 0 a read, 1 a write
//   then per command, one or more chunks of its reply:
//     delay     virtual milliseconds after the previous chunk (the first
//               after the command); Timer1 ticks every 100
//     length    bits 0-4 the chunk's length; bit 5: the line drops after
//               the chunk; bit 7: another chunk of the same reply follows
//     bytes     the chunk
// A command for which the script has run out gets no reply.

#include "DialogRecorder.h"
#include "FakeSerialPort.h"
#include "VirtualClock.h"
#include "link/PanelLink.h"
#include "link/PanelProtocol.h"
#include "model/MemoryMap.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
struct Chunk {
    int delayMs;
    QByteArray bytes;
    bool hangUp;
};
using Reply = QList<Chunk>;

struct Script {
    bool write = false;
    QList<Reply> replies;
};

Script decode(const uint8_t* data, size_t size) {
    Script script;
    if (size == 0)
        return script;
    script.write = data[0] & 1;
    size_t i = 1;
    Reply reply;
    while (i + 2 <= size) {
        const int delay = data[i];
        const int flags = data[i + 1];
        i += 2;
        const size_t length = std::min<size_t>(flags & 0x1F, size - i);
        reply.append({delay, QByteArray(reinterpret_cast<const char*>(data + i), qsizetype(length)),
                      (flags & 0x20) != 0});
        i += length;
        if (!(flags & 0x80)) {
            script.replies.append(reply);
            reply.clear();
        }
    }
    if (!reply.isEmpty())
        script.replies.append(reply);
    return script;
}

// The scripted port, with every received byte labelled by the command whose
// reply it is, so the oracle knows what each take of the link held.
class Line : public FakeSerialPort {
public:
    struct Exchange {
        QByteArray command;
        QByteArray reply;           // every byte the script sends for it
        std::optional<int> takenBy; // the first take after the command
    };
    struct Take {
        QByteArray bytes;
        QList<int> from; // the command of each byte
    };

    Line(VirtualClock& clock, QList<Reply> replies)
        : FakeSerialPort(clock), m_clock(clock), m_replies(std::move(replies)) {
        connected = false; // nothing but the script answers
    }

    bool open() override {
        m_bytes.clear();
        m_from.clear();
        return FakeSerialPort::open();
    }
    void send(const QByteArray& bytes) override {
        const bool wasOpen = isOpen;
        FakeSerialPort::send(bytes);
        if (!wasOpen)
            return;
        const int command = int(exchanges.size());
        exchanges.append({bytes, {}, std::nullopt});
        if (m_replies.isEmpty())
            return;
        int at = 0;
        for (const Chunk& chunk : m_replies.takeFirst()) {
            at += chunk.delayMs;
            exchanges.last().reply += chunk.bytes;
            m_clock.after(at, [this, chunk, command] {
                if (!isOpen)
                    return;
                m_bytes += chunk.bytes;
                m_from.append(QList<int>(chunk.bytes.size(), command));
                if (chunk.hangUp) {
                    vanish();
                    m_bytes.clear();
                    m_from.clear();
                }
            });
        }
    }
    qint64 waiting() const override { return m_bytes.size(); }
    QByteArray takeAll() override {
        takes.append({m_bytes, m_from});
        if (!exchanges.isEmpty() && !exchanges.last().takenBy)
            exchanges.last().takenBy = int(takes.size() - 1);
        m_from.clear();
        QByteArray all;
        all.swap(m_bytes);
        return all;
    }

    QList<Exchange> exchanges;
    QList<Take> takes;

private:
    VirtualClock& m_clock;
    QList<Reply> m_replies;
    QByteArray m_bytes;
    QList<int> m_from;
};

[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::abort();
}

QString shown(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

// What a panel sends for a value: "D000D" for 0, or a whole number text of at
// least four characters, ten times the value.
std::optional<qint16> wellFormedValue(const QByteArray& text) {
    if (text == PanelProtocol::acknowledgement)
        return 0;
    static const QRegularExpression number(
        QStringLiteral("^ *[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    if (text.size() < PanelProtocol::shortestRead ||
        !number.match(QString::fromLatin1(text)).hasMatch())
        return std::nullopt;
    const PanelProtocol::ReplyValue value = PanelProtocol::replyValue(text);
    if (!value.fits)
        return std::nullopt;
    return value.value;
}

// What the link took as the reply to a command: only bytes the panel sent for
// that command, the start of its reply, and a well-formed value text. Less
// than the whole reply is fine when it is a complete reply of five characters
// that the panel followed with more, or when the rest changes nothing.
qint16 takenValue(const Line& line, qsizetype command, const char* what) {
    const Line::Exchange& exchange = line.exchanges.at(command);
    const QString about = QStringLiteral("%1 %2").arg(what, shown(exchange.command));
    if (!exchange.takenBy)
        fail(about + QStringLiteral(": the reply was never taken"));
    const Line::Take& take = line.takes.at(*exchange.takenBy);
    for (const int from : take.from)
        if (from != command)
            fail(QStringLiteral("%1: took %2, holding bytes sent for command %3 (%4)")
                     .arg(about, shown(take.bytes))
                     .arg(from)
                     .arg(shown(line.exchanges.at(from).command)));
    if (!exchange.reply.startsWith(take.bytes))
        fail(QStringLiteral("%1: took %2 for %3")
                 .arg(about, shown(take.bytes), shown(exchange.reply)));
    const auto value = wellFormedValue(take.bytes);
    if (!value)
        fail(QStringLiteral("%1: %2 taken for a value").arg(about, shown(take.bytes)));
    if (take.bytes.size() < PanelProtocol::replyLength && take.bytes != exchange.reply &&
        wellFormedValue(exchange.reply) != value)
        fail(QStringLiteral("%1: took %2, a cut of the reply %3")
                 .arg(about, shown(take.bytes), shown(exchange.reply)));
    return *value;
}

// The one command in the transaction that reads, or writes, this address.
qsizetype onlyCommand(const Line& line, char kind, int address) {
    qsizetype found = -1;
    for (qsizetype c = 0; c < line.exchanges.size(); ++c) {
        const QByteArray& command = line.exchanges[c].command;
        if (command.size() == 6 && command[0] == kind && quint8(command[2]) == address) {
            if (found >= 0)
                fail(QStringLiteral("address %1 sent twice with %2").arg(address).arg(kind));
            found = c;
        }
    }
    if (found < 0)
        fail(QStringLiteral("address %1 never sent with %2").arg(address).arg(kind));
    return found;
}

void checkIdentity(const Line& line) {
    const qint16 identity = takenValue(line, onlyCommand(line, 'V', 63), "identity");
    if (identity != 61 && identity != 67)
        fail(QStringLiteral("identity %1 accepted").arg(identity));
}

void checkRead(const Line& line, const PanelLink& link, const Session& session) {
    checkIdentity(line);
    const auto shownNow = session.valuesToSend();
    for (const MemoryMap::Cell& cell : MemoryMap::cells) {
        const qint16 value = takenValue(line, onlyCommand(line, 'V', cell.address), "read");
        if (value < 0 || value > 160)
            fail(QStringLiteral("address %1: %2 read as done").arg(cell.address).arg(value));
        if (link.valuesRead()[size_t(cell.address)] != value)
            fail(QStringLiteral("address %1: the panel sent %2, the link read %3")
                     .arg(cell.address)
                     .arg(value)
                     .arg(link.valuesRead()[size_t(cell.address)]));
        // The intensity rule may move what the lists show; the channels show
        // exactly what was read.
        if (cell.isChannel && (!shownNow || (*shownNow)[size_t(cell.address)] != value))
            fail(QStringLiteral("address %1: read %2, the session shows another")
                     .arg(cell.address)
                     .arg(value));
    }
}

void checkWrite(const Line& line, const PanelValues& sent) {
    checkIdentity(line);
    for (const MemoryMap::Cell& cell : MemoryMap::cells) {
        const qsizetype write = onlyCommand(line, 'S', cell.address);
        const qint16 written = qint16(quint8(line.exchanges[write].command[4]));
        if (written != sent[size_t(cell.address)])
            fail(QStringLiteral("address %1: wrote %2 for %3")
                     .arg(cell.address)
                     .arg(written)
                     .arg(sent[size_t(cell.address)]));
        const auto& ack = line.exchanges[write].takenBy;
        if (!ack || line.takes.at(*ack).bytes != PanelProtocol::acknowledgement ||
            line.takes.at(*ack).from != QList<int>(5, int(write)))
            fail(QStringLiteral("address %1: not acknowledged by its own reply").arg(cell.address));
        const qsizetype back = onlyCommand(line, 'V', cell.address);
        if (back != write + 1)
            fail(QStringLiteral("address %1: the read-back is not the next command")
                     .arg(cell.address));
        if (takenValue(line, back, "read-back") != written)
            fail(QStringLiteral("address %1: verified against another value").arg(cell.address));
    }
}

// A configuration with every item assigned, codes from 0 to 160, and
// intensities other than the defaults.
void assignAll(Session& session) {
    for (int row = 0; row < 22; ++row) {
        session.selectListEntry(2 * row + 1, row % 17);
        session.selectListEntry(2 * row + 2, (row * 3) % 10);
    }
    session.selectListEntry(45, 5);
    session.selectListEntry(49, 3);
    session.selectListEntry(46, 7);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Script script = decode(data, size);
    VirtualClock clock;
    Line line(clock, script.replies);
    DialogRecorder dialogs;
    Session session(dialogs);
    PanelLink link(session, dialogs, line, 100, &clock, &clock);

    if (script.write) {
        assignAll(session);
        const auto values = session.valuesToSend();
        if (!values)
            fail(QStringLiteral("the configuration to write is incomplete"));
        link.WRITE_CONFIG_Click();
        if (link.lastOutcome() == PanelLink::Outcome::Done)
            checkWrite(line, *values);
    } else {
        link.READ_CONFIG_Click();
        if (link.lastOutcome() == PanelLink::Outcome::Done)
            checkRead(line, link, session);
    }
    if (qEnvironmentVariableIsSet("FUZZ_LINK_VERBOSE"))
        std::fprintf(stderr, "outcome %d after %lld commands: %s\n", int(link.lastOutcome()),
                     qint64(line.exchanges.size()), qPrintable(session.statusText()));
    if (line.isOpen || line.opens != line.closes)
        fail(QStringLiteral("the port was left open"));
    return 0;
}
