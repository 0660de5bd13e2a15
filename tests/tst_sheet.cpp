#include "Harness.h"
#include "ProgramRun.h"
#include "app/CommandLine.h"
#include "files/ConfigFileReader.h"
#include "platform/AnsweringDialogs.h"
#include "platform/Settings.h"
#include "sheet/PdfOutline.h"
#include "sheet/SheetCommand.h"
#include "sheet/SheetDocument.h"
#include "site/Handover.h"
#include "ui/WindowSheet.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void coverTellsEachPanelsCommissioning_data();
    void coverTellsEachPanelsCommissioning();
    void sheetShowsWhatTheWindowShows();
    void sheetHoldsEveryItemAsText_data();
    void sheetHoldsEveryItemAsText();
    void siteSkipsFilesThatDoNotOpen();
    void outlineRefusesWhatItCannotUpdate();
    void outlineRefusesAnAlteredPdf_data();
    void outlineRefusesAnAlteredPdf();
    void coverKeepsEveryTextWhole();
    void failedWriteLeavesTheEarlierPdf();
    void commandRunsWithoutDisplay();
    void commandLineNamesTheCommandFirst();
    void windowCommandLeavesTheConfigurationAlone();
    void incompleteWindowPrintsBlanks();
    void pdfNameIsOneEverySystemAccepts();
    void paperFollowsTheLocale();
    void sheetNeverReplacesAnotherKindOfFile_data();
    void sheetNeverReplacesAnotherKindOfFile();
    void windowSheetKeepsAConfigurationFileTyped();
    void everyItemOnAnyPaper_data();
    void everyItemOnAnyPaper();
    void paperFromOptionOrEnvironment();
    void windowMakesTheSiteDocumentOfAFolder();
    void windowSiteDocumentStopsOrSays_data();
    void windowSiteDocumentStopsOrSays();
    void coverMarksPanelsSharingAName();
};

