#pragma once

#include <QObject>

// Ctrl+C (and a polite kill) as an event: the signal only wakes the event
// loop, and raised() is emitted from there, where any code may run.
class Interrupt : public QObject {
    Q_OBJECT
public:
    Interrupt();
    ~Interrupt() override;

    bool wasRaised() const { return m_raised; }

signals:
    void raised();

private:
    void raise();

    bool m_raised = false;
    QObject* m_notifier = nullptr;
};
