#pragma once

#include "files/ConfigFile.h"
#include "files/FileOutcome.h"
#include "model/ConfigScreen.h"
#include "platform/Dialogs.h"

#include <functional>

// The open and save commands: a whole configuration between the window and
// a configuration file.
class FileCommands {
public:
    FileCommands(ConfigScreen& window, Dialogs& dialogs);

    FileOutcome READ_FILE_Click();
    FileOutcome WRITE_FILE_Click();

    // The open command once its dialog has chosen path: the same checks and
    // messages whether the path came from the dialog or the command line.
    FileOutcome open(const QString& path);
    // The save command with path chosen instead of asked for. The bytes go
    // to the file through write, which gives the reason when they did not
    // get there; by default the file is replaced only once they all did.
    using Writer = std::function<std::optional<QString>(const QString& path, const QByteArray&)>;
    FileOutcome saveAs(const QString& path, const Writer& write = {});

    // Told once the missing panel name's message has been closed, so a
    // window can take the user to the box.
    std::function<void()> panelNameMissing;

    // Shows a line read from a file, as the open command does once the file
    // is accepted.
    void showFile(const ConfigFileLine& line);

private:
    FileOutcome save(const std::optional<QString>& chosen, const Writer& write);
    ConfigFileLine lineToSave() const;

    ConfigScreen& m_window;
    Dialogs& m_dialogs;
};
