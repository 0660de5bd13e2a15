#include "sheet/SheetCommand.h"

#include "app/AppInfo.h"
#include "files/ConfigFileReader.h"
#include "files/OutputGuard.h"
#include "sheet/SheetDocument.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

namespace {
const QString outputOption = QStringLiteral("output");

const QString description =
    QStringLiteral("Writes the configuration sheet of each FILE (.zqc) into one PDF, one page\n"
                   "per file in the order given: the panel name, the panel drawn as the window\n"
                   "shows it, and every switch, LED, the backlighting and the dimming input with\n"
                   "its designation, module and channel, and the three intensities.\n"
                   "A FILE that does not open is named on standard error and skipped.");

const QString exitStatusHelp =
    QStringLiteral("\nExit status:\n"
                   "  0  the PDF holds a page for every FILE\n"
                   "  1  a FILE was skipped, or the PDF could not be written; PDF exists\n"
                   "     and is not a PDF, or it is one of the FILEs (nothing written)\n"
                   "  2  wrong option or argument\n");

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(description);
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help.")});
    parser.addOption({{QStringLiteral("o"), outputOption},
                      QStringLiteral("The PDF to write (.pdf is added to a name without it); "
                                     "replaced only once it is complete, and only when it is "
                                     "a PDF."),
                      QStringLiteral("PDF")});
    parser.addPositionalArgument(SheetCommand::name, QStringLiteral("The command."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Configuration files (.zqc), one page each."),
                                 QStringLiteral("FILE..."));
}

CommandLineResult refuse(const QCommandLineParser& parser, const QString& reason) {
    CommandLineResult result;
    result.exitStatus = ExitStatus::usage;
    result.errors = QStringLiteral("%1: %2\n").arg(QLatin1String(AppInfo::programName), reason) +
                    parser.helpText().section(QLatin1Char('\n'), 0, 0) + QLatin1Char('\n');
    return result;
}
} // namespace

bool SheetCommand::isNamedIn(const QStringList& arguments) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.parse(arguments); // an option of the command's own is no error here
    return parser.positionalArguments().value(0) == name;
}

CommandLineResult SheetCommand::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments))
        return refuse(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        CommandLineResult result;
        result.output = parser.helpText() + exitStatusHelp;
        return result;
    }
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.isEmpty())
        return refuse(parser, QStringLiteral("The sheet command needs at least one FILE."));
    if (parser.value(outputOption).isEmpty())
        return refuse(parser, QStringLiteral("The sheet command needs -o PDF."));
    CommandLineResult result;
    result.sheet = SheetOptions{files, parser.value(outputOption)};
    return result;
}

QString SheetCommand::summary() {
    return QStringLiteral(
        "  sheet FILE... -o PDF   Writes the configuration sheet of each FILE into one\n"
        "                         PDF, a page each, without a window; see\n"
        "                         'panelconfig sheet --help'.\n");
}

int SheetCommand::run(const SheetOptions& options, QString* errors) {
    const QString program = QLatin1String(AppInfo::programName);
    const QString output = OutputGuard::pdfPath(options.output);
    // Refused before anything is read, so a wrong -o costs nothing.
    if (const auto refused = OutputGuard::pdfRefusal(output, options.files)) {
        *errors += QStringLiteral("%1: %2 not written: %3\n").arg(program, output, *refused);
        return failed;
    }
    int status = ExitStatus::ok;
    QList<Sheet> sheets;
    for (const QString& path : options.files) {
        const ConfigFileRead read = readConfigFile(path);
        if (read.line) {
            sheets.append(sheetFromFile(*read.line, path));
            continue;
        }
        *errors += QStringLiteral("%1: %2: skipped: %3\n").arg(program, path, read.reason);
        status = failed;
    }
    if (sheets.isEmpty()) {
        *errors +=
            QStringLiteral("%1: no sheet to write; %2 not written\n").arg(program, output);
        return failed;
    }
    if (QString why;
        !SheetDocument::writePdf(output, sheets, &why, SheetDocument::paperFor(), options.files)) {
        *errors += QStringLiteral("%1: cannot write %2: %3\n").arg(program, output, why);
        return failed;
    }
    if (output != options.output) // the shell may have put a configuration file after -o
        *errors += QStringLiteral("%1: the sheet was written to %2\n").arg(program, output);
    return status;
}

int SheetCommand::runWithoutDisplay(int& argc, char* argv[], const SheetOptions& options) {
    // Nothing is shown, so the sheet is drawn the same with or without a
    // desktop session.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QString errors;
    const int status = run(options, &errors);
    std::fputs(errors.toLocal8Bit().constData(), stderr);
    return status;
}
