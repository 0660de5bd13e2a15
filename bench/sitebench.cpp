// A site of 200 panels with a log of 10,000 lines: the model filled, the
// status command, and the site window opened and filled offscreen, each
// timed; the window's resident memory with the site open against without.
#include "DialogRecorder.h"
#include "FakeSerialPort.h"
#include "VirtualClock.h"
#include "cli/SiteStatus.h"
#include "files/ConfigFile.h"
#include "ui/PanelTool.h"
#include "ui/SiteTool.h"
#include "ui/SiteWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {
long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void makeSite(const QString& folder, int panels, int lines) {
    for (int n = 1; n <= panels; ++n) {
        ConfigFileLine config;
        config.model = ConfigFile::modelText;
        config.panel = QStringLiteral("PANEL %1").arg(n);
        config.code.fill(160);
        QFile file(QDir(folder).filePath(QStringLiteral("P%1.zqc").arg(n)));
        file.open(QIODevice::WriteOnly);
        file.write(ConfigFile::format(config));
    }
    QFile log(QDir(folder).filePath(QStringLiteral("site.log")));
    log.open(QIODevice::WriteOnly);
    for (int i = 0; i < lines; ++i)
        log.write(QStringLiteral("2026-03-02T09:15:00\t/dev/ttyUSB0\twrite\tP%1.zqc\t%2\n")
                      .arg(i % panels + 1)
                      .arg(i % 7 ? QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED")
                                 : QStringLiteral("NO REPLY"))
                      .toUtf8());
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    makeSite(dir.path(), 200, 10000);
    QElapsedTimer t;

    t.start();
    SiteModel model;
    model.open(dir.path());
    std::printf("site model of 200 panels, 10000 log lines: %.1f ms\n", t.nsecsElapsed() / 1e6);

    t.restart();
    QString out, errors;
    SiteStatus::run(dir.path(), &out, &errors);
    std::printf("status: %.1f ms (%lld lines)\n", t.nsecsElapsed() / 1e6,
                static_cast<long long>(out.count(QLatin1Char('\n'))));

    VirtualClock clock;
    DialogRecorder dialogs;
    FakeSerialPort port(clock);
    PanelTool tool(dialogs, port, 20, &clock, &clock);
    tool.form.show();
    app.processEvents();
    const long alone = residentKb();
    t.restart();
    SiteTool site(tool);
    site.openSite(dir.path(), true);
    app.processEvents();
    std::printf("site window opened and filled: %.1f ms (%d rows)\n", t.nsecsElapsed() / 1e6,
                site.window()->table()->topLevelItemCount());
    const long withSite = residentKb();
    std::printf("resident memory: window alone %ld kB, with the site open %ld kB (+%ld kB)\n",
                alone, withSite, withSite - alone);
    return 0;
}
