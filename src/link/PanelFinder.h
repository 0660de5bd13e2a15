#pragma once

#include "link/EventYield.h"
#include "link/SerialPort.h"
#include "link/TickTimer.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Which of several serial ports has a panel on it. Each port gets the
// handshake and, where a panel answers, the identity read, and nothing else;
// the ports are probed side by side, each with its own port and timer, all
// waiting on the same event loop, so finding takes about as long as one
// probe. A port that another program holds is never opened.
class PanelFinder {
public:
    struct Candidate {
        QString device;
        QString description; // the adapter's own words; may be empty
    };

    struct Found {
        enum class Kind {
            Panel,  // the panel answered; identity holds its code
            Silent, // nothing answered the handshake (or garbage did)
            Held,   // another program holds the port: skipped, never opened
            Fault,  // the port would not open, or failed
        };
        QString device;
        QString description;
        Kind kind = Kind::Silent;
        std::optional<qint16> identity; // Panel: the code at address 63, when it could be read
        QString fault;                  // Held, Fault: what the port said
    };

    struct Platform {
        std::function<std::unique_ptr<SerialPort>(const QString& device)> port;
        std::function<std::unique_ptr<TickTimer>()> timer;
        // Whether another program holds the device now (a lock file, an
        // open descriptor); such a port is left alone.
        std::function<bool(const QString& device)> heldElsewhere;
        EventYield* yield = nullptr; // null: the event loop's own
        int tickMs = 100;
    };

    explicit PanelFinder(Platform platform);

    // Probes every candidate and returns one entry per candidate, in their order.
    QList<Found> probe(const QList<Candidate>& candidates);

    // "00-00561" for 61, "00-00567" for 67, otherwise "identity N: not a
    // supported model" ("identity unreadable: ..." when no value came).
    static QString modelText(const Found& found);

    // The devices a probe found a panel on.
    static QStringList panels(const QList<Found>& found);

    // The product's platform: QtSerialPort, the event loop's timer, the
    // system's own signs of a port in use.
    static Platform systemPlatform();

private:
    class Probe;
    Platform m_platform;
};
