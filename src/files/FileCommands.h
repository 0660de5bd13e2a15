#pragma once

#include "files/ConfigFile.h"
#include "model/ConfigScreen.h"
#include "platform/Dialogs.h"

#include <functional>

// The open and save commands: a whole configuration between the window and
// a configuration file.
class FileCommands {
public:
    FileCommands(ConfigScreen& window, Dialogs& dialogs);

    void READ_FILE_Click();
    void WRITE_FILE_Click();
    // The save command onto the file the configuration belongs to, without
    // the dialog: the same checks, messages and line.
    void saveTo(const QString& path);

    // The open command once its dialog has chosen path: the same checks and
    // messages whether the path came from the dialog or the command line.
    // True when the file was shown.
    bool open(const QString& path);

    // Told the path once a file has been shown in the window or saved from
    // it, so the configuration sheet can say where the configuration came from.
    std::function<void(const QString& path)> fileDone;
    // Told once the missing panel name's message has been closed, so a
    // window can take the user to the box.
    std::function<void()> panelNameMissing;

    // Shows a line read from a file, as the open command does once the file
    // is accepted.
    void showFile(const ConfigFileLine& line);
    // The line shown last, as the file holds it.
    std::optional<ConfigFileLine> shownLine;

private:
    void writeFile(const std::optional<QString>& given);
    bool save(const QString& path, const QByteArray& bytes);

    ConfigScreen& m_window;
    Dialogs& m_dialogs;
};
