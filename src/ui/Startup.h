#pragma once

#include <QIcon>
#include <QString>

class PanelTool;
class SiteTool;

// Shows the window and, when the command line named a file, opens it as the
// open command opens the file its dialog chose: same checks, same messages.
void showAtStart(PanelTool& tool, const QString& file);

// Opens the site window on folder once the window is shown, with the first
// panel still to do in the main window.
void showSiteAtStart(SiteTool& site, const QString& folder);

// The program's icon, drawn at build time in each size a window system asks
// for (16, 32, 64 and 128 pixels).
QIcon programIcon();
