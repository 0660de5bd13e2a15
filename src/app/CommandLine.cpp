#include "app/CommandLine.h"

#include "app/ScheduleCommandLine.h"
#include "app/SheetCommandLine.h"
#include "cli/SiteStatus.h"
#include "model/Cp1252.h"
#include "model/TextRules.h"
#include "platform/AppInfo.h"
#include "sheet/SheetCommand.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {
const QString helpOption = QStringLiteral("help");
const QString portOption = QStringLiteral("port");
const QString traceOption = QStringLiteral("trace");
const QString logOption = QStringLiteral("log");
const QString nameOption = QStringLiteral("name");
const QString repeatOption = QStringLiteral("repeat");
const QString siteOption = QStringLiteral("site");
const QStringList panelCommands = {QStringLiteral("write"), QStringLiteral("read"),
                                   QStringLiteral("verify"), QStringLiteral("identify"),
                                   QStringLiteral("find")};
const QString findCommand = QStringLiteral("find");
const QString identifyCommand = QStringLiteral("identify");

const QString description =
    QStringLiteral("Configures the TARNEK KVQ ten-button dimmable wall switch panel, models\n"
                   "00-00561 and 00-00567: reads and writes a panel over a serial port and\n"
                   "opens and saves .zqc configuration files. Without a COMMAND it opens\n"
                   "its window, with FILE opened when one is named.");

// The commands run without a window, for the bench and the site.
const QString commandsHelp =
    QStringLiteral("\nCommands:\n"
                   "  write FILE [--repeat]  Writes FILE into the panel, each byte verified;\n"
                   "                         --repeat: panel after panel until Ctrl+C.\n"
                   "  read FILE [--name NAME]\n"
                   "                         Reads the panel and saves it as FILE.\n"
                   "  verify FILE            Compares the panel with FILE; writes nothing.\n"
                   "  status FOLDER          Prints each configuration file of FOLDER with its\n"
                   "                         panel name and state (file, name, state, time,\n"
                   "                         port, model last seen; tab-separated) from\n"
                   "                         FOLDER/site.log, and the summary line.\n"
                   "  identify FILE|FOLDER...\n"
                   "                         Reads the panel and names every FILE (or .zqc file\n"
                   "                         in FOLDER) it holds exactly, as a write of it\n"
                   "                         would send it; when none, the nearest files and\n"
                   "                         the items that differ. Writes nothing.\n"
                   "  find [DEVICE...]       Probes the serial ports (or DEVICEs) side by side\n"
                   "                         with the handshake and the identity read only, and\n"
                   "                         prints DEVICE, model and adapter, tab-separated, for\n"
                   "                         each one a panel answers on. A port another program\n"
                   "                         holds is skipped and named, never opened.\n"
                   "  --port auto            write, read, verify, identify and the window use the\n"
                   "                         one port a panel answers on.\n");

const QString exitStatusHelp =
    QStringLiteral("\nExit status:\n"
                   "  0    the window was closed, or help or version shown; a command\n"
                   "       succeeded (verify: the panel agrees with FILE; identify: a FILE\n"
                   "       matches; find: a panel answered)\n"
                   "  1    verify: the panel differs from FILE; identify: no FILE matches;\n"
                   "       write --repeat: a panel failed;\n"
                   "       sheet: a FILE was skipped, or the PDF could not be written;\n"
                   "       import, export: see 'panelconfig import --help'\n"
                   "  2    wrong option or argument: an unknown command, an empty --port, a\n"
                   "       --port auto that finds panels on several ports (they are named), a\n"
                   "       name that is not UTF-8; a --log or --trace that cannot be opened,\n"
                   "       or that is a pipe, a device, a configuration file or a PDF\n"
                   "  3    FILE was refused (not a configuration file of these panels),\n"
                   "       or what was read could not be saved; status: FOLDER could not\n"
                   "       be read; identify: no FILE could be used\n"
                   "  4    FILE leaves a switch, LED, the backlighting or dimming unassigned\n"
                   "  5    no panel answered (find, --port auto: on any port)\n"
                   "  6    the panel is not a 00-00561 or 00-00567\n"
                   "  7    a byte failed to read or to verify\n"
                   "  8    the serial port could not be opened, or failed\n"
                   "  9    a line of the --log or --trace file could not be written (a full\n"
                   "       disk); said on standard error at once, the panel in hand finished,\n"
                   "       write --repeat stops before the next panel\n"
                   "  10   no COMMAND and no display to show the window on\n"
                   "  11   done, but a value was taken otherwise than FILE or the panel gives\n"
                   "       it (a code no list shows, or the intensity rule): the last lines\n"
                   "       say which and why\n"
                   "  130  interrupted (Ctrl+C) during a write, read or verify\n");

