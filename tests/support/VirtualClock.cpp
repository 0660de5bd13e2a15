#include "VirtualClock.h"

#include <QCoreApplication>

void VirtualClock::after(int delayMs, std::function<void()> action) {
    m_due.emplace(Key{m_now + qMax(0, delayMs), m_order++}, std::move(action));
}

void VirtualClock::processPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void VirtualClock::waitForEvents() {
    processPending();
    if (m_due.empty()) { // nothing can ever come: behave as the real wait does
        EventYield::waitForEvents();
        return;
    }
    m_now = m_due.begin()->first.first;
    while (!m_due.empty() && m_due.begin()->first.first == m_now) {
        auto action = std::move(m_due.begin()->second);
        m_due.erase(m_due.begin());
        action();
    }
}

void VirtualClock::start(int intervalMs) {
    m_interval = qMax(1, intervalMs);
    m_running = true;
    ++m_timerGeneration;
    scheduleTick();
}

void VirtualClock::stop() {
    m_running = false;
    ++m_timerGeneration;
}

void VirtualClock::scheduleTick() {
    after(m_interval, [this, generation = m_timerGeneration] {
        if (!m_running || generation != m_timerGeneration)
            return;
        scheduleTick();
        tick();
    });
}

void VirtualTimer::start(int intervalMs) {
    schedule(qMax(1, intervalMs), ++m_state->generation);
}

void VirtualTimer::schedule(int interval, int generation) {
    m_clock.after(interval, [this, interval, generation, state = m_state] {
        if (!state->alive || state->generation != generation)
            return;
        schedule(interval, generation);
        tick();
    });
}
