#include "app/AppInfo.h"
#include "app/CommandLine.h"
#include "app/PanelTool.h"
#include "app/Startup.h"
#include "link/QtSerialPort.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

namespace {
// Read before the window system is touched, so that --help and --version work
// without a display.
CommandLineResult readCommandLine(int& argc, char* argv[]) {
    const QCoreApplication core(argc, argv);
    return parseCommandLine(QCoreApplication::arguments());
}
} // namespace

int main(int argc, char* argv[]) {
    const CommandLineResult command = readCommandLine(argc, argv);
    std::fputs(command.output.toLocal8Bit().constData(), stdout);
    std::fputs(command.errors.toLocal8Bit().constData(), stderr);
    if (!command.options)
        return command.exitStatus;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(AppInfo::desktopId);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/panelconfig.svg")));
    QtSerialPort port(command.options->port);
    QtDialogs dialogs;
    PanelTool tool(dialogs, port);
    dialogs.setParent(&tool.form);
    showAtStart(tool, command.options->file);
    return app.exec();
}
