#pragma once

#include "site/SiteModel.h"

#include <QObject>
#include <QString>

#include <functional>

// Bench mode: the panels of a site written one after the other, each as it
// is plugged in. Waits for a panel to answer, writes the current file to it,
// tells the outcome, waits until the panel is unplugged, then moves on to
// the next file still to do. A failure stays on its file, so the next panel
// plugged in gets it again. Knows no port and no window: the steps are the
// caller's, the waits are on the caller's event loop.
class BenchLoop : public QObject {
    Q_OBJECT
public:
    // How the write of a file went.
    enum class Written {
        Programmed,
        Failed,  // this panel did not take it; the next one may
        Refused, // no panel can take it (incomplete, not saved): the bench ends
        Stopped, // ended by a stop request
    };
    enum class Step {
        Waiting,    // for a panel to answer; text: the file
        Writing,    // text: the file
        Programmed, // text: the file
        Failed,     // text: why
        Unplug,     // the panel written is still there
        Done,       // every panel of the site is programmed
        Ended,      // stopped, or refused; text: why, empty for a stop
    };
    Q_ENUM(Step)

    struct Steps {
        std::function<bool()> panelAnswers; // a probe of the port
        std::function<bool(int row)> open;  // false: the user kept the file shown
        std::function<Written(int row, QString* why)>
            write;                           // writes row's file, shown in the window
        std::function<void()> waitForEvents; // sleeps until an event, processes it
        std::function<void(int ms, std::function<void()>)> after;
    };

    static constexpr int probeIntervalMs = 1000;  // while waiting for a panel
    static constexpr int removalIntervalMs = 250; // while the panel written is still there

    BenchLoop(SiteModel& site, Steps steps, QObject* parent = nullptr);

    // How the loop waits, in place of the one it was given.
    void setTiming(std::function<void()> waitForEvents,
                   std::function<void(int ms, std::function<void()>)> after) {
        m_steps.waitForEvents = std::move(waitForEvents);
        m_steps.after = std::move(after);
    }

    // Runs until the site is done or a stop; starts on row when it is a site
    // file that opens, else on the first file still to do.
    Step run(int row);
    bool running() const { return m_running; }
    // Ends the loop at its next wait; a write under way is the caller's to stop.
    void requestStop() { m_stop = true; }

    int programmed() const { return m_programmed; }
    int failed() const { return m_failed; }

signals:
    void stepped(BenchLoop::Step step, const QString& text);

private:
    bool pause(int ms);
    Step end(Step step, const QString& text = {});

    SiteModel& m_site;
    Steps m_steps;
    bool m_running = false;
    bool m_stop = false;
    int m_programmed = 0;
    int m_failed = 0;
};
