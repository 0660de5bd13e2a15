#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "cli/Commissioning.h"
#include "cli/FindCommand.h"
#include "cli/Interrupt.h"
#include "cli/SiteStatus.h"
#include "link/LinkTrace.h"
#include "link/PortNames.h"
#include "link/PortsAhead.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"
#include "platform/AppInfo.h"
#include "platform/Console.h"
#include "platform/Settings.h"
#include "schedule/ScheduleCommand.h"
#include "sheet/SheetCommand.h"
#include "ui/PanelTool.h"
#include "ui/QtDialogs.h"
#include "ui/SiteTool.h"
#include "ui/Startup.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace {
// Read before the window system is touched, so that --help and --version work
// without a display.
CommandLineResult readCommandLine(int& argc, char* argv[]) {
    const QCoreApplication core(argc, argv);
    return parseCommandLine(QCoreApplication::arguments());
}

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnek"));
    QCoreApplication::setApplicationName(QLatin1String(AppInfo::programName));
}

// Import and export touch no panel and draw nothing.
int runSchedule(int& argc, char* argv[], const ScheduleOptions& options) {
    const QCoreApplication app(argc, argv);
    QString out, errors;
    const int status = ScheduleCommand::run(options, &out, &errors);
    Console::write(stdout, out);
    Console::write(stderr, errors);
    return status;
}

// A site's state needs no panel and no display.
int runStatus(int& argc, char* argv[], const QString& folder) {
    const QCoreApplication app(argc, argv);
    QString out, errors;
    const int status = SiteStatus::run(folder, &out, &errors);
    Console::write(stdout, out);
    Console::write(stderr, errors);
    return status;
}

CommandConsole console() {
    CommandConsole c;
    c.say = [](const QString& line) { Console::write(stderr, line + QLatin1Char('\n')); };
    c.table = [](const QString& line) { Console::write(stdout, line + QLatin1Char('\n')); };
    // A log keeps the status lines alone.
    if (ProgressLine::standardErrorIsTerminal())
        c.progress = [](const QString& text) { Console::write(stderr, text); };
    return c;
}

QList<PanelFinder::Found> probe(const QStringList& devices) {
    return PanelFinder(PanelFinder::systemPlatform())
        .probe(FindCommand::candidates(devices, PortNames::available()));
}

// --port auto, in a running application: the device, or the exit status.
FindCommand::Choice portFor(const CommandLineOptions& options) {
    if (options.port != FindCommand::autoPort)
        return {options.port, ExitStatus::ok};
    return FindCommand::choose(probe({}), console());
}

// The commands draw nothing: a console application, without any window
// system or platform plugin.
int runCommand(int& argc, char* argv[], const CommandLineOptions& options) {
    QCoreApplication app(argc, argv);
    nameApplication();
    if (options.command == QLatin1String("find"))
        return FindCommand::run(probe(options.files), console());
    const FindCommand::Choice chosen = portFor(options);
    if (chosen.exitStatus != ExitStatus::ok)
        return chosen.exitStatus;
    QString device = chosen.device;
    if (device.isEmpty())
        device = Settings().serialPort();
    if (device.isEmpty())
        device = PortNames::numbered(1);
    QtSerialPort line(device);
    Commissioning commissioning(options, line, console());
    Interrupt interrupt;
    QObject::connect(&interrupt, &Interrupt::raised, &app,
                     [&commissioning] { commissioning.interrupt(); });
    return commissioning.run();
}

// Qt puts the window on the accessibility bus. A GTK platform theme (the
// usual one on GNOME and its kin) starts GTK inside the program, and GTK's
// own bridge would register the program a second time, under the same name
// and with nothing in it; a screen reader then lists two panelconfigs. GTK
// stays off the bus, unless the user says otherwise; the file dialog is
// then Qt's own (QtDialogs).
void keepOneAccessibleApplication() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsSet("NO_AT_BRIDGE"))
        qputenv("NO_AT_BRIDGE", "1");
#endif
}

int runWindow(int& argc, char* argv[], const CommandLineOptions& options) {
    LinkTrace trace;
    if (QString error; !options.trace.isEmpty() && !trace.open(options.trace, &error)) {
        Console::write(stderr, QStringLiteral("%1: cannot open the trace file %2: %3\n")
                                   .arg(QLatin1String(AppInfo::programName), options.trace, error));
        return ExitStatus::usage;
    }
    trace.setFailureReport([&options](const QString& why) {
        Console::write(stderr,
                       QStringLiteral("%1: cannot write the trace file %2: %3; nothing more is "
                                      "traced\n")
                           .arg(QLatin1String(AppInfo::programName), options.trace, why));
    });

    // Before the port list's thread starts: no environment is set while
    // another thread may read it.
    keepOneAccessibleApplication();
    // The port list is read while the application and the window are built;
    // --port auto reads it anyway, before the window.
    const PortNames::Enumeration ports =
        options.port == FindCommand::autoPort ? PortNames::available : PortNames::ahead();

    std::optional<DisplayCheck> displayCheck(std::in_place);
    QApplication app(argc, argv);
    displayCheck.reset();
    nameApplication();
    QGuiApplication::setDesktopFileName(AppInfo::desktopId);
    QApplication::setWindowIcon(programIcon());

    const FindCommand::Choice chosen = portFor(options);
    if (chosen.exitStatus != ExitStatus::ok)
        return chosen.exitStatus;
    QtSerialPort serialPort(chosen.device);
    TracingSerialPort tracedPort(serialPort, trace);
    SerialPort& port = options.trace.isEmpty() ? static_cast<SerialPort&>(serialPort) : tracedPort;
    Settings settings;
    QtDialogs dialogs;
    PanelTool tool(dialogs, port);
    if (!options.trace.isEmpty())
        tool.link.setTrace(&trace);
    tool.addPortPicker(settings, chosen.device, ports);
    tool.addRecentFiles(settings);
    tool.sheet->setSettings(settings);
    dialogs.setParent(&tool.form);
    SiteTool site(tool);
    site.setSettings(settings);
    showAtStart(tool, options.file);
    if (!options.site.isEmpty())
        showSiteAtStart(site, options.site);
    return app.exec();
}
} // namespace

int main(int argc, char* argv[]) {
    if (const auto undecodable = undecodableArgument(argc, argv)) {
        Console::write(stderr, *undecodable);
        return ExitStatus::usage;
    }
    const CommandLineResult command = readCommandLine(argc, argv);
    Console::write(stdout, command.output);
    Console::write(stderr, command.errors);
    if (command.sheet)
        return SheetCommand::runWithoutDisplay(argc, argv, *command.sheet);
    if (command.schedule)
        return runSchedule(argc, argv, *command.schedule);
    if (command.status)
        return runStatus(argc, argv, *command.status);
    if (!command.options)
        return command.exitStatus;
    if (!command.options->command.isEmpty())
        return runCommand(argc, argv, *command.options);
    return runWindow(argc, argv, *command.options);
}