// A word in the place of a command, not a file to open: one followed by a
// FILE that does not name a configuration file, or a command in the wrong
// case that names no file either.
bool looksLikeACommand(const QStringList& positional) {
    const QString& first = positional.first();
    if (QFileInfo::exists(first) || first.endsWith(QLatin1String(".zqc"), Qt::CaseInsensitive))
        return false;
    if (positional.size() > 1)
        return true;
    return panelCommands.contains(first, Qt::CaseInsensitive) ||
           first.compare(SheetCommand::name, Qt::CaseInsensitive) == 0;
}

} // namespace

CommandLineResult refuse(const QCommandLineParser& parser, const QString& reason) {
    CommandLineResult result;
    result.exitStatus = ExitStatus::usage;
    result.errors = QStringLiteral("%1: %2\n").arg(QLatin1String(AppInfo::programName), reason) +
                    parser.helpText().section(QLatin1Char('\n'), 0, 0) + QLatin1Char('\n');
    return result;
}

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(description);
    // Qt's own help option would also offer --help-all, for the window
    // system's options, which this program does not take.
    parser.addOption({{QStringLiteral("h"), helpOption}, QStringLiteral("Displays this help.")});
    parser.addVersionOption();
    parser.addOption(
        {portOption,
         QStringLiteral("Serial DEVICE to the panel for this run, instead of the one "
                        "chosen last in the window (at first, the first serial port); auto: "
                        "the one port a panel answers on."),
         QStringLiteral("DEVICE")});
    parser.addOption({traceOption,
                      QStringLiteral("Append every byte sent to and received from the panel, "
                                     "time-stamped, to FILE, for support."),
                      QStringLiteral("FILE")});
    parser.addOption({logOption,
                      QStringLiteral("Commands: append a line per panel and command (time, port, "
                                     "command, file, outcome, differences, model) to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({nameOption,
                      QStringLiteral("read: the panel name to save, at most %1 characters "
                                     "(default: FILE's name in capitals).")
                          .arg(TextRules::panelNameLength),
                      QStringLiteral("NAME")});
    parser.addOption(
        {repeatOption, QStringLiteral("write: program panel after panel, each once it is "
                                      "plugged in, until Ctrl+C.")});
    parser.addOption({siteOption,
                      QStringLiteral("Opens the site window on FOLDER, a folder of configuration "
                                     "files with its site.log, and the first panel not yet "
                                     "programmed in the main window."),
                      QStringLiteral("FOLDER")});
    parser.addPositionalArgument(
        QStringLiteral("COMMAND"),
        QStringLiteral("write, read, verify, identify, find, status, sheet, import or export "
                       "(see Commands)."),
        QStringLiteral("[COMMAND]"));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("Configuration file (.zqc) to open at start, or the COMMAND's file."),
        QStringLiteral("[FILE]"));
}

std::optional<QString> undecodableArgument(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#else
    // The system hands over bytes; a name that is not UTF-8 would reach the
    // file system altered, and a file of that name could not be found.
    for (int i = 1; i < argc; ++i) {
        const QByteArray given(argv[i]);
        const QString decoded = QString::fromLocal8Bit(given);
        if (decoded.toLocal8Bit() != given)
            return QStringLiteral("%1: the name %2 cannot be used: it is not UTF-8 text; rename "
                                  "the file (convmv does it) and give the new name.\n")
                .arg(QLatin1String(AppInfo::programName), decoded);
    }
#endif
    return std::nullopt;
}