namespace {
// The demo configuration with texts beyond ASCII, as a technician may type them.
ConfigFileLine siteLine(const QString& panel) {
    ConfigFileLine line = *readConfigFile(PANELSIM_DEMO).line;
    line.panel = panel;
    line.desig[0] = QStringLiteral("ENTRÉE €");
    line.desig[15] = QStringLiteral("CAFÉ, BAR");
    return line;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// The text of each page, laid out as printed, one table row a line.
QStringList pdfPages(const QString& pdf) {
    QProcess extract;
    extract.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    if (!extract.waitForFinished(60000) || extract.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(extract.readAllStandardOutput()).split('\f');
    pages.removeLast(); // after the last page's form feed
    return pages;
}

// Each bookmark as a viewer lists it: "page: title". Empty when the reader
// complained about the file's structure.
QStringList pdfBookmarks(const QString& pdf) {
    QProcess extract;
    extract.start("pdftohtml", {"-xml", "-stdout", "-i", pdf});
    if (!extract.waitForFinished(60000) || extract.exitCode() != 0 ||
        extract.readAllStandardError().contains("Error"))
        return {};
    const QString xml = QString::fromUtf8(extract.readAllStandardOutput());
    QStringList marks;
    auto items = QRegularExpression("<item page=\"(\\d+)\">([^<]*)</item>").globalMatch(xml);
    while (items.hasNext()) {
        const auto item = items.next();
        marks << item.captured(1) + ": " + item.captured(2);
    }
    return marks;
}

// One line of the table: item, designation, module, channel, nothing else.
bool hasRow(const QString& page, const QString& item, const QString& designation,
            const QString& module, const QString& channel) {
    QStringList cells{item, designation, module, channel};
    cells.removeAll(QString());
    for (QString& c : cells)
        c = QRegularExpression::escape(c);
    const QRegularExpression row("^\\s*" + cells.join("\\s+") + "\\s*$",
                                 QRegularExpression::MultilineOption);
    return row.match(page).hasMatch();
}

// What a code means, worked out apart from the tool's tables.
std::pair<QString, QString> moduleChannel(qint16 code) {
    if (code >= 160)
        return {"N/A", "N/A"};
    return {QString(QChar('A' + code / 10)), QString::number(code % 10 + 1)};
}

QString itemName(int i) {
    return i < 10 ? QString("SW%1").arg(i + 1) : QString("LED%1").arg(i - 9);
}

using Run = ProgramRun;
} // namespace

void TestSheet::sheetHoldsEveryItemAsText_data() {
    QTest::addColumn<QPageSize>("paper");
    QTest::newRow("A4") << QPageSize(QPageSize::A4);
    QTest::newRow("Letter") << QPageSize(QPageSize::Letter);
}

void TestSheet::sheetHoldsEveryItemAsText() {
    QFETCH(QPageSize, paper);
    QTemporaryDir dir;
    const ConfigFileLine line = siteLine(QStringLiteral("HALL Nº 2"));
    const QString path = writeFile(dir, "hall.zqc", ConfigFile::format(line));
    const QString pdf = dir.filePath("hall.pdf");
    QString error;
    DialogRecorder dialogs;
    QVERIFY(SheetDocument::writePdf(pdf, {sheetFromFile(*readConfigFile(path).line, path, dialogs)},
                                    &error, paper));
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    const QString& page = pages[0];
    QVERIFY2(page.contains("HALL Nº 2") && page.contains(path) && page.contains("panelconfig"),
             qPrintable(page));
    for (int i = 0; i < 20; ++i) {
        const auto [module, channel] = moduleChannel(line.code[i]);
        QVERIFY2(hasRow(page, itemName(i), line.desig[i], module, channel),
                 qPrintable(itemName(i) + "\n" + page));
    }
    const auto [blModule, blChannel] = moduleChannel(line.value[0]);
    QVERIFY(hasRow(page, "BACKLIGHTING", {}, blModule, blChannel));
    const auto [dimModule, dimChannel] = moduleChannel(line.value[1]);
    QVERIFY(hasRow(page, "DIMMING", {}, dimModule, dimChannel));
    // The demo's codes 7, 5 and 2: indicator, backlighting, dimmed.
    for (const char* intensity :
         {"NORMAL INDICATOR \\(%\\)\\s+90 %", "NORMAL BACKLIGHTING \\(%\\)\\s+70 %",
          "DIMMED BACKLIGHTING AND INDICATOR \\(%\\)\\s+40 %"})
        QVERIFY2(page.contains(QRegularExpression(intensity)), intensity);
}

void TestSheet::siteSkipsFilesThatDoNotOpen() {
    QTemporaryDir dir;
    const QString north = writeFile(dir, "north.zqc", ConfigFile::format(siteLine("NORTH")));
    const QString foreign = writeFile(dir, "foreign.zqc", "\"00-00999-MDL\",\"X\"\r\n");
    const QString south = writeFile(dir, "south.zqc", ConfigFile::format(siteLine("SOUTH")));
    const QString missing = dir.filePath("missing.zqc");
    const QString pdf = dir.filePath("site.pdf");
    QString errors;
    QCOMPARE(SheetCommand::run({{south, missing, foreign, north}, pdf}, &errors),
             SheetCommand::failed);
    QCOMPARE(errors.count(" skipped: "), 2);
    QVERIFY2(errors.contains(missing + ": skipped: no such file\n"), qPrintable(errors));
    QVERIFY2(errors.contains(foreign + ": skipped: not a configuration file"), qPrintable(errors));
    // A cover listing the panels with their pages and the files skipped and
    // why, then a page each; every page numbered.
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 3);
    const QString& cover = pages[0];
    QVERIFY2(cover.contains("SITE HANDOVER") &&
                 cover.contains(QRegularExpression("SOUTH\\s.*south\\.zqc.*\\s2\\s")) &&
                 cover.contains(QRegularExpression("NORTH\\s.*north\\.zqc.*\\s3\\s")) &&
                 cover.contains(QRegularExpression("missing\\.zqc\\s+no such file")) &&
                 cover.contains(QRegularExpression("foreign\\.zqc\\s+not a configuration")) &&
                 cover.contains("ACCEPTED BY") && cover.contains("DATE OF ACCEPTANCE"),
             qPrintable(cover));
    QVERIFY(pages[1].contains("SOUTH") && !pages[1].contains("NORTH"));
    QVERIFY(pages[2].contains("NORTH"));
    for (int n = 0; n < 3; ++n)
        QVERIFY2(pages[n].contains(QString("%1 of 3").arg(n + 1)), qPrintable(pages[n]));
    QCOMPARE(pdfBookmarks(pdf), QStringList({"1: SITE HANDOVER", "2: SOUTH \u2013 south.zqc",
                                             "3: NORTH \u2013 north.zqc"}));

    errors.clear();
    QCOMPARE(SheetCommand::run({{north, south}, pdf}, &errors), ExitStatus::ok);
    QCOMPARE(errors, QString());
}

// Long names, reasons and paths wrap on the cover; a path keeps the file's
// own name whole on the panel's page.
void TestSheet::coverKeepsEveryTextWhole() {
    QTemporaryDir dir;
    const QString folder = "deep/deep/deep/deep/deep/deep/deep/deep/deep/deeper/";
    QDir(dir.path()).mkpath(folder);
    const QString name = "a long file name for the lobby.zqc";
    const QString lobby = writeFile(dir, folder + name, ConfigFile::format(siteLine("LOBBY")));
    const QString hand =
        writeFile(dir, "hand.zqc", ConfigFile::format(siteLine("A PANEL NAME WRITTEN BY HAND")));
    const QString missing = dir.filePath(QString(60, 'm') + ".zqc");
    QStringList words;
    for (int w = 0; w < 30; ++w)
        words << QString("SITENAME%1").arg(w, 2, 10, QChar('0'));
    SheetOptions options{{lobby, hand, missing}, dir.filePath("site.pdf")};
    options.site = words.join(' ');
    options.by = QString(150, 'B');
    QString errors;
    QCOMPARE(SheetCommand::run(options, &errors), SheetCommand::failed); // the missing file
    const QStringList pages = pdfPages(options.output);
    QCOMPARE(pages.size(), 3);
    const QString cover = pages[0];
    QString flat = cover;
    flat.remove(QRegularExpression("\\s"));
    for (const QString& w : words + QStringList{QString(150, 'B'), QString(60, 'm') + ".zqc"})
        QVERIFY2(flat.contains(w), qPrintable(w + "\n" + cover));
    QVERIFY(cover.contains(QRegularExpression("A PANEL NAME\\s.*\\sWRITTEN BY HAND\\s",
                                              QRegularExpression::DotMatchesEverythingOption)));
    QVERIFY2(cover.contains(QChar(0x2026) + QString("r/") + name), qPrintable(cover));
    QVERIFY2(pages[1].contains(QRegularExpression("FROM\\s+\\S.*\u2026.*/" + name + "\n")),
             qPrintable(pages[1]));
}

// Anything but a complete PDF as the writer leaves it stays as it is.
void TestSheet::outlineRefusesWhatItCannotUpdate() {
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        painter.drawText(100, 100, "ONE");
    }
    auto refused = [](QByteArray bytes, const QList<PdfOutline::Mark>& marks, const char* reason) {
        const QByteArray before = bytes;
        QString why;
        return !PdfOutline::append(bytes, marks, &why) && bytes == before &&
               why.contains(QLatin1String(reason));
    };
    QVERIFY(refused("%PDF-1.4 no more", {{"X", 0}}, "not complete"));
    QVERIFY(refused(pdf.left(pdf.size() / 2) + "startxref\n0\n%%EOF\n", {{"X", 0}},
                    "cross-reference table"));
    QVERIFY(refused(pdf, {{"X", 1}}, "page 2 of 1"));
    QByteArray updated = pdf;
    QVERIFY(PdfOutline::append(updated, {{"ONE", 0}}, nullptr));
    QVERIFY(updated.startsWith(pdf));
    // A file that does not end its last line gets the update on a line of
    // its own, and the offsets still count from the first byte.
    QByteArray unended = pdf.trimmed();
    QVERIFY(PdfOutline::append(unended, {{"ONE", 0}}, nullptr));
    const QList<QByteArray> tail = unended.mid(unended.lastIndexOf("startxref")).split('\n');
    const qsizetype xref = tail.value(1).trimmed().toLongLong();
    QCOMPARE(unended.mid(xref, 4), QByteArray("xref"));
    // The first entry after "xref" and "2 1": the catalog's.
    const QByteArray entry = unended.mid(unended.indexOf("\n", xref + 5) + 1, 10);
    QCOMPARE(unended.mid(entry.toLongLong()).left(4), QByteArray("2 0 "));
    QVERIFY(refused(updated, {{"X", 0}}, "updated before"));
}

