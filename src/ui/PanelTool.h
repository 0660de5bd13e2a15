#pragma once

#include "files/FileCommands.h"
#include "link/PanelFinder.h"
#include "link/PanelLink.h"
#include "platform/Settings.h"
#include "session/Session.h"
#include "ui/CompareControls.h"
#include "ui/FileLabel.h"
#include "ui/Form1.h"
#include "ui/Help.h"
#include "ui/PortPicker.h"
#include "ui/RecentFiles.h"
#include "ui/WindowSheet.h"

#include <functional>
#include <optional>

// The window put together: a session shown by the main window, the panel
// link and the file commands working on it, on the given port and dialogs.
class PanelTool {
public:
    PanelTool(Dialogs& dialogs, SerialPort& port, int tickMs = 100, EventYield* yield = nullptr,
              TickTimer* timer = nullptr);

    // Puts the port picker into the window. It starts on commandLinePort when
    // one was given, else on the device remembered in settings, else on the
    // first serial port; a device the user picks is remembered once a
    // transaction has opened it. Every panel
    // transaction then uses the device it shows.
    void addPortPicker(Settings& settings, const QString& commandLinePort,
                       PortPicker::Enumeration enumerate = PortNames::available,
                       PanelFinder::Platform finding = PanelFinder::systemPlatform());

    // Reads the panel and marks what differs from the window's configuration,
    // changing nothing else.
    void compare();

    // Reads the panel's 25 values into link.valuesRead() as the compare
    // does, on the device the picker shows: of the window only the status box
    // shows the transaction. nullopt while another transaction runs.
    std::optional<PanelLink::Outcome> readPanel();

    // Asked before the write command goes to the panel; false keeps it back.
    std::function<bool()> beforeWrite;
    // Told once a write command's transaction has ended.
    std::function<void(PanelLink::Outcome)> afterWrite;
    // Puts the list of recent files beside the open command, kept in settings.
    void addRecentFiles(Settings& settings);

    Session session;
    Form1 form;
    PanelLink link;
    FileCommands files;
    PortPicker* picker = nullptr;
    WindowSheet* sheet; // owned by the window, like the rest
    CompareControls* compareControls;
    FileLabel* fileLabel;
    Help* help;
    RecentFiles* recent = nullptr;

    // The write command as the window runs it; nullopt when it was held
    // back (a transaction under way, or beforeWrite said no).
    std::optional<PanelLink::Outcome> writeConfig();
    // Whether a panel answers on the device the picker shows; nothing shown.
    PanelLink::Outcome probe();

    // The open command on path, as the window runs it: the configuration
    // shown is what the window is then on.
    FileOutcome open(const QString& path);
    // The open and save buttons' commands.
    FileOutcome readFile() { return took(files.READ_FILE_Click()); }
    FileOutcome writeFile() { return took(files.WRITE_FILE_Click()); }
    // The save command onto path, without the dialog.
    FileOutcome saveTo(const QString& path) { return took(files.saveAs(path)); }
    // Where messages are shown.
    Dialogs& dialogs() const { return m_dialogs; }
    // The device the panel transactions use: the picker's, else the port's.
    QString device() const { return picker ? picker->device() : m_port.deviceName(); }

private:
    // What the window keeps of an open or a save: the file it is on.
    FileOutcome took(FileOutcome outcome);

    SerialPort& m_port;
    Dialogs& m_dialogs;
    bool overPickedPort(void (PanelLink::*transaction)());

    Settings* m_settings = nullptr;        // where a device the user chose is remembered
    std::optional<QString> m_chosenDevice; // chosen in the picker, not yet used
};
