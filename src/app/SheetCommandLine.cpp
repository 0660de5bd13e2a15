#include "app/SheetCommandLine.h"

#include "app/CommandLine.h"
#include "platform/AppInfo.h"
#include "sheet/SheetCommand.h"

#include <QCommandLineParser>

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
    parser.addOption({QStringLiteral("site"),
                      QStringLiteral("The site's name, for a cover page (one comes with more "
                                     "than one FILE too)."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("by"),
                      QStringLiteral("Who configured the site, for the cover page."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("paper"),
                      QStringLiteral("A4 or Letter (default: as LC_PAPER has it)."),
                      QStringLiteral("SIZE")});
    parser.addPositionalArgument(SheetCommand::name, QStringLiteral("The command."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Configuration files (.zqc), one page each."),
                                 QStringLiteral("FILE..."));
}

} // namespace

bool SheetCommandLine::isNamedIn(const QStringList& arguments) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.parse(arguments); // an option of the command's own is no error here
    return parser.positionalArguments().value(0) == SheetCommand::name;
}

CommandLineResult SheetCommandLine::parse(const QStringList& arguments) {
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
    const QString paper = parser.value(QStringLiteral("paper"));
    if (!paper.isEmpty() && paper != QLatin1String("A4") && paper != QLatin1String("Letter"))
        return refuse(parser, QStringLiteral("--paper takes A4 or Letter."));
    CommandLineResult result;
    result.sheet =
        SheetOptions{files, parser.value(outputOption), parser.value(QStringLiteral("site")),
                     parser.value(QStringLiteral("by")), paper};
    return result;
}

QString SheetCommandLine::summary() {
    return QStringLiteral(
        "  sheet FILE... -o PDF   Writes the configuration sheet of each FILE into one\n"
        "                         PDF, a page each, without a window; see\n"
        "                         'panelconfig sheet --help'.\n");
}
