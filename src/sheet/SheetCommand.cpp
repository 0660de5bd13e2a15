#include "sheet/SheetCommand.h"

#include "files/ConfigFileReader.h"
#include "files/OutputGuard.h"
#include "platform/AppInfo.h"
#include "platform/Console.h"
#include "platform/Dialogs.h"
#include "sheet/SheetDocument.h"

#include <QGuiApplication>

namespace {
// A message the window would show on opening a file, printed with the file's name.
class FileMessages : public Dialogs {
public:
    FileMessages(QString* errors) : m_errors(errors) {}
    QString path;

    void message(const QString& text, const QString& title) override {
        QString line = text.simplified();
        if (title != applicationTitle)
            line = title + QStringLiteral(": ") + line;
        *m_errors +=
            QStringLiteral("%1: %2: %3\n").arg(QLatin1String(AppInfo::programName), path, line);
    }
    SaveAnswer askToSave(const QString&, const QString&) override { return SaveAnswer::Discard; }
    std::optional<QString> chooseOpenPath(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseSavePath(const QString&, const QString&, const QString&) override {
        return {};
    }

private:
    QString* m_errors;
};
} // namespace

int SheetCommand::run(const SheetOptions& options, QString* errors) {
    const QString program = QLatin1String(AppInfo::programName);
    const QString output = OutputGuard::pdfPath(options.output);
    // Refused before anything is read, so a wrong -o costs nothing.
    if (const auto refused = OutputGuard::pdfRefusal(output, options.files)) {
        *errors += QStringLiteral("%1: %2 not written: %3\n").arg(program, output, *refused);
        return failed;
    }
    int status = 0;
    QList<Sheet> sheets;
    Site site{options.site, options.by, QDate::currentDate(), {}};
    FileMessages messages(errors);
    for (const QString& path : options.files) {
        const ConfigFileRead read = readConfigFile(path);
        if (read.line) {
            messages.path = path;
            sheets.append(sheetFromFile(*read.line, path, messages));
            for (const QString& note : sheets.last().notes)
                *errors += QStringLiteral("%1: %2: %3\n").arg(program, path, note);
            continue;
        }
        *errors += QStringLiteral("%1: %2: skipped: %3\n").arg(program, path, read.reason);
        site.skipped << qMakePair(path, read.reason);
        status = failed;
    }
    if (sheets.isEmpty()) {
        *errors += QStringLiteral("%1: no sheet to write; %2 not written\n").arg(program, output);
        return failed;
    }
    const QPageSize paper =
        options.paper.isEmpty()
            ? SheetDocument::paperOfEnvironment()
            : QPageSize(options.paper == QLatin1String("Letter") ? QPageSize::Letter
                                                                 : QPageSize::A4);
    const bool isSite = options.files.size() > 1 || !options.site.isEmpty();
    if (QString why; !SheetDocument::writePdf(output, sheets, &why, paper, options.files,
                                              isSite ? &site : nullptr)) {
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
    Console::write(stderr, errors);
    return status;
}
