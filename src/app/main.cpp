#include "app/AppInfo.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
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

#include <cstdio>
#include <memory>
#include <optional>

namespace {
// Read before the window system is touched, so that --help and --version work
// without a display.
CommandLineResult readCommandLine(int& argc, char* argv[]) {
    const QCoreApplication core(argc, argv);
    return parseCommandLine(QCoreApplication::arguments());
}
} // namespace

int main(int argc, char* argv[]) {
    if (const auto undecodable = undecodableArgument(argc, argv)) {
        std::fputs(undecodable->toLocal8Bit().constData(), stderr);
        return ExitStatus::usage;
    }
    const CommandLineResult command = readCommandLine(argc, argv);
    std::fputs(command.output.toLocal8Bit().constData(), stdout);
    std::fputs(command.errors.toLocal8Bit().constData(), stderr);
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
        std::fprintf(stderr, "%s: cannot open the trace file %s: %s\n", AppInfo::programName,
                     qPrintable(options.trace), qPrintable(error));
        return ExitStatus::usage;
    }
    trace.setFailureReport([&options](const QString& why) {
        std::fprintf(stderr, "%s: cannot write the trace file %s: %s; nothing more is traced\n",
                     AppInfo::programName, qPrintable(options.trace), qPrintable(why));
    });

    std::optional<DisplayCheck> displayCheck(std::in_place);
    QApplication app(argc, argv);
    displayCheck.reset();
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
