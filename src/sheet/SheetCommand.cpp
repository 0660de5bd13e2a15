#include "sheet/SheetCommand.h"

#include "files/ConfigFileReader.h"
#include "files/OutputGuard.h"
#include "platform/AnsweringDialogs.h"
#include "platform/AppInfo.h"
#include "platform/Console.h"
#include "sheet/SheetDocument.h"
#include "site/SiteModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <optional>

namespace {
// The files of one folder with a site log beside them are a site: the cover
// says what the log says of each panel.
void takeCommissioning(const QStringList& files, Site& site) {
    QString folder;
    for (const QString& path : files) {
        const QString of = QFileInfo(path).absolutePath();
        if (!folder.isEmpty() && of != folder)
            return;
        folder = of;
    }
    if (!QFileInfo::exists(QDir(folder).filePath(SiteLog::fileName)))
        return;
    SiteModel model;
    if (!model.open(folder))
        return;
    site.hasLog = true;
    for (const SitePanel& panel : model.panels())
        site.states.insert(panel.file, panel.commissioningText());
}
} // namespace

int SheetCommand::run(const SheetOptions& options, QString* errors, const QString& speaker,
                      QString* written) {
    if (written)
        written->clear();
    const QString lead = speaker.isEmpty() ? QString() : speaker + QStringLiteral(": ");
    const QString output = OutputGuard::pdfPath(options.output);
    // Refused before anything is read, so a wrong -o costs nothing.
    if (const auto refused = OutputGuard::pdfRefusal(output, options.files)) {
        *errors += QStringLiteral("%1%2 not written: %3\n").arg(lead, output, *refused);
        return failed;
    }
    int status = 0;
    QList<Sheet> sheets;
    Site site{options.site, options.by, QDate::currentDate(), {}, false, {}};
    QString shownFor; // the file whose opening shows a message
    AnsweringDialogs messages([&](const QString& line) {
        *errors += QStringLiteral("%1%2: %3\n").arg(lead, shownFor, line);
    });
    for (const QString& path : options.files) {
        const ConfigFileRead read = readConfigFile(path);
        if (read.line) {
            shownFor = path;
            sheets.append(sheetFromFile(*read.line, path, messages));
            for (const QString& note : sheets.last().notes)
                *errors += QStringLiteral("%1%2: %3\n").arg(lead, path, note);
            continue;
        }
        *errors += QStringLiteral("%1%2: skipped: %3\n").arg(lead, path, read.reason);
        site.skipped << qMakePair(path, read.reason);
        status = failed;
    }
    if (sheets.isEmpty()) {
        *errors += QStringLiteral("%1no sheet to write; %2 not written\n").arg(lead, output);
        return failed;
    }
    const QPageSize paper =
        options.paper.isEmpty()
            ? SheetDocument::paperOfEnvironment()
            : QPageSize(options.paper == QLatin1String("Letter") ? QPageSize::Letter
                                                                 : QPageSize::A4);
    const bool isSite = options.files.size() > 1 || !options.site.isEmpty();
    if (isSite)
        takeCommissioning(options.files, site);
    if (QString why; !SheetDocument::writePdf(output, sheets, &why, paper, options.files,
                                              isSite ? &site : nullptr)) {
        *errors += QStringLiteral("%1cannot write %2: %3\n").arg(lead, output, why);
        return failed;
    }
    if (written)
        *written = output;
    else if (output != options.output) // the shell may have put a configuration file after -o
        *errors += QStringLiteral("%1the sheet was written to %2\n").arg(lead, output);
    return status;
}

int SheetCommand::runWithoutDisplay(int& argc, char* argv[], const SheetOptions& options) {
    // Nothing is shown, so the sheet is drawn the same with or without a
    // desktop session.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt asks for the user's runtime folder, which su and cron do not set,
    // and complains on stderr without one; a private one serves this run.
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace(QDir::tempPath() + QStringLiteral("/panelconfig-runtime-XXXXXX"));
        if (runtime->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
#endif
    const QGuiApplication app(argc, argv);
    QString errors;
    const int status = run(options, &errors);
    Console::write(stderr, errors);
    return status;
}
