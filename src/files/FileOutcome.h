#pragma once

#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"

#include <QString>

#include <optional>

// What an open or a save did, for every front end to decide on: the window,
// the commands, the import and the sheet. The texts are what the command
// showed the user, to be repeated or recorded, never to be read for the
// outcome.
struct FileOutcome {
    enum class Kind {
        Shown,       // opened: the file's configuration is in the session
        Saved,       // the whole line is on disk at path
        Cancelled,   // the file dialog was closed without a choice
        NameMissing, // a save without a panel name
        Incomplete,  // a save with an item lacking its module or channel
        Refused,     // an open of a file that is not a configuration of this tool
        NotSaved,    // the file system refused the save
    };

    Kind kind = Kind::Cancelled;
    QString path; // the file chosen; empty when cancelled or refused before a dialog
    // Shown and Saved: the line as the file holds it now.
    std::optional<ConfigFileLine> line;
    // Refused: why, for a command line; AccessDenied is the one the window
    // does not show, as the user knows why.
    ConfigFileRead::Failure failure = ConfigFileRead::Failure::None;
    QString reason; // Refused and NotSaved: in words, without the path
    int item = -1;  // Incomplete: the assignment row of the first incomplete item
    QString shown;  // the message or status the command showed; empty for Shown, Saved, Cancelled

    bool done() const { return kind == Kind::Shown || kind == Kind::Saved; }
};
