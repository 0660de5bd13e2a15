#pragma once

#include "files/FileCommands.h"
#include "link/PanelLink.h"
#include "ui/Form1.h"

// The tool put together: the main window, the panel link and the file
// commands, on the given port and dialogs.
class PanelTool {
public:
    PanelTool(Dialogs& dialogs, SerialPort& port, int tickMs = 100, EventYield* yield = nullptr)
        : form(dialogs), link(form, dialogs, port, tickMs, yield), files(form, dialogs) {
        form.setCommands({[this] { link.READ_CONFIG_Click(); },
                          [this] { link.WRITE_CONFIG_Click(); },
                          [this] { files.READ_FILE_Click(); }, [this] { files.WRITE_FILE_Click(); },
                          [this] { link.requestStop(); }});
    }

    Form1 form;
    PanelLink link;
    FileCommands files;
};
