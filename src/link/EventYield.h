#pragma once

#include <QCoreApplication>

// How a panel wait gives the event loop its turn: process what is pending, or
// sleep until the next event (a byte, a tick, a click) arrives and process it.
class EventYield {
public:
    virtual ~EventYield() = default;
    virtual void processPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    virtual void waitForEvents() {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
};
