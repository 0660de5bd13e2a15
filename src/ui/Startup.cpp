#include "ui/Startup.h"

#include "ui/PanelTool.h"
#include "ui/SiteTool.h"

#include <QTimer>

void showAtStart(PanelTool& tool, const QString& file) {
    tool.form.show();
    if (file.isEmpty())
        return;
    // Once the event loop runs, so a refusal's message box stands over the
    // window it leaves empty.
    // Undone as one step, like an open from the window.
    QTimer::singleShot(0, &tool.form,
                       [&tool, file] { tool.session.step([&] { tool.open(file); }); });
}

void showSiteAtStart(SiteTool& site, const QString& folder) {
    QTimer::singleShot(0, &site, [&site, folder] { site.openSite(folder, true); });
}