void TestSheet::outlineRefusesAnAlteredPdf_data() {
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason");
    // Each alteration keeps every offset, so only what it breaks is broken.
    QTest::newRow("table entry not a number")
        << QByteArray("\n0000000015 00000 n") << QByteArray("\n00000000:5 00000 n")
        << "cross-reference table cannot be read";
    QTest::newRow("table entry cut short")
        << QByteArray("\n0000000015 00000 n \n") << QByteArray("\n0000000015 0000 n  \n")
        << "cross-reference table cannot be read";
    QTest::newRow("table heading not on a line of its own")
        << QByteArray("xref\n0 11") << QByteArray("xref\v0 11") << "cross-reference table";
    QTest::newRow("trailer commented out")
        << QByteArray("trailer\n<<") << QByteArray("trailer%<<") << "trailer cannot be read";
    QTest::newRow("size below an object's number")
        << QByteArray("/Size 11 ") << QByteArray("/Size 10 ") << "wrong /Size";
    QTest::newRow("a kid that is no page")
        << QByteArray("/Type /Page\n") << QByteArray("/Type /Font\n") << "page tree";
    QTest::newRow("a page of another generation")
        << QByteArray("[\n6 0 R\n]") << QByteArray("[\n6 1 R\n]") << "page tree";
    QTest::newRow("a page that does not read")
        << QByteArray("/Parent 3 0 R") << QByteArray("/Parent 3\xb4 0R") << "page tree";
    QTest::newRow("a whole number too long for an integer")
        << QByteArray("595.000000 842.000000") << QByteArray("595000000000000000000")
        << "page tree";
    QTest::newRow("two dictionaries for a catalog")
        << QByteArray("<<\n/Type /Catalog\n/Pages 3 0 R\n>>")
        << QByteArray("<</Type/Catalog>><</Pages 3 0 R>>") << "catalog cannot be read";
}

// An update on top of a broken table, trailer or page tree would leave a
// file readers refuse: the appender reads what it relies on as a reader does.
void TestSheet::outlineRefusesAnAlteredPdf() {
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, reason);
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        painter.drawRect(100, 100, 2000, 1000);
    }
    QByteArray intact = pdf;
    QVERIFY(PdfOutline::append(intact, {{"ONE", 0}}, nullptr));

    QCOMPARE(from.size(), to.size());
    QVERIFY2(pdf.contains(from), pdf.constData());
    pdf.replace(from, to);
    const QByteArray before = pdf;
    QString why;
    QVERIFY(!PdfOutline::append(pdf, {{"ONE", 0}}, &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QCOMPARE(pdf, before);
}

void TestSheet::failedWriteLeavesTheEarlierPdf() {
    QTemporaryDir dir;
    const QString pdf = writeFile(dir, "site.pdf", "%PDF-1.4 earlier");
    QString errors;
    QCOMPARE(SheetCommand::run({{dir.filePath("missing.zqc")}, pdf}, &errors),
             SheetCommand::failed);
    QVERIFY2(errors.endsWith("no sheet to write; " + pdf + " not written\n"), qPrintable(errors));
    QFile earlier(pdf);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("%PDF-1.4 earlier"));

    errors.clear();
    const QString nowhere = dir.filePath("no-such-folder/site.pdf");
    QCOMPARE(SheetCommand::run({{PANELSIM_DEMO}, nowhere}, &errors), SheetCommand::failed);
    QVERIFY2(errors.startsWith("panelconfig: cannot write " + nowhere + ": "), qPrintable(errors));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"site.pdf"}); // no temporary left behind
}

// As from a console without any display: the skipped file named, the rest written.
void TestSheet::commandRunsWithoutDisplay() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("site.pdf");
    const QString missing = dir.filePath("missing.zqc");
    // As under su or cron, without the user's runtime folder: Qt's complaint
    // about it is no part of the command's output.
    const Run run =
        runProgram({"sheet", PANELSIM_DEMO, missing, "-o", pdf}, {}, {"XDG_RUNTIME_DIR="});
    QCOMPARE(run.status, SheetCommand::failed);
    QCOMPARE(run.err, "panelconfig: " + missing + ": skipped: no such file\n");
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2); // the cover, the demo's page
    QVERIFY(hasRow(pages[1], "SW1", "ENTRY", "A", "1"));

    const Run usage = runProgram({"sheet", PANELSIM_DEMO});
    QCOMPARE(usage.status, ExitStatus::usage);
    QVERIFY2(usage.err.startsWith("panelconfig: The sheet command needs -o PDF.\nUsage: "),
             qPrintable(usage.err));
}

