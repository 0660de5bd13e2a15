#pragma once

#include "link/EventYield.h"
#include "link/TickTimer.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>

// Time as the tests tell it. The panel link's waits, Timer1's ticks, the
// fake port's bytes and a test's own actions run on one virtual timeline, in
// a fixed order, however busy the machine is: each blocking wait jumps to the
// next moment something is due and runs everything due then, in the order it
// was scheduled. Qt's own events (a click posted by a test) are processed
// before every jump.
class VirtualClock : public EventYield, public TickTimer {
public:
    int now() const { return m_now; }

    // Runs action at now() + delayMs.
    void after(int delayMs, std::function<void()> action);

    void processPending() override;
    void waitForEvents() override;

    void start(int intervalMs) override;
    void stop() override;

private:
    void scheduleTick();

    using Key = std::pair<int, int>; // due time, order of scheduling
    std::map<Key, std::function<void()>> m_due;
    int m_now = 0;
    int m_order = 0;
    int m_interval = 0;
    int m_timerGeneration = 0; // ticks of an older start are void
    bool m_running = false;
};

// A further timer on the same timeline, for code that keeps several at once
// (the panel finder's probes). Ticks scheduled before it was stopped, started
// afresh or destroyed never arrive.
class VirtualTimer : public TickTimer {
public:
    explicit VirtualTimer(VirtualClock& clock) : m_clock(clock) {}
    ~VirtualTimer() override { m_state->alive = false; }
    void start(int intervalMs) override;
    void stop() override { ++m_state->generation; }

private:
    struct State {
        bool alive = true;
        int generation = 0;
    };
    void schedule(int interval, int generation);

    VirtualClock& m_clock;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
