#pragma once

#include <QObject>

// Ctrl+C (and a polite kill) as an event: the signal handler, which may run
// on another thread, only sets an atomic flag and wakes the event loop;
// raised() is emitted from there, where any code may run.
class Interrupt : public QObject {
    Q_OBJECT
public:
    Interrupt();
    ~Interrupt() override;

signals:
    void raised();

private:
    void deliver();

    QObject* m_notifier = nullptr;
};