void TestSheet::commandLineNamesTheCommandFirst() {
    const CommandLineResult sheet =
        parseCommandLine({"panelconfig", "sheet", "a.zqc", "-o", "site.pdf", "b.zqc"});
    QVERIFY(sheet.sheet && !sheet.options);
    QCOMPARE(sheet.sheet->files, (QStringList{"a.zqc", "b.zqc"}));
    QCOMPARE(sheet.sheet->output, "site.pdf");
    // A device called "sheet" is still a device.
    const CommandLineResult window = parseCommandLine({"panelconfig", "--port", "sheet", "a.zqc"});
    QVERIFY(window.options && !window.sheet);
    QCOMPARE(window.options->file, "a.zqc");
    QCOMPARE(parseCommandLine({"panelconfig", "sheet", "-o", "x.pdf"}).exitStatus,
             ExitStatus::usage);
    const QString help = parseCommandLine({"panelconfig", "--help"}).output;
    QVERIFY2(help.contains("  sheet FILE... -o PDF ") &&
                 help.contains("       sheet: a FILE was skipped"),
             qPrintable(help));
}

void TestSheet::windowCommandLeavesTheConfigurationAlone() {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "hall.zqc", ConfigFile::format(siteLine("HALL")));
    Harness h;
    h.tool.open(path);
    QCOMPARE(h.session().boxText(2), "HALL");
    h.lightingView();
    const ConfigRecord before = h.rec();
    QList<int> selections;
    for (int list = 1; list <= 49; ++list)
        selections << (h.form().list(list) ? h.session().listIndex(list) : -2);
    QList<bool> shown;
    for (int box = 2; box <= 22; ++box)
        shown << h.form().textBox(box)->isVisible();

    const QString pdf = dir.filePath("HALL.pdf");
    h.dialogs.outputAnswers = {pdf};
    h.tool.sheet->saveAsPdf();

    QCOMPARE(h.dialogs.outputRequests.size(), 1);
    QCOMPARE(h.dialogs.outputRequests[0].title, "SAVE CONFIGURATION SHEET AS PDF");
    QCOMPARE(h.dialogs.outputRequests[0].filter, "PDF FILES (*.pdf)");
    QCOMPARE(h.dialogs.outputRequests[0].fileName, "HALL.pdf");
    QVERIFY(h.rec() == before);
    for (int list = 1; list <= 49; ++list)
        QCOMPARE(h.form().list(list) ? h.session().listIndex(list) : -2, selections[list - 1]);
    for (int box = 2; box <= 22; ++box)
        QCOMPARE(h.form().textBox(box)->isVisible(), shown[box - 2]);
    QVERIFY(h.dialogs.messages.isEmpty());
    QVERIFY(h.dialogs.fileRequests.isEmpty()); // the open and save dialog keeps its name
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(hasRow(pages[0], "SW1", "ENTRÉE €", "A", "1"));
    QVERIFY(hasRow(pages[0], "LED6", "CAFÉ, BAR", "B", "5"));
    QVERIFY(pages[0].contains(QRegularExpression("FROM\\s+" + QRegularExpression::escape(path))));

    h.assign(0, 2, 3);
    QCOMPARE(h.tool.sheet->sheet().source, path + ", changed in the window since");
}

void TestSheet::incompleteWindowPrintsBlanks() {
    Harness h;
    h.assign(2, 0, 4);                      // SW3 "N/A"
    h.assign(10, 3, 9);                     // LED1 "C" "10"
    h.tool.form.list(41)->setListIndex(16); // the backlighting's module only
    const ConfigRecord before = h.rec();

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    h.tool.sheet->printOn(printer);
    QVERIFY(h.rec() == before);
    QVERIFY(h.dialogs.messages.isEmpty());

    const QStringList pages = pdfPages(dir.filePath("printed.pdf"));
    QCOMPARE(pages.size(), 1);
    const QString& page = pages[0];
    QVERIFY2(hasRow(page, "SW3", "DESIGNATION", "N/A", "N/A"), qPrintable(page));
    QVERIFY(hasRow(page, "LED1", "DESIGNATION", "C", "10"));
    QVERIFY(hasRow(page, "BACKLIGHTING", {}, "P", {}));
    QVERIFY(hasRow(page, "SW1", {}, {}, {}));
    QVERIFY(hasRow(page, "DIMMING", {}, {}, {}));
    QVERIFY(page.contains(QRegularExpression("NORMAL INDICATOR \\(%\\)\\s+100 %")));
    QVERIFY(page.contains(QRegularExpression("FROM\\s+entered in the window")));
}

void TestSheet::pdfNameIsOneEverySystemAccepts() {
    Harness h;
    h.tool.sheet->saveAsPdf();
    h.session().setBoxText(2, "HALL 1/2: EAST?");
    h.tool.sheet->saveAsPdf();
    QCOMPARE(h.dialogs.outputRequests.size(), 2);
    QCOMPARE(h.dialogs.outputRequests[0].fileName, "sheet.pdf");
    QCOMPARE(h.dialogs.outputRequests[1].fileName, "HALL 1_2_ EAST_.pdf");
    QVERIFY(h.dialogs.messages.isEmpty()); // cancelled: nothing to say
}

void TestSheet::paperFollowsTheLocale() {
    for (const char* letter : {"en_US", "en_CA", "es_MX"})
        QCOMPARE(SheetDocument::paperFor(QLocale(letter)).id(), QPageSize::Letter);
    for (const char* a4 : {"de_DE", "en_GB", "fr_FR", "C"})
        QCOMPARE(SheetDocument::paperFor(QLocale(a4)).id(), QPageSize::A4);
}

