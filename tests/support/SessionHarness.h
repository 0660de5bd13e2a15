#pragma once

#include "DialogRecorder.h"
#include "files/FileCommands.h"
#include "session/Session.h"

// The editing screen without a window: a session on recorded dialogs, with
// the open and save commands working on it.
struct SessionHarness {
    SessionHarness() : session(dialogs), files(session, dialogs) {}

    // Selects a module entry and a channel entry for item row (0 ... 21),
    // module first, as a user does.
    void assign(int row, int module, int channel) {
        session.selectListEntry(2 * row + 1, module);
        session.selectListEntry(2 * row + 2, channel);
    }
    // Every item assigned: SW n to module "A" + n ..., all complete.
    void assignAll() {
        for (int row = 0; row < 22; ++row)
            assign(row, 1 + row % 16, row % 10);
    }

    ConfigRecord& rec() { return session.record(); }

    DialogRecorder dialogs;
    Session session;
    FileCommands files;
};
