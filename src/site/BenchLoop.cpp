#include "site/BenchLoop.h"

#include <memory>

BenchLoop::BenchLoop(SiteModel& site, Steps steps, QObject* parent)
    : QObject(parent), m_site(site), m_steps(std::move(steps)) {}

// Sleeps on the caller's event loop until the time is up or a stop.
bool BenchLoop::pause(int ms) {
    auto done = std::make_shared<bool>(false);
    m_steps.after(ms, [done] { *done = true; });
    while (!*done && !m_stop)
        m_steps.waitForEvents();
    return !m_stop;
}

BenchLoop::Step BenchLoop::end(Step step, const QString& text) {
    m_running = false;
    emit stepped(step, text);
    return step;
}

BenchLoop::Step BenchLoop::run(int row) {
    if (m_running)
        return Step::Ended;
    m_running = true;
    m_stop = false;
    m_programmed = m_failed = 0;
    m_site.refresh();
    const QList<SitePanel>& panels = m_site.panels();
    const bool given = row >= 0 && row < panels.size() && panels[row].opens();
    if (!given) {
        const auto first = m_site.nextToWrite();
        if (!first)
            return end(Step::Done);
        if (!m_steps.open(*first))
            return end(Step::Ended);
        row = *first;
    }
    // Rows move when files come and go; the file is what is being written.
    QString path = m_site.panels()[row].path;
    for (;;) {
        emit stepped(Step::Waiting, m_site.panels()[row].file);
        while (!m_stop && !m_steps.panelAnswers())
            if (!pause(probeIntervalMs))
                break;
        if (m_stop)
            return end(Step::Ended);
        emit stepped(Step::Writing, m_site.panels()[row].file);
        QString why;
        const Written written = m_steps.write(row, &why);
        if (written == Written::Stopped || written == Written::Refused)
            return end(Step::Ended, written == Written::Refused ? why : QString());
        if (written == Written::Programmed) {
            ++m_programmed;
            emit stepped(Step::Programmed, m_site.panels()[row].file);
        } else {
            ++m_failed;
            emit stepped(Step::Failed, why);
        }
        emit stepped(Step::Unplug, {});
        while (pause(removalIntervalMs) && m_steps.panelAnswers()) {
        }
        if (m_stop)
            return end(Step::Ended);
        m_site.refresh();
        row = m_site.rowOf(path);
        if (written == Written::Programmed || row < 0) {
            const auto next = m_site.nextToWrite(row);
            if (!next)
                return end(Step::Done);
            if (!m_steps.open(*next))
                return end(Step::Ended);
            row = *next;
            path = m_site.panels()[row].path;
        }
    }
}