void TestSheet::sheetNeverReplacesAnotherKindOfFile_data() {
    QTest::addColumn<QString>("target");     // the name after -o
    QTest::addColumn<QByteArray>("content"); // what is there before; "-" for nothing
    QTest::addColumn<bool>("targetIsInput");
    QTest::addColumn<QString>("written"); // the PDF that appears; empty for none
    QTest::addColumn<int>("status");
    const QByteArray config = ConfigFile::format(siteLine("OLD"));
    const QByteArray pdf = "%PDF-1.4\n% an earlier sheet\n";
    QTest::newRow("configuration file after -o gets .pdf")
        << "north.zqc" << config << false << "north.zqc.pdf" << ExitStatus::ok;
    QTest::newRow("name without .pdf gets it")
        << "site" << QByteArray("-") << false << "site.pdf" << ExitStatus::ok;
    QTest::newRow("text file named .pdf")
        << "notes.pdf" << QByteArray("my notes\n") << false << QString() << SheetCommand::failed;
    QTest::newRow("configuration file named .pdf")
        << "saved.pdf" << config << false << QString() << SheetCommand::failed;
    QTest::newRow("a PDF that is one of the inputs")
        << "old.pdf" << pdf << true << QString() << SheetCommand::failed;
    QTest::newRow("an earlier PDF is replaced")
        << "old.pdf" << pdf << false << "old.pdf" << ExitStatus::ok;
    QTest::newRow("an empty file is replaced")
        << "empty.pdf" << QByteArray() << false << "empty.pdf" << ExitStatus::ok;
}

// The panel keeps no designations: a configuration file the sheet replaced
// would be gone for good.
void TestSheet::sheetNeverReplacesAnotherKindOfFile() {
    QFETCH(QString, target);
    QFETCH(QByteArray, content);
    QFETCH(bool, targetIsInput);
    QFETCH(QString, written);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString north = writeFile(dir, "site-north.zqc", ConfigFile::format(siteLine("NORTH")));
    const QString path = dir.filePath(target);
    if (content != "-")
        writeFile(dir, target, content);
    QStringList inputs{north};
    if (targetIsInput)
        inputs.prepend(path); // skipped, as no configuration file
    QString errors;
    QCOMPARE(SheetCommand::run({inputs, path}, &errors), status);
    if (content != "-") {
        QFile before(path);
        QVERIFY(before.open(QIODevice::ReadOnly));
        if (written != target)
            QCOMPARE(before.readAll(), content);
    }
    if (written.isEmpty()) {
        QVERIFY2(errors.contains(path + " not written: "), qPrintable(errors));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // nothing new
        return;
    }
    const QStringList pages = pdfPages(dir.filePath(written));
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains("NORTH"));
    QCOMPARE(errors.contains("the sheet was written to " + dir.filePath(written)),
             written != target);
}

// Typed into the sheet's dialog, a configuration file's name makes a PDF
// beside it; the configuration is kept.
void TestSheet::windowSheetKeepsAConfigurationFileTyped() {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "hall.zqc", ConfigFile::format(siteLine("HALL")));
    const QByteArray before = ConfigFile::format(siteLine("HALL"));
    Harness h;
    h.tool.open(path);
    h.dialogs.outputAnswers = {path};
    h.tool.sheet->saveAsPdf();
    QFile config(path);
    QVERIFY(config.open(QIODevice::ReadOnly));
    QCOMPARE(config.readAll(), before);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(pdfPages(path + ".pdf").size(), 1);

    const QString notes = writeFile(dir, "notes.pdf", "my notes");
    h.dialogs.outputAnswers = {notes};
    h.tool.sheet->saveAsPdf();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QVERIFY2(h.dialogs.messages[0].text.endsWith("\nIT EXISTS AND IS NOT A PDF"),
             qPrintable(h.dialogs.messages[0].text));
}

void TestSheet::everyItemOnAnyPaper_data() {
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("words"); // of 4 characters and a blank
    QTest::addColumn<int>("mostPages");
    QTest::newRow("A4 landscape") << QPageSize(QPageSize::A4) << true << 100 << 3;
    QTest::newRow("Letter landscape") << QPageSize(QPageSize::Letter) << true << 100 << 3;
    QTest::newRow("Letter portrait") << QPageSize(QPageSize::Letter) << false << 100 << 2;
    // Every further page is filled before the next begins.
    QTest::newRow("A4 portrait, 10000 characters")
        << QPageSize(QPageSize::A4) << false << 2000 << 4;
}

