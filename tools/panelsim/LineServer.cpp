#include "LineServer.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
// 9600 baud, 8N1: ten bits a character.
constexpr std::chrono::microseconds characterTime(10'000'000 / 9600);

QString describe(const PanelCommand& c) {
    switch (c.kind) {
    case PanelCommand::Kind::Handshake:
        return QStringLiteral("handshake");
    case PanelCommand::Kind::Write:
        return QStringLiteral("write %1 %2").arg(c.address).arg(c.value);
    case PanelCommand::Kind::Read:
        return QStringLiteral("read %1").arg(c.address);
    }
    return {};
}
} // namespace

LineServer::LineServer(PseudoTerminal& line, PanelEngine& engine, EventLog& log)
    : m_line(line), m_engine(engine), m_log(log),
      m_notifier(line.masterFd(), QSocketNotifier::Read),
      m_clientWatch(line.clientWatchFd(), QSocketNotifier::Read), m_lineFreeAt(Clock::now()) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_notifier, &QSocketNotifier::activated, this, &LineServer::readAvailable);
    connect(&m_timer, &QTimer::timeout, this, &LineServer::sendDue);
    connect(&m_clientWatch, &QSocketNotifier::activated, this, &LineServer::followClients);
}

void LineServer::followClients() {
    const PseudoTerminal::ClientEvents events = m_line.readClientEvents();
    for (int i = 0; i < events.opened; ++i)
        m_log.write(QStringLiteral("device opened"));
    for (int i = 0; i < events.closed; ++i)
        m_log.write(QStringLiteral("device closed"));
    m_clients = std::max(0, m_clients + events.opened - events.closed);
    if (events.overflow && m_clients == 0)
        m_clients = 1; // lost count: rather deliver too much than drop replies
    if (events.closed > 0)
        m_line.discardUnread();
}

void LineServer::readAvailable() {
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_line.masterFd(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0) {
            // We hold a slave descriptor ourselves, so this should never happen.
            m_log.write(QStringLiteral("error reading the line: %1")
                            .arg(QString::fromLocal8Bit(n < 0 ? std::strerror(errno) : "end")));
            stop(1);
            return;
        }
        const QByteArrayView chunk(buffer, n);
        m_log.write(QStringLiteral("rx ") + QString::fromLatin1(chunk.toByteArray().toHex(' ')));

        const qsizetype known = m_engine.commands().size();
        const std::vector<PanelEngine::Reply> replies = m_engine.receive(chunk);
        for (qsizetype i = known; i < m_engine.commands().size(); ++i)
            m_log.write(describe(m_engine.commands().at(i)));

        for (const PanelEngine::Reply& r : replies) {
            // The panel answers one command after another: a reply starts once
            // the previous one has left.
            const Clock::time_point start =
                std::max(Clock::now(), m_lineFreeAt) + std::chrono::milliseconds(r.delayMs);
            m_lineFreeAt = start + characterTime * r.bytes.size();
            m_queue.push_back({r.bytes, r.hangUp, m_lineFreeAt});
        }
    }
    armTimer();
}

void LineServer::armTimer() {
    if (m_queue.empty())
        return;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(m_queue.front().due - Clock::now());
    m_timer.start(std::max(wait, std::chrono::milliseconds(0)));
}

void LineServer::sendDue() {
    while (!m_queue.empty() && m_queue.front().due <= Clock::now()) {
        Pending p = std::move(m_queue.front());
        m_queue.pop_front();
        if (p.hangUp) {
            m_log.write(QStringLiteral("hang-up"));
            stop(0);
            return;
        }
        if (m_clients == 0) {
            m_log.write(QStringLiteral("tx lost, device closed: ") + QString::fromLatin1(p.bytes));
            continue;
        }
        const ssize_t n = ::write(m_line.masterFd(), p.bytes.constData(), size_t(p.bytes.size()));
        // A client that never reads can fill the terminal's buffer; the rest is
        // lost, as on a line with nobody listening.
        if (n == p.bytes.size())
            m_log.write(QStringLiteral("tx ") + QString::fromLatin1(p.bytes));
        else
            m_log.write(
                QStringLiteral("tx dropped %1: %2")
                    .arg(QString::fromLatin1(p.bytes),
                         QString::fromLocal8Bit(n < 0 ? std::strerror(errno) : "short write")));
    }
    armTimer();
}

void LineServer::stop(int exitCode) {
    m_notifier.setEnabled(false);
    m_clientWatch.setEnabled(false);
    m_timer.stop();
    m_queue.clear();
    m_line.close();
    emit finished(exitCode);
}
