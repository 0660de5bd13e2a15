#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// One configuration file of a site, and what the site's log says its panel
// received last.
struct SitePanel {
    enum class State {
        NotYet,     // no write or verify of this file in the log
        Programmed, // the last write ended with the panel programmed
        Verified,   // the last verify found the panel agreeing with the file
        Differs,    // the last verify found the panel otherwise
        Failed,     // the last write or verify did not end; reason says how
    };

    QString file;       // its name in the folder
    QString path;       // the whole path
    QString panel;      // the panel name it holds; empty when it does not open
    QString unreadable; // why it does not open; empty when it opens
    QString sameNameAs; // another file of the site with the same panel name
    State state = State::NotYet;
    QString reason;  // a failure's outcome, or what a verify found different
    QDateTime when;  // of the line the state comes from
    QString port;    // which the panel was on
    QString command; // as the log names it
    QString model;   // of the panel last found holding this file ("00-00561"); empty for none

    bool opens() const { return unreadable.isEmpty(); }
    // Programmed and still to be: what the next write would go to.
    bool programmed() const { return state == State::Programmed || state == State::Verified; }
    bool toWrite() const { return opens() && !programmed(); }

    // The state in words: "not yet", "programmed", "verified", "differs",
    // "failed: WHY", or "does not open: WHY".
    QString stateText() const;
    // When, as the site shows it: "2026-03-02 09:15:00"; empty for never.
    QString whenText() const;
    // What the handover document says of it: "not yet", or the state with
    // when and on which port: "programmed 2026-03-02 09:15:00 on /dev/ttyUSB0".
    QString commissioningText() const;
    // What the site shows of it: file, panel name, state (with the other
    // file of its panel name, if any), when, port, and last the model seen.
    QStringList fields() const;
};