// A designation of 500 characters is there whole, going on over a further
// page where it must; every other item is there with its row; the page is
// opaque, so a printer queue keeps it as text.
void TestSheet::everyItemOnAnyPaper() {
    QFETCH(QPageSize, paper);
    QFETCH(bool, landscape);
    QFETCH(int, words);
    QFETCH(int, mostPages);
    QTemporaryDir dir;
    ConfigFileLine line = siteLine("LONG ONE");
    QStringList wordList;
    for (int w = 1; w <= words; ++w)
        wordList << (w < 1000 ? QString("W%1").arg(w, 3, 10, QChar('0'))
                              : QString("%1").arg(w, 4, 36, QChar('0')).toUpper());
    line.desig[18] = wordList.join(' ') + ' '; // LED9
    QCOMPARE(line.desig[18].size(), 5 * words);
    const QString path = writeFile(dir, "long.zqc", ConfigFile::format(line));
    const QString pdf = dir.filePath("long.pdf");
    DialogRecorder dialogs;
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(paper);
        writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        SheetDocument::setMargins(writer);
        QVERIFY(SheetDocument::paint(writer, {sheetFromFile(line, path, dialogs)}));
    }
    const QStringList pages = pdfPages(pdf);
    QVERIFY(pages.size() >= 2);
    QVERIFY2(pages.size() <= mostPages, qPrintable(QString::number(pages.size())));
    const QString all = pages.join('\n');
    for (int i = 0; i < 20; ++i) {
        if (i == 18)
            continue;
        const auto [module, channel] = moduleChannel(line.code[i]);
        QVERIFY2(hasRow(all, itemName(i), line.desig[i], module, channel),
                 qPrintable(itemName(i) + "\n" + all));
    }
    QVERIFY(hasRow(all, "DIMMING", {}, moduleChannel(line.value[1]).first,
                   moduleChannel(line.value[1]).second));
    for (const QString& w : wordList)
        QVERIFY2(all.count(QRegularExpression("\\b" + w + "\\b")) == 1, qPrintable(w));
    for (int n = 0; n < pages.size(); ++n)
        QVERIFY(pages[n].contains(QString("%1 of %2").arg(n + 1).arg(pages.size())));
    QFile bytes(pdf);
    QVERIFY(bytes.open(QIODevice::ReadOnly));
    const QByteArray content = bytes.readAll();
    // Qt writes an alpha as a fill or stroke opacity below 1 or a soft mask.
    const QString objects = QString::fromLatin1(content);
    QVERIFY(!objects.contains(QRegularExpression("/(ca|CA)\\s+(?!1\\.0\\b)[0-9.]+")));
    QVERIFY(!objects.contains(QRegularExpression("/SMask\\s+(?!/None)")));
    QVERIFY(objects.contains("/SMask /None")); // the check reads what Qt writes
}

void TestSheet::paperFromOptionOrEnvironment() {
    const QByteArray all = qgetenv("LC_ALL"), paper = qgetenv("LC_PAPER");
    qunsetenv("LC_ALL");
    qputenv("LC_PAPER", "en_US.UTF-8");
    QCOMPARE(SheetDocument::paperOfEnvironment().id(), QPageSize::Letter);
    qputenv("LC_PAPER", "de_DE.UTF-8");
    QCOMPARE(SheetDocument::paperOfEnvironment().id(), QPageSize::A4);
    qputenv("LC_ALL", "en_CA.UTF-8"); // above LC_PAPER, as the C library has it
    QCOMPARE(SheetDocument::paperOfEnvironment().id(), QPageSize::Letter);
    qputenv("LC_ALL", all);
    qputenv("LC_PAPER", paper);
    if (all.isEmpty())
        qunsetenv("LC_ALL");
    if (paper.isEmpty())
        qunsetenv("LC_PAPER");

    const CommandLineResult letter =
        parseCommandLine({"panelconfig", "sheet", "a.zqc", "-o", "a.pdf", "--paper", "Letter",
                          "--site", "TOWN HALL", "--by", "J. DOE"});
    QVERIFY(letter.sheet);
    QCOMPARE(letter.sheet->paper, "Letter");
    QCOMPARE(letter.sheet->site, "TOWN HALL");
    QCOMPARE(letter.sheet->by, "J. DOE");
    const CommandLineResult wrong =
        parseCommandLine({"panelconfig", "sheet", "a.zqc", "-o", "a.pdf", "--paper", "A5"});
    QCOMPARE(wrong.exitStatus, ExitStatus::usage);
    QVERIFY(wrong.errors.startsWith("panelconfig: --paper takes A4 or Letter."));
}

// The site's name and who configured it start as the site window left them
// for the folder and are remembered back; the files go in as a person counts
// them; the message says where the PDF went and which file was skipped.
void TestSheet::windowMakesTheSiteDocumentOfAFolder() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("site");
    writeFile(dir, "site/a10.zqc", ConfigFile::format(siteLine("SOUTH")));
    writeFile(dir, "site/a2.zqc", ConfigFile::format(siteLine("NORTH")));
    writeFile(dir, "site/broken.zqc", "\"00-00999-MDL\"\r\n");
    writeFile(dir, "site/notes.txt", "not a configuration");
    const QString folder = dir.filePath("site");
    Settings settings(dir.filePath("settings.ini"));
    Handover::remember(folder, {"TOWN HALL", "J. DOE"}, &settings);
    Harness h;
    h.tool.sheet->setSettings(settings);
    const QString pdf = dir.filePath("handover"); // ".pdf" added
    h.dialogs.folderAnswers = {folder};
    h.dialogs.textsAnswers = {QStringList{" TOWN HALL, EAST WING ", " A. SMITH"}};
    h.dialogs.outputAnswers = {pdf};
    h.tool.sheet->saveSiteAsPdf();

    QCOMPARE(h.dialogs.folderRequests, QStringList{"FOLDER FOR THE SITE DOCUMENT"});
    QCOMPARE(h.dialogs.textsRequests.size(), 1);
    QCOMPARE(h.dialogs.textsRequests[0].title, "SITE DOCUMENT");
    QCOMPARE(h.dialogs.textsRequests[0].labels, QStringList({"SITE &NAME", "CONFIGURED &BY"}));
    QCOMPARE(h.dialogs.textsRequests[0].values, QStringList({"TOWN HALL", "J. DOE"}));
    QCOMPARE(h.dialogs.outputRequests.size(), 1);
    QCOMPARE(h.dialogs.outputRequests[0].title, "SAVE SITE DOCUMENT AS PDF");
    QCOMPARE(h.dialogs.outputRequests[0].fileName, "TOWN HALL, EAST WING.pdf");
    QVERIFY(h.dialogs.fileRequests.isEmpty()); // the open and save dialog keeps its name

    QCOMPARE(h.dialogs.messages.size(), 1);
    const QString& said = h.dialogs.messages[0].text;
    QCOMPARE(h.dialogs.messages[0].title, "SITE DOCUMENT SAVED");
    QVERIFY2(said.startsWith("THE SITE DOCUMENT WAS SAVED AS:\n" +
                             QDir::toNativeSeparators(pdf + ".pdf") + "\n\n") &&
                 said.contains("broken.zqc: skipped: not a configuration") &&
                 !said.contains("panelconfig:") && !said.contains("written to"),
             qPrintable(said));

    const QStringList pages = pdfPages(pdf + ".pdf");
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains(QRegularExpression("SITE\\s+TOWN HALL, EAST WING")));
    QVERIFY(pages[0].contains(QRegularExpression("CONFIGURED BY\\s+A. SMITH")));
    QVERIFY(pages[0].contains("broken.zqc"));
    QVERIFY(pages[1].contains("NORTH") && pages[2].contains("SOUTH")); // a2 before a10
    QVERIFY(!pages.join("").contains("notes.txt"));

    const Handover::Fields kept = Handover::remembered(folder, &settings);
    QCOMPARE(kept.name, QString("TOWN HALL, EAST WING"));
    QCOMPARE(kept.by, QString("A. SMITH"));
}

