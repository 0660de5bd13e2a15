#pragma once

#include "files/ConfigFile.h"

#include <QString>

#include <optional>

// A configuration file read from disk with the open command's checks, but
// without a window: the window shows the line or the mismatch message, a
// command line names the file and says what was wrong.
struct ConfigFileRead {
    enum class Failure {
        None,
        AccessDenied,    // the window stays silent: the user will know why
        CannotOpen,      // missing, not a regular file, or unreadable
        NotConfiguration // too short, unreadable values or another model's text
    };

    std::optional<ConfigFileLine> line;
    Failure failure = Failure::None;
    QString reason; // in words, for a command line; empty on success
};

ConfigFileRead readConfigFile(const QString& path);
