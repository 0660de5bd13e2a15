#include "link/PanelFinder.h"

#include "link/LinkTexts.h"
#include "link/PanelProtocol.h"
#include "link/PortHolders.h"
#include "link/QtSerialPort.h"
#include "model/MemoryMap.h"

#include <algorithm>

// One port's probe as steps, so that many can wait on one event loop: the
// handshake as a transaction makes it (an "A", a reply wait, up to six
// times; only "D000D" alone before the tick counts), one paced tick, then
// the read of address 63. Each step looks at its port and its own tick after
// every turn of the loop, as the link's waits do.
class PanelFinder::Probe {
public:
    Probe(const Candidate& candidate, const Platform& platform)
        : m_found{candidate.device, candidate.description, Found::Kind::Silent, {}, {}},
          m_tickMs(platform.tickMs) {
        if (platform.heldElsewhere && platform.heldElsewhere(candidate.device)) {
            m_found.kind = Found::Kind::Held;
            m_found.fault = QStringLiteral("IN USE BY ANOTHER PROGRAM");
            finish();
            return;
        }
        m_port = platform.port(candidate.device);
        m_timer = platform.timer();
        m_timer->onTick([this] { m_ticked = true; });
        m_port->setSettings(LinkTexts::settings);
        if (!m_port->open()) {
            m_found.kind = Found::Kind::Fault;
            m_found.fault = m_port->fault().value_or(QString());
            if (m_found.fault.contains(QLatin1String("IN USE BY ANOTHER PROGRAM")))
                m_found.kind = Found::Kind::Held;
            finish();
            return;
        }
        sendHandshake();
    }

    bool running() const { return m_stage != Stage::Done; }
    const Found& found() const { return m_found; }

    // Looks at the port and the tick after a turn of the event loop.
    void advance() {
        if (!running())
            return;
        if (const auto fault = m_port->fault()) {
            m_found.kind = Found::Kind::Fault;
            m_found.fault = *fault;
            finish();
            return;
        }
        const bool whole = m_port->waiting() >= PanelProtocol::replyLength;
        switch (m_stage) {
        case Stage::Handshake:
            if (!whole && !m_ticked)
                return;
            if (!whole && ++m_attempts < 6) {
                sendHandshake();
                return;
            }
            if (m_port->takeAll() != PanelProtocol::acknowledgement || m_ticked) {
                finish(); // silent, or something that is no panel
                return;
            }
            m_found.kind = Found::Kind::Panel;
            m_stage = Stage::Pause;
            arm();
            return;
        case Stage::Pause:
            if (!m_ticked)
                return;
            m_port->takeAll(); // a late answer to an "A" is no part of the identity
            m_port->send(PanelProtocol::readCommand(MemoryMap::identityAddress));
            m_stage = Stage::Identity;
            arm();
            return;
        case Stage::Identity: {
            if (!whole && !m_ticked)
                return;
            const QByteArray reply = m_port->takeAll();
            const PanelProtocol::ReplyValue read = PanelProtocol::replyValue(reply);
            // Read as the link reads it: only a number through the reply counts.
            if (reply.size() >= PanelProtocol::shortestRead && read.whole && read.fits)
                m_found.identity = read.value;
            finish();
            return;
        }
        case Stage::Done:
            return;
        }
    }

private:
    enum class Stage { Handshake, Pause, Identity, Done };

    void arm() {
        m_ticked = false;
        m_timer->start(m_tickMs);
    }
    void sendHandshake() {
        m_port->send(PanelProtocol::handshake);
        arm();
    }
    void finish() {
        m_stage = Stage::Done;
        if (m_timer)
            m_timer->stop();
        if (m_port)
            m_port->close();
    }

    Found m_found;
    int m_tickMs;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<TickTimer> m_timer;
    Stage m_stage = Stage::Handshake;
    int m_attempts = 0;
    bool m_ticked = false;
};

PanelFinder::PanelFinder(Platform platform) : m_platform(std::move(platform)) {}

QList<PanelFinder::Found> PanelFinder::probe(const QList<Candidate>& candidates) {
    EventYield defaultYield;
    EventYield& yield = m_platform.yield ? *m_platform.yield : defaultYield;
    std::vector<std::unique_ptr<Probe>> probes;
    for (const Candidate& candidate : candidates)
        probes.push_back(std::make_unique<Probe>(candidate, m_platform));
    const auto anyRunning = [&probes] {
        return std::any_of(probes.begin(), probes.end(),
                           [](const std::unique_ptr<Probe>& p) { return p->running(); });
    };
    // One yield first, as every reply wait makes, then sleep until the next
    // byte or tick of any port.
    if (anyRunning()) {
        yield.processPending();
        for (auto& p : probes)
            p->advance();
    }
    while (anyRunning()) {
        yield.waitForEvents();
        for (auto& p : probes)
            p->advance();
    }
    QList<Found> found;
    for (const auto& p : probes)
        found.append(p->found());
    return found;
}

QString PanelFinder::modelText(const Found& found) {
    if (!found.identity)
        return QStringLiteral("identity unreadable: not a supported model");
    const QString model = MemoryMap::modelOf(*found.identity);
    return model.isEmpty()
               ? QStringLiteral("identity %1: not a supported model").arg(*found.identity)
               : model;
}

QStringList PanelFinder::panels(const QList<Found>& found) {
    QStringList devices;
    for (const Found& f : found)
        if (f.kind == Found::Kind::Panel)
            devices << f.device;
    return devices;
}

PanelFinder::Platform PanelFinder::systemPlatform() {
    Platform platform;
    platform.port = [](const QString& device) { return std::make_unique<QtSerialPort>(device); };
    platform.timer = [] { return std::make_unique<QtTickTimer>(); };
    platform.heldElsewhere = [](const QString& device) {
        return PortHolders::heldByAnotherProgram(device);
    };
    return platform;
}
