#include "ui/Startup.h"

#include "ui/PanelTool.h"
#include "ui/SiteTool.h"

#include <QImageReader>
#include <QPixmap>
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

// Read as PNG and nothing else: left to guess, Qt loads every image plugin
// it has (SVG, GIF, JPEG, ...) to ask each whether it reads the file.
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 64, 128}) {
        QImageReader png(QStringLiteral(":/icons/panelconfig/%1.png").arg(size), "png");
        png.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(png.read()));
    }
    return icon;
}
