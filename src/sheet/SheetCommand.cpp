#include "sheet/SheetCommand.h"

#include "files/ConfigFileReader.h"
#include "platform/AppInfo.h"
#include "sheet/SheetDocument.h"

#include <QGuiApplication>

#include <cstdio>

int SheetCommand::run(const SheetOptions& options, QString* errors) {
    const QString program = QLatin1String(AppInfo::programName);
    int status = 0;
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
            QStringLiteral("%1: no sheet to write; %2 not written\n").arg(program, options.output);
        return failed;
    }
    if (QString why; !SheetDocument::writePdf(options.output, sheets, &why)) {
        *errors += QStringLiteral("%1: cannot write %2: %3\n").arg(program, options.output, why);
        return failed;
    }
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