void TestSheet::windowSiteDocumentStopsOrSays_data() {
    QTest::addColumn<QString>("folder");   // under the test's folder; empty: cancelled
    QTest::addColumn<QStringList>("form"); // the form's answer; empty: cancelled
    QTest::addColumn<QString>("pdf");      // under the test's folder; empty: cancelled
    QTest::addColumn<int>("asked");        // dialogs shown: folder, form, PDF
    QTest::addColumn<QString>("said");     // the message's title and text; empty: none
    QTest::addColumn<bool>("remembered");  // the form's texts kept for the folder
    const QStringList form{"HALL", "J. DOE"};
    QTest::newRow("folder cancelled") << "" << form << "x.pdf" << 1 << "" << false;
    QTest::newRow("no configuration")
        << "empty" << form << "x.pdf" << 1
        << "SITE DOCUMENT NOT SAVED: THE SITE DOCUMENT WAS NOT SAVED: %1/empty NO "
           "CONFIGURATION FILE (*.zqc)"
        << false;
    QTest::newRow("no such folder")
        << "gone" << form << "x.pdf" << 1
        << "SITE DOCUMENT NOT SAVED: THE SITE DOCUMENT WAS NOT SAVED: %1/gone NO SUCH FOLDER"
        << false;
    QTest::newRow("form cancelled") << "site" << QStringList() << "x.pdf" << 2 << "" << false;
    QTest::newRow("PDF cancelled") << "site" << form << "" << 3 << "" << true;
    QTest::newRow("PDF not writable")
        << "site" << form << "missing/x.pdf" << 3
        << "SITE DOCUMENT NOT SAVED: THE SITE DOCUMENT WAS NOT SAVED: cannot write "
           "%1/missing/x.pdf: "
        << true;
    QTest::newRow("PDF over notes")
        << "site" << form << "notes.pdf" << 3
        << "SITE DOCUMENT NOT SAVED: THE SITE DOCUMENT WAS NOT SAVED: %1/notes.pdf not "
           "written: it exists and is not a PDF"
        << true;
    QTest::newRow("written") << "site" << form << "x.pdf" << 3
                             << "SITE DOCUMENT SAVED: THE SITE DOCUMENT WAS SAVED AS: %1/x.pdf"
                             << true;
}

// Each way the window's site document ends: a cancel says nothing and
// writes nothing, a failure says why, and only a PDF written is confirmed.
void TestSheet::windowSiteDocumentStopsOrSays() {
    QFETCH(QString, folder);
    QFETCH(QStringList, form);
    QFETCH(QString, pdf);
    QFETCH(int, asked);
    QFETCH(QString, said);
    QFETCH(bool, remembered);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("site");
    QDir(dir.path()).mkdir("empty");
    writeFile(dir, "site/a.zqc", ConfigFile::format(siteLine("NORTH")));
    writeFile(dir, "empty/notes.txt", "not a configuration");
    writeFile(dir, "notes.pdf", "my notes");
    Settings settings(dir.filePath("settings.ini"));
    Harness h;
    h.tool.sheet->setSettings(settings);
    h.dialogs.folderAnswers = {folder.isEmpty() ? std::nullopt
                                                : std::optional(dir.filePath(folder))};
    h.dialogs.textsAnswers = {form.isEmpty() ? std::nullopt : std::optional(form)};
    h.dialogs.outputAnswers = {pdf.isEmpty() ? std::nullopt : std::optional(dir.filePath(pdf))};
    h.tool.sheet->saveSiteAsPdf();

    QCOMPARE(h.dialogs.folderRequests.size() + h.dialogs.textsRequests.size() +
                 h.dialogs.outputRequests.size(),
             asked);
    QStringList shown;
    for (const DialogRecorder::Shown& m : h.dialogs.messages)
        shown << AnsweringDialogs::line(m.text, m.title);
    if (said.isEmpty())
        QCOMPARE(shown, QStringList());
    else {
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(said.arg(QDir::toNativeSeparators(dir.path()))),
                 qPrintable(shown[0]));
    }
    QCOMPARE(Handover::remembered(dir.filePath("site"), &settings).by,
             remembered ? QString("J. DOE") : QString());
    const bool written = said.startsWith("SITE DOCUMENT SAVED");
    QCOMPARE(QFile::exists(dir.filePath("x.pdf")), written);
    QCOMPARE(QFile::exists(dir.filePath("missing")), false);
    QFile notes(dir.filePath("notes.pdf"));
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("my notes"));
}

