#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Timer1 as the panel link uses it: each start begins a fresh period, so the
// first tick comes one interval later, and it ticks on until stopped. Ticks
// arrive only while the event loop runs. The product uses QtTickTimer; tests
// use a clock that delivers ticks and bytes in a fixed order.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;

    void onTick(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void tick() {
        if (m_handler)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

class QtTickTimer : public TickTimer {
public:
    QtTickTimer() {
        m_timer.setObjectName("Timer1");
        m_timer.setTimerType(Qt::PreciseTimer); // the coarse timer may tick 5 % late
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start(int intervalMs) override {
        m_timer.setInterval(intervalMs);
        m_timer.start();
    }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};