CommandLineResult parseCommandLine(const QStringList& arguments) {
    if (SheetCommandLine::isNamedIn(arguments))
        return SheetCommandLine::parse(arguments);
    if (ScheduleCommandLine::isNamedIn(arguments))
        return ScheduleCommandLine::parse(arguments);

    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(arguments))
        return refuse(parser, parser.errorText());
    if (parser.isSet(helpOption))
        return {std::nullopt,
                ExitStatus::ok,
                parser.helpText() + commandsHelp + SheetCommandLine::summary() +
                    ScheduleCommandLine::summary() + exitStatusHelp,
                {}};
    if (parser.isSet(QStringLiteral("version")))
        return {std::nullopt,
                ExitStatus::ok,
                QStringLiteral("%1 %2\n").arg(QLatin1String(AppInfo::programName),
                                              QLatin1String(AppInfo::version)),
                {}};
    if (parser.isSet(portOption) && parser.value(portOption).trimmed().isEmpty())
        return refuse(parser, QStringLiteral("--port needs a DEVICE; an empty name is no serial "
                                             "port."));
    QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && files.first() == SiteStatus::name) {
        if (files.size() != 2)
            return refuse(parser, QStringLiteral("status needs one FOLDER."));
        for (const QString& option :
             {portOption, traceOption, logOption, nameOption, repeatOption, siteOption})
            if (parser.isSet(option))
                return refuse(parser, QStringLiteral("status takes only a FOLDER."));
        CommandLineResult result;
        result.status = files[1];
        return result;
    }
    QString command;
    if (!files.isEmpty() && panelCommands.contains(files.first()))
        command = files.takeFirst();
    else if (!files.isEmpty() && looksLikeACommand(files))
        return refuse(parser, QStringLiteral("%1 is not a command; the commands are %2 and %3.")
                                  .arg(files.first(), panelCommands.join(QStringLiteral(", ")),
                                       SheetCommand::name));
    const bool manyNames = command == findCommand || command == identifyCommand;
    if (files.size() > 1 && !manyNames)
        return refuse(parser, QStringLiteral("Only one FILE can be opened."));
    if (!command.isEmpty() && command != findCommand && files.isEmpty())
        return refuse(parser, QStringLiteral("%1 needs a FILE.").arg(command));
    if (command == findCommand &&
        (parser.isSet(portOption) || parser.isSet(traceOption) || parser.isSet(logOption)))
        return refuse(parser, QStringLiteral("find takes the DEVICEs to probe, and neither --port, "
                                             "--trace nor --log."));
    const auto onlyWith = [&](const QString& option, const QStringList& commands) {
        return !parser.isSet(option) || commands.contains(command);
    };
    if (!onlyWith(nameOption, {"read"}))
        return refuse(parser, QStringLiteral("--name goes with read."));
    if (!onlyWith(repeatOption, {"write"}))
        return refuse(parser, QStringLiteral("--repeat goes with write."));
    if (!onlyWith(logOption, panelCommands))
        return refuse(parser, QStringLiteral("--log goes with a command."));
    if (parser.isSet(siteOption) && (!command.isEmpty() || !files.isEmpty()))
        return refuse(parser, QStringLiteral("--site opens the window on a FOLDER; it takes no "
                                             "COMMAND and no FILE."));
    if (parser.isSet(siteOption) && parser.value(siteOption).isEmpty())
        return refuse(parser, QStringLiteral("--site needs a FOLDER."));
    QString name;
    if (command == QLatin1String("read")) {
        // Checked before the panel is read: the save would refuse it after.
        name = parser.isSet(nameOption) ? parser.value(nameOption)
                                        : QFileInfo(files.first())
                                              .completeBaseName()
                                              .toUpper()
                                              .left(TextRules::panelNameLength);
        if (name.isEmpty() || name.size() > TextRules::panelNameLength ||
            !Cp1252::isStorableText(name))
            return refuse(parser,
                          parser.isSet(nameOption)
                              ? QStringLiteral("--name takes 1 to %1 characters that a "
                                               "configuration file can hold (no double quote).")
                                    .arg(TextRules::panelNameLength)
                              : QStringLiteral("%1 does not make a panel name; give one with "
                                               "--name.")
                                    .arg(files.first()));
    }
    CommandLineOptions options;
    options.command = command;
    options.port = parser.value(portOption);
    options.file = manyNames ? QString() : files.value(0);
    if (manyNames)
        options.files = files;
    options.trace = parser.value(traceOption);
    options.log = parser.value(logOption);
    options.name = name;
    options.repeat = parser.isSet(repeatOption);
    options.site = parser.value(siteOption);
    return {options, ExitStatus::ok, {}, {}};
}
