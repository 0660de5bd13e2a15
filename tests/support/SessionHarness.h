#pragma once

#include "DialogRecorder.h"
#include "FakeSerialPort.h"
#include "files/FileCommands.h"
#include "link/PanelLink.h"
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

    // The open and save commands as a front end runs them: an open is one
    // step, and once a file is shown or saved the session is on it.
    FileOutcome readFile() {
        return opened([this] { return files.READ_FILE_Click(); });
    }
    FileOutcome open(const QString& path) {
        return opened([this, &path] { return files.open(path); });
    }
    FileOutcome writeFile() { return stored(files.WRITE_FILE_Click()); }

    DialogRecorder dialogs;
    Session session;
    FileCommands files;

private:
    template <class Command> FileOutcome opened(const Command& command) {
        FileOutcome outcome;
        session.step([&] { outcome = stored(command()); });
        return outcome;
    }
    FileOutcome stored(FileOutcome outcome) {
        if (outcome.done())
            session.configurationStored(outcome.path);
        return outcome;
    }
};

// A bare session with the panel link on the scripted port and the virtual
// clock, for the read and the write.
struct LinkedSession : SessionHarness {
    explicit LinkedSession(PanelFaults faults = {})
        : port(clock, std::move(faults)), link(session, dialogs, port, 20, &clock, &clock) {}

    // The read and the write as a front end runs them: a read is one step and
    // leaves the session on the panel's configuration; a write that got
    // through leaves the assignments stored in the panel.
    PanelLink::Outcome read() {
        session.step([this] {
            session.runTransaction([this] { link.READ_CONFIG_Click(); });
            if (link.lastOutcome() == PanelLink::Outcome::Done)
                session.configurationRead();
        });
        return link.lastOutcome();
    }
    PanelLink::Outcome write() {
        session.runTransaction([this] { link.WRITE_CONFIG_Click(); });
        if (link.lastOutcome() == PanelLink::Outcome::Done)
            session.assignmentsWritten();
        return link.lastOutcome();
    }

    VirtualClock clock;
    FakeSerialPort port;
    PanelLink link;
};