// Two panels of one name, however typed, are told apart on the cover by
// their files, for the sheet command and the window's site document alike
// (the window runs the command).
void TestSheet::coverMarksPanelsSharingAName() {
    QTemporaryDir dir;
    const QString a = writeFile(dir, "a.zqc", ConfigFile::format(siteLine("HALL")));
    const QString b = writeFile(dir, "b.zqc", ConfigFile::format(siteLine("Hall ")));
    const QString c = writeFile(dir, "c.zqc", ConfigFile::format(siteLine("LOBBY")));
    const QString pdf = dir.filePath("site.pdf");
    QString errors;
    QCOMPARE(SheetCommand::run({{a, b, c}, pdf, "TOWN HALL"}, &errors), 0);
    QCOMPARE(errors, QString());
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 4);
    // Each cell's lines as drawn, one cell after the other.
    QProcess extract;
    extract.start("pdftotext", {"-raw", "-l", "1", "-enc", "UTF-8", pdf, "-"});
    QVERIFY(extract.waitForFinished(60000));
    const QString cover = QString::fromUtf8(extract.readAllStandardOutput()).simplified();
    QVERIFY2(cover.contains("HALL (same panel name as b.zqc)"), qPrintable(cover));
    QVERIFY2(cover.contains("Hall (same panel name as a.zqc)"), qPrintable(cover));
    QVERIFY2(cover.contains("LOBBY " + c), qPrintable(cover));
    QCOMPARE(cover.count("same panel name"), 2);
}

// The file's indicator 30 % under its backlighting 100 %, and SW3 on a code
// no list shows: the command line's sheet is the window's after opening the
// file, and both mark what the window made of the file's values.
void TestSheet::sheetShowsWhatTheWindowShows() {
    QTemporaryDir dir;
    ConfigFileLine line = siteLine("HALL");
    line.value[2] = 1;  // indicator
    line.value[3] = 10; // backlighting
    line.code[2] = 200; // SW3
    const QString path = writeFile(dir, "hall.zqc", ConfigFile::format(line));
    DialogRecorder dialogs;
    const Sheet fromFile = sheetFromFile(line, path, dialogs);

    Harness h;
    QVERIFY(h.tool.open(path).done());
    const Sheet fromWindow = h.tool.sheet->sheet();
    // The intensity rule's message, as often as the window shows it (once for
    // each intensity shown against the other).
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(h.dialogs.messages.size(), 2);
    QVERIFY(fromFile.sameConfiguration(fromWindow));
    QCOMPARE(fromFile.intensities[1].percent, QString("30")); // backlighting, as written
    QVERIFY(fromFile.intensities[1].marked && fromWindow.intensities[1].marked);
    QCOMPARE(fromFile.items[2].module, QString("N/A"));
    QVERIFY(fromFile.items[2].marked && !fromFile.items[3].marked);
    QCOMPARE(fromFile.notes, fromWindow.notes);
    QCOMPARE(fromFile.notes,
             QStringList({"SW3: the file holds code 200, which no list shows; shown as N/A",
                          "NORMAL BACKLIGHTING (%): the file holds 100; shown as 30 by the "
                          "intensity rule"}));

    // Once only an intensity is changed in the window, the file no longer
    // speaks for the sheet.
    h.form().list(46)->setListIndex(7);
    const Sheet changed = h.tool.sheet->sheet();
    QVERIFY(changed.source.endsWith(", changed in the window since"));
    QVERIFY(changed.notes.isEmpty());
}

void TestSheet::coverTellsEachPanelsCommissioning_data() {
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("outside"); // a file from another folder, "" for none
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("notShown");
    const QByteArray lines =
        "2026-03-02T09:15:00\t/dev/ttyUSB0\twrite\tsite/a.zqc\tSWITCH PANEL HAS BEEN PROGRAMMED\n"
        "2026-03-02T09:20:00\t/dev/ttyUSB1\twrite\tb.zqc\tNO REPLY\n";
    QTest::newRow("from the log beside the files")
        << lines << ""
        << QStringList{"COMMISSIONING", "programmed", "09:15:00", "/dev/ttyUSB0", "failed: NO",
                       "REPLY",         "09:20:00",   "ttyUSB1",  "not yet"}
        << QStringList{};
    QTest::newRow("a log with no line for a file")
        << QByteArray() << "" << QStringList{"COMMISSIONING", "not yet"}
        << QStringList{"programmed"};
    QTest::newRow("no log: as before") << QByteArray("none") << "" << QStringList{"SITE HANDOVER"}
                                       << QStringList{"COMMISSIONING", "not yet"};
    // Files from two folders are no one site: no log speaks for them.
    QTest::newRow("files of two folders")
        << lines << "elsewhere.zqc" << QStringList{"SITE HANDOVER"}
        << QStringList{"COMMISSIONING", "programmed"};
}

void TestSheet::coverTellsEachPanelsCommissioning() {
    QFETCH(QByteArray, log);
    QFETCH(QString, outside);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, notShown);
    QTemporaryDir dir, other;
    QStringList files;
    for (const char* name : {"a.zqc", "b.zqc", "c.zqc"})
        files << writeFile(dir, name, ConfigFile::format(siteLine(QString(name).toUpper())));
    if (!outside.isEmpty())
        files << writeFile(other, outside, ConfigFile::format(siteLine("OTHER")));
    if (log != "none")
        writeFile(dir, "site.log", log);
    const QString pdf = other.filePath("site.pdf");
    QString errors;
    QCOMPARE(SheetCommand::run({files, pdf, "HALL", "J. DOE"}, &errors), 0);
    const QString cover = pdfPages(pdf).value(0);
    for (const QString& text : shown)
        QVERIFY2(cover.contains(text), qPrintable(text + " not in:\n" + cover));
    for (const QString& text : notShown)
        QVERIFY2(!cover.contains(text), qPrintable(text + " in:\n" + cover));
}

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
