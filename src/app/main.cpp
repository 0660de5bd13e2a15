#include "app/AppInfo.h"
#include "app/CommandLine.h"
#include "app/Console.h"
#include "app/PanelTool.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "cli/Commissioning.h"
#include "link/LinkTrace.h"
#include "link/PortNames.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"
#include "sheet/SheetCommand.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QIcon>

#include <memory>

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
    Console::write(stdout, command.output);
    Console::write(stderr, command.errors);
    if (command.sheet)
        return SheetCommand::runWithoutDisplay(argc, argv, *command.sheet);
    if (!command.options)
        return command.exitStatus;
    const CommandLineOptions& options = *command.options;
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnek"));
    QCoreApplication::setApplicationName(QLatin1String(AppInfo::programName));

    if (!options.command.isEmpty()) {
        // The window's logic runs on a window that is never shown: no display
        // is needed, unless a platform was asked for.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        QString device = options.port;
        if (device.isEmpty())
            device = Settings().serialPort();
        if (device.isEmpty())
            device = PortNames::numbered(1);
        return Commissioning(options, device).run();
    }

    LinkTrace trace;
    if (QString error; !options.trace.isEmpty() && !trace.open(options.trace, &error)) {
        Console::write(stderr, QStringLiteral("%1: cannot open the trace file %2: %3\n")
                                   .arg(QLatin1String(AppInfo::programName), options.trace, error));
        return ExitStatus::usage;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(AppInfo::desktopId);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/panelconfig.svg")));

    QtSerialPort serialPort(options.port);
    TracingSerialPort tracedPort(serialPort, trace);
    SerialPort& port = options.trace.isEmpty() ? static_cast<SerialPort&>(serialPort) : tracedPort;
    Settings settings;
    QtDialogs dialogs;
    PanelTool tool(dialogs, port);
    if (!options.trace.isEmpty())
        tool.link.setTrace(&trace);
    tool.addPortPicker(settings, options.port);
    dialogs.setParent(&tool.form);
    showAtStart(tool, options.file);
    return app.exec();
}
