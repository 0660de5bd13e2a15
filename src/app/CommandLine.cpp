#include "app/CommandLine.h"

#include "app/AppInfo.h"
#include "sheet/SheetCommand.h"

#include <QCommandLineParser>

namespace {
const QString helpOption = QStringLiteral("help");
const QString portOption = QStringLiteral("port");
const QString traceOption = QStringLiteral("trace");

const QString description =
    QStringLiteral("Configures the TARNEK KVQ ten-button dimmable wall switch panel, models\n"
                   "00-00561 and 00-00567: reads and writes a panel over a serial port and\n"
                   "opens and saves .zqc configuration files.");

const QString exitStatusHelp =
    QStringLiteral("\nExit status:\n"
                   "  0  the window was closed, or help or version shown\n"
                   "  1  sheet: a FILE was skipped, or the PDF could not be written\n"
                   "  2  wrong option or argument\n");

QString usageLine(const QCommandLineParser& parser) {
    return parser.helpText().section(QLatin1Char('\n'), 0, 0) + QLatin1Char('\n');
}

CommandLineResult refuse(const QCommandLineParser& parser, const QString& reason) {
    return {std::nullopt,
            ExitStatus::usage,
            {},
            QStringLiteral("%1: %2\n").arg(QLatin1String(AppInfo::programName), reason) +
                usageLine(parser)};
}
} // namespace

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(description);
    // Qt's own help option would also offer --help-all, for the window
    // system's options, which this program does not take.
    parser.addOption({{QStringLiteral("h"), helpOption}, QStringLiteral("Displays this help.")});
    parser.addVersionOption();
    parser.addOption(
        {portOption,
         QStringLiteral("Serial DEVICE to the panel for this run, instead of the one "
                        "chosen last in the window (at first, the first serial port)."),
         QStringLiteral("DEVICE")});
    parser.addOption({traceOption,
                      QStringLiteral("Append every byte sent to and received from the panel, "
                                     "time-stamped, to FILE, for support."),
                      QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Configuration file (.zqc) to open at start."),
                                 QStringLiteral("[FILE]"));
}

CommandLineResult parseCommandLine(const QStringList& arguments) {
    if (SheetCommand::isNamedIn(arguments))
        return SheetCommand::parse(arguments);

    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(arguments))
        return refuse(parser, parser.errorText());
    if (parser.isSet(helpOption))
        return {std::nullopt,
                ExitStatus::ok,
                parser.helpText() + SheetCommand::summary() + exitStatusHelp,
                {}};
    if (parser.isSet(QStringLiteral("version")))
        return {std::nullopt,
                ExitStatus::ok,
                QStringLiteral("%1 %2\n").arg(QLatin1String(AppInfo::programName),
                                              QLatin1String(AppInfo::version)),
                {}};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(parser, QStringLiteral("Only one FILE can be opened."));
    return {CommandLineOptions{parser.value(portOption), files.value(0), parser.value(traceOption)},
            ExitStatus::ok,
            {},
            {}};
}
