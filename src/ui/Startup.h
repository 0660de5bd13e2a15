#pragma once

#include <QString>

class PanelTool;

// Shows the window and, when the command line named a file, opens it as the
// open command opens the file its dialog chose: same checks, same messages.
void showAtStart(PanelTool& tool, const QString& file);
