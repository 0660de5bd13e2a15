#include "app/ScheduleCommandLine.h"

#include "app/CommandLine.h"
#include "platform/AppInfo.h"
#include "schedule/Schedule.h"
#include "schedule/ScheduleCommand.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {
const QString folderOption = QStringLiteral("directory");
const QString outputOption = QStringLiteral("output");
const QString replaceOption = QStringLiteral("replace");

QString columnsHelp() {
    return QStringLiteral(
        "\nThe schedule (CSV, as LibreOffice Calc or Excel saves it: comma or semicolon,\n"
        "UTF-8 with or without byte-order mark, else Windows-1252) has a row of headings,\n"
        "in any order and letter case, then one row per item of each panel:\n"
        "  PANEL NAME    1 to 12 characters; the rows of a panel share it\n"
        "  ITEM          SW1 ... SW10, LED1 ... LED10, BACKLIGHTING, DIMMING; each once\n"
        "  MODULE        A ... P, or N/A\n"
        "  CHANNEL       1 ... 10; empty for N/A\n"
        "  DESIGNATION   switches and LEDs only; no double quote\n"
        "  NORMAL BACKLIGHTING (%), NORMAL INDICATOR (%),\n"
        "  DIMMED BACKLIGHTING AND INDICATOR (%)\n"
        "                100, 90 ... 30, on at least one row of the panel, the same on\n"
        "                every row that gives it; the indicator at least the backlighting\n"
        "  FILE          optional: the file to write, instead of PANEL NAME.zqc\n"
        "Other columns are ignored.\n");
}

const QString importHelp = QStringLiteral(
    "Writes one configuration file (.zqc) per panel of SCHEDULE into FOLDER, each as\n"
    "the window's save command writes it. Every value is taken as the window's lists\n"
    "and boxes take it; a panel with any refused value is not written, and each\n"
    "refusal is named with its row and column.");
const QString exportHelp = QStringLiteral(
    "Writes the panels of the configuration files into one schedule (CSV), a row per\n"
    "item, in the columns that import reads, so that importing it writes the files\n"
    "again as they are.");

const QString importStatus =
    QStringLiteral("\nExit status:\n"
                   "  0  every panel of SCHEDULE was written\n"
                   "  1  a panel was refused, its file exists (see --replace) or could not\n"
                   "     be saved; the other panels were written\n"
                   "  2  wrong option or argument\n"
                   "  3  SCHEDULE could not be read (missing, not a schedule, a column\n"
                   "     heading missing, a fault in its quoting); nothing was written\n");
const QString exportStatus =
    QStringLiteral("\nExit status:\n"
                   "  0  the schedule holds every FILE as it is\n"
                   "  1  a FILE was skipped, or the schedule could not be written (only a\n"
                   "     new file, an empty one or an earlier schedule is replaced)\n"
                   "  2  wrong option or argument\n"
                   "  11 written, but a value is exported otherwise than its FILE holds it,\n"
                   "     or an import would refuse it or write it otherwise (told on\n"
                   "     standard error)\n");

QString commandIn(const QStringList& arguments) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.parse(arguments); // an option of the command's own is no error here
    return parser.positionalArguments().value(0);
}
} // namespace

bool ScheduleCommandLine::isNamedIn(const QStringList& arguments) {
    const QString command = commandIn(arguments);
    return command == ScheduleCommand::importName || command == ScheduleCommand::exportName;
}

CommandLineResult ScheduleCommandLine::parse(const QStringList& arguments) {
    const bool isImport = commandIn(arguments) == ScheduleCommand::importName;
    QCommandLineParser parser;
    parser.setApplicationDescription(isImport ? importHelp : exportHelp);
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help.")});
    if (isImport) {
        parser.addOption({{QStringLiteral("d"), folderOption},
                          QStringLiteral("The folder to write the files into; made if missing."),
                          QStringLiteral("FOLDER")});
        parser.addOption(
            {replaceOption, QStringLiteral("Replace files that exist, each once its new content "
                                           "is complete.")});
        parser.addPositionalArgument(ScheduleCommand::importName, QStringLiteral("The command."));
        parser.addPositionalArgument(QStringLiteral("SCHEDULE"),
                                     QStringLiteral("The schedule (.csv)."));
    } else {
        parser.addOption({{QStringLiteral("o"), outputOption},
                          QStringLiteral("The schedule to write; replaced only once complete."),
                          QStringLiteral("SCHEDULE")});
        parser.addPositionalArgument(ScheduleCommand::exportName, QStringLiteral("The command."));
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("Configuration files (.zqc)."),
                                     QStringLiteral("FILE..."));
    }
    if (!parser.parse(arguments))
        return refuse(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        CommandLineResult result;
        result.output =
            parser.helpText() + columnsHelp() + (isImport ? importStatus : exportStatus);
        return result;
    }
    ScheduleOptions options;
    options.command = isImport ? ScheduleCommand::importName : ScheduleCommand::exportName;
    options.files = parser.positionalArguments().mid(1);
    if (parser.values(isImport ? folderOption : outputOption).size() > 1)
        return refuse(
            parser,
            QStringLiteral("-%1 is given more than once.").arg(QLatin1Char(isImport ? 'd' : 'o')));
    if (isImport) {
        if (options.files.size() != 1)
            return refuse(parser, QStringLiteral("import takes one SCHEDULE."));
        options.output = parser.value(folderOption);
        if (options.output.isEmpty())
            return refuse(parser, QStringLiteral("import needs -d FOLDER."));
        options.replace = parser.isSet(replaceOption);
    } else {
        if (options.files.isEmpty())
            return refuse(parser, QStringLiteral("export needs at least one FILE."));
        options.output = parser.value(outputOption);
        if (options.output.isEmpty())
            return refuse(parser, QStringLiteral("export needs -o SCHEDULE."));
        // The schedule must not take the place of a configuration file.
        const QFileInfo output(options.output);
        if (output.suffix().compare(QLatin1String("zqc"), Qt::CaseInsensitive) == 0)
            return refuse(parser, QStringLiteral("-o names a configuration file (.zqc)."));
        for (const QString& file : options.files)
            if (output.exists() && QFileInfo(file) == output)
                return refuse(parser, QStringLiteral("-o names one of the FILEs."));
    }
    CommandLineResult result;
    result.schedule = options;
    return result;
}

QString ScheduleCommandLine::summary() {
    return QStringLiteral(
        "  import SCHEDULE -d FOLDER [--replace]\n"
        "                         Writes a .zqc per panel of a site's schedule (CSV).\n"
        "  export FILE... -o SCHEDULE\n"
        "                         Writes the FILEs' panels as a schedule (CSV); see\n"
        "                         'panelconfig import --help' for its columns.\n");
}
