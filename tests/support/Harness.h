#pragma once

#include "DialogRecorder.h"
#include "FakeSerialPort.h"
#include "ui/PanelTool.h"

// The whole tool on a fake port and recorded dialogs, on a virtual clock.
struct Harness {
    explicit Harness(PanelFaults faults = {}, int tickMs = 20)
        : port(clock, std::move(faults)), tool(dialogs, port, tickMs, &clock, &clock) {}

    // Selects a module entry and a channel entry for item row (0 ... 21),
    // module first, as a user does.
    void assign(int row, int module, int channel);
    // Every item assigned: SW n to module "A" + n ..., all complete.
    void assignAll();

    // A click on the option button of the lighting view.
    void lightingView();

    ConfigRecord& rec() { return tool.session.record(); }
    Form1& form() { return tool.form; }
    Session& session() { return tool.session; }

    VirtualClock clock;
    DialogRecorder dialogs;
    FakeSerialPort port;
    PanelTool tool;
};
