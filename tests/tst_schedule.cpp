#include "Unprivileged.h"
#include "app/CommandLine.h"
#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "model/Cp1252.h"
#include "schedule/Csv.h"
#include "schedule/ScheduleCommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSchedule : public QObject {
    Q_OBJECT
private slots:
    void importWritesWhatTheSaveWrites_data();
    void importWritesWhatTheSaveWrites();
    void refusalNamesRowAndColumn_data();
    void refusalNamesRowAndColumn();
    void fileColumnNamesOnlyConfigurations_data();
    void fileColumnNamesOnlyConfigurations();
    void unreadableScheduleWritesNothing_data();
    void unreadableScheduleWritesNothing();
    void replaceOnlyWhenAsked();
    void exportThenImportGivesTheSameFiles();
    void exportReplacesOnlyASchedule();
    void exportTellsWhatItChangedOrSkipped();
    void commandsSayWhyNothingIsWritten();
    void commandLines_data();
    void commandLines();
};

namespace {
// A panel of the schedule as a designer types it: SW n on module B + n,
// channel n; LED n on module C, channel 11 - n; the backlighting on "N/A".
struct Row {
    QString panel, item, module, channel, designation, bl, ind, dim;
};
QList<Row> panelRows(const QString& panel, const QString& switchText = {}) {
    QList<Row> rows;
    for (int n = 1; n <= 10; ++n)
        rows << Row{panel,
                    QString("SW%1").arg(n),
                    QString(QChar('A' + n)),
                    QString::number(n),
                    n == 1 && !switchText.isEmpty() ? switchText : QString("SWITCH %1").arg(n),
                    n == 1 ? "80" : "",
                    n == 1 ? "90" : "",
                    n == 1 ? "40" : ""};
    for (int n = 1; n <= 10; ++n)
        rows << Row{panel,
                    QString("LED%1").arg(n),
                    "C",
                    QString::number(11 - n),
                    QString("LAMP %1").arg(n),
                    "",
                    "",
                    ""};
    rows << Row{panel, "BACKLIGHTING", "N/A", "", "", "", "", ""};
    rows << Row{panel, "DIMMING", "P", "10", "", "", "", ""};
    return rows;
}

// The file a window save writes for panelRows, worked out by hand: codes
// 10 x module + channel - 1, intensities 80/90/40 % as codes 6/7/2, the
// window's captions.
QByteArray expectedFile(const QString& panel, const QString& switchText = {}) {
    ConfigFileLine line;
    line.model = "00-00561-MDL or 00-00567-MDL";
    line.panel = panel;
    for (int n = 1; n <= 10; ++n) {
        line.desig[n - 1] =
            n == 1 && !switchText.isEmpty() ? switchText : QString("SWITCH %1").arg(n);
        line.code[n - 1] = qint16(10 * n + n - 1);
        line.desig[n + 9] = QString("LAMP %1").arg(n);
        line.code[n + 9] = qint16(20 + 10 - n);
    }
    line.caption = {"BACKLIGHT", "DIMMING", "NORMAL INDICATOR (%)", "NORMAL BACKLIGHTING (%)",
                    "DIMMED BACKLIGHTING AND INDICATOR (%)"};
    line.value = {160, 159, 7, 6, 2};
    return ConfigFile::format(line);
}

QString csv(const QList<Row>& rows, QChar sep = ',', const QString& end = "\r\n") {
    auto field = [&](QString f) {
        if (f.contains(sep) || f.contains('"'))
            return '"' + f.replace("\"", "\"\"") + '"';
        return f;
    };
    QString text = QStringList{"Panel Name",
                               "Item",
                               "Module",
                               "Channel",
                               "Designation",
                               "Normal Backlighting (%)",
                               "Normal Indicator (%)",
                               "Dimmed Backlighting and Indicator (%)"}
                       .join(sep) +
                   end;
    for (const Row& r : rows)
        text += QStringList{field(r.panel),       field(r.item), field(r.module), field(r.channel),
                            field(r.designation), field(r.bl),   field(r.ind),    field(r.dim)}
                    .join(sep) +
                end;
    return text;
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct Outcome {
    int status;
    QString out, errors;
};
Outcome run(const ScheduleOptions& options) {
    Outcome o;
    o.status = ScheduleCommand::run(options, &o.out, &o.errors);
    return o;
}
Outcome import(const QString& schedule, const QString& folder, bool replace = false) {
    return run({"import", {schedule}, folder, replace});
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
} // namespace

void TestSchedule::importWritesWhatTheSaveWrites_data() {
    QTest::addColumn<QByteArray>("schedule");
    QTest::addColumn<QString>("firstSwitch");
    const QList<Row> two = panelRows("LOBBY") + panelRows("CAFÉ €");
    QTest::newRow("LibreOffice: comma, LF, UTF-8") << csv(two, ',', "\n").toUtf8() << QString();
    QTest::newRow("Excel: semicolon, CRLF, UTF-8 with BOM")
        << QByteArray("\xEF\xBB\xBF") + csv(two, ';').toUtf8() << QString();
    QTest::newRow("Windows-1252") << Cp1252::encode(csv(two)) << QString();
    QTest::newRow("separator and line break quoted")
        << csv(panelRows("LOBBY", "DOOR, WEST") + panelRows("CAFÉ €", "DOOR, WEST")).toUtf8()
        << QString("DOOR, WEST");
    // A notes column with quotes inside is read and left alone.
    QString notes = csv(two);
    notes.replace("\r\n", ",\"say \"\"on\"\"; ok\"\r\n");
    notes.replace("Indicator (%),\"say \"\"on\"\"; ok\"", "Indicator (%),Notes");
    QTest::newRow("extra column with quotes") << notes.toUtf8() << QString();
}

void TestSchedule::importWritesWhatTheSaveWrites() {
    QFETCH(QByteArray, schedule);
    QFETCH(QString, firstSwitch);
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("site.csv"), schedule);
    const Outcome o = import(path, dir.filePath("out"));
    QVERIFY2(o.status == 0, qPrintable(o.errors));
    QCOMPARE(filesIn(dir.filePath("out")), (QStringList{"CAFÉ €.zqc", "LOBBY.zqc"}));
    QCOMPARE(readFile(dir.filePath("out/LOBBY.zqc")), expectedFile("LOBBY", firstSwitch));
    QCOMPARE(readFile(dir.filePath("out/CAFÉ €.zqc")), expectedFile("CAFÉ €", firstSwitch));
    QVERIFY(o.out.contains("LOBBY.zqc\n"));
}

void TestSchedule::refusalNamesRowAndColumn_data() {
    QTest::addColumn<int>("row");    // of the LOBBY rows, from 0 (spreadsheet row - 2)
    QTest::addColumn<int>("column"); // Csv column 1 ... 8
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason"); // what the message says
    QTest::addColumn<QString>("where");
    // Columns: A panel, B item, C module, D channel, E designation, F G H intensities.
    QTest::newRow("module") << 3 << 3 << "Q"
                            << "is not a module"
                            << "row 5, column C (MODULE)";
    QTest::newRow("channel") << 3 << 4 << "11"
                             << "is not a channel"
                             << "row 5, column D (CHANNEL)";
    QTest::newRow("channel missing") << 3 << 4 << ""
                                     << "is not a channel"
                                     << "row 5, column D";
    QTest::newRow("item") << 4 << 2 << "SW11"
                          << "is not an item"
                          << "row 6, column B (ITEM)";
    QTest::newRow("item twice") << 4 << 2 << "sw1"
                                << "SW1 is given again (first in row 2)"
                                << "row 6, column B";
    QTest::newRow("item missing") << 4 << 2 << ""
                                  << "has no row for SW5"
                                  << "row 2, column B";
    QTest::newRow("designation quote") << 2 << 5 << "THE \"BIG\" ONE"
                                       << "double quote"
                                       << "row 4, column E (DESIGNATION)";
    QTest::newRow("designation control") << 2 << 5 << "TAB\tHERE"
                                         << "line break"
                                         << "row 4, column E";
    QTest::newRow("designation not in the code page") << 2 << 5 << "ЛАМПА"
                                                      << "cannot hold"
                                                      << "row 4, column E";
    QTest::newRow("designation of the dimming input") << 21 << 5 << "DIM"
                                                      << "DIMMING has no designation"
                                                      << "row 23, column E";
    QTest::newRow("name too long") << 0 << 1 << "LOBBY"
                                   << ""
                                   << "";
    QTest::newRow("intensity off the table") << 0 << 6 << "85"
                                             << "is not an intensity"
                                             << "row 2, column F (NORMAL BACKLIGHTING (%))";
    QTest::newRow("intensities differ") << 7 << 7 << "80"
                                        << "differs from the 90 of row 2"
                                        << "row 9, column G (NORMAL INDICATOR (%))";
    QTest::newRow("intensity missing") << 0 << 8 << ""
                                       << "no row of panel LOBBY gives it"
                                       << "row 2, column H";
    QTest::newRow("intensity rule") << 0 << 7 << "70 %"
                                    << "NORMAL INDICATOR INTENSITY must be set equal to or "
                                       "greater than NORMAL BACKLIGHTING INTENSITY."
                                    << "row 2, column G (NORMAL INDICATOR (%)): 70 % with "
                                       "NORMAL BACKLIGHTING 80 %";
    QTest::newRow("N/A with a channel") << 20 << 4 << "5"
                                        << "has no channel"
                                        << "row 22, column D";
}

// Every refused value is named with its row and column; the panel with it is
// not written, the panel after it is.
void TestSchedule::refusalNamesRowAndColumn() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    QFETCH(QString, where);
    QList<Row> lobby = panelRows("LOBBY");
    Row& r = lobby[row];
    QString* cells[] = {&r.panel,       &r.module, &r.module, &r.channel,
                        &r.designation, &r.bl,     &r.ind,    &r.dim};
    if (QTest::currentDataTag() == QByteArray("name too long")) {
        for (Row& each : lobby)
            each.panel = "LOBBY NORTH 1"; // 13 characters
        reason = "\"LOBBY NORTH 1\" is longer than 12 characters";
        where = "row 2, column A (PANEL NAME)";
    } else if (column == 2) {
        r.item = value;
        if (value.isEmpty())
            lobby.removeAt(row);
    } else {
        *cells[column - 1] = value;
    }
    QTemporaryDir dir;
    const QString path =
        writeFile(dir.filePath("site.csv"), csv(lobby + panelRows("HALL")).toUtf8());
    const Outcome o = import(path, dir.path());
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains(path + ": " + where) && o.errors.contains(reason),
             qPrintable(o.errors));
    QVERIFY2(o.errors.contains(QRegularExpression("panel LOBBY( NORTH 1)? not written\n")),
             qPrintable(o.errors));
    QVERIFY(o.errors.endsWith("1 of 2 panels written\n"));
    QCOMPARE(filesIn(dir.path()), (QStringList{"HALL.zqc", "site.csv"}));
}

void TestSchedule::fileColumnNamesOnlyConfigurations_data() {
    QTest::addColumn<QString>("lobbyFile");
    QTest::addColumn<QString>("hallFile");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("written");
    const QString notPlain =
        "row 2, column I (FILE): \"%1\" is not a plain file name ending in .zqc";
    for (const char* name : {"site.csv", " spaced.zqc ", "../up.zqc", "notes.txt", ".zqc"})
        QTest::newRow(qPrintable(name))
            << name << "" << notPlain.arg(name) << QStringList{"HALL.zqc", "site.csv"};
    // The same names as the panel name's file refuses, so a site's files
    // open on Windows too.
    const QString notOnWindows =
        "row 2, column I (FILE): \"%1\" cannot be a file name on Windows: it %2";
    const struct {
        const char* name;
        const char* why;
    } windows[] = {{"A*B.zqc", "holds the character *"},  {"WHAT?.zqc", "holds the character ?"},
                   {"A<B>.zqc", "holds the character <"}, {"A|B.zqc", "holds the character |"},
                   {"CON.zqc", "is a device name"},       {"nul.ZQC", "is a device name"},
                   {"COM\u00b9.zqc", "is a device name"}, {"LPT3 .zqc", "is a device name"}};
    for (const auto& w : windows) {
        const QString name = QString::fromUtf8(w.name);
        QTest::newRow(w.name) << name << "" << notOnWindows.arg(name, w.why)
                              << QStringList{"HALL.zqc", "site.csv"};
    }
    QTest::newRow("two panels, one file")
        << "Lobby.zqc"
        << "lobby.ZQC"
        << "row 24, column I (FILE): would be written to lobby.ZQC as panel LOBBY of row 2 is"
        << QStringList{"Lobby.zqc", "site.csv"};
}

// FILE names a configuration file in the folder, and only one panel's.
void TestSchedule::fileColumnNamesOnlyConfigurations() {
    QFETCH(QString, lobbyFile);
    QFETCH(QString, hallFile);
    QFETCH(QString, refusal);
    QFETCH(QStringList, written);
    QStringList lines = csv(panelRows("LOBBY") + panelRows("HALL")).split("\r\n");
    lines.removeLast();
    lines[0] += ",File";
    for (qsizetype l = 1; l < lines.size(); ++l)
        lines[l] += ',' + (lines[l].startsWith("LOBBY") ? lobbyFile : hallFile);
    QTemporaryDir dir;
    const QByteArray schedule = (lines.join("\r\n") + "\r\n").toUtf8();
    const QString path = writeFile(dir.filePath("site.csv"), schedule);
    const Outcome o = import(path, dir.path(), true);
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains(path + ": " + refusal), qPrintable(o.errors));
    QCOMPARE(filesIn(dir.path()), written);
    QCOMPARE(readFile(path), schedule);
}

void TestSchedule::unreadableScheduleWritesNothing_data() {
    QTest::addColumn<QByteArray>("schedule");
    QTest::addColumn<QString>("reason");
    const QByteArray good = csv(panelRows("LOBBY")).toUtf8();
    QTest::newRow("missing") << QByteArray() << "";
    QTest::newRow("no heading") << QByteArray(good).replace("Designation", "Text")
                                << "no column headed \"DESIGNATION\"";
    QTest::newRow("heading twice") << QByteArray(good).replace("Item,", "Item,Item,")
                                   << "row 1, column C (ITEM): the heading is given twice";
    QTest::newRow("quote left open") << good + "LOBBY,SW1,A,1,\"OPEN\r\n"
                                     << "row 24, column E: a quoted field is not closed";
    QTest::newRow("text after quote") << QByteArray(good).replace("SWITCH 3", "\"SWITCH\" 3")
                                      << "row 4, column E: text after the closing quote";
    QTest::newRow("quote inside") << QByteArray(good).replace("SWITCH 3", "SWI\"TCH 3")
                                  << "row 4, column E: a quote inside a field";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFEP\0a\0", 6) << "not a text file";
    QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF") << "the schedule is empty";
    QTest::newRow("headings only") << good.left(good.indexOf('\n') + 1) << "has no panel";
}

void TestSchedule::unreadableScheduleWritesNothing() {
    QFETCH(QByteArray, schedule);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("site.csv");
    if (QTest::currentDataTag() != QByteArray("missing"))
        writeFile(path, schedule);
    const Outcome o = import(path, dir.filePath("out/site"));
    QCOMPARE(o.status, ScheduleCommand::unreadable);
    QVERIFY2(o.errors.startsWith("panelconfig: " + path + ": ") && o.errors.contains(reason) &&
                 o.errors.endsWith("; nothing written\n"),
             qPrintable(o.errors));
    QVERIFY(!QFileInfo::exists(dir.filePath("out"))); // nor the folders made for it
}

void TestSchedule::replaceOnlyWhenAsked() {
    QTemporaryDir dir;
    const QString path =
        writeFile(dir.filePath("site.csv"), csv(panelRows("LOBBY") + panelRows("HALL")).toUtf8());
    writeFile(dir.filePath("LOBBY.zqc"), "earlier");
    Outcome o = import(path, dir.path());
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains("LOBBY.zqc exists; --replace replaces it"), qPrintable(o.errors));
    QCOMPARE(readFile(dir.filePath("LOBBY.zqc")), QByteArray("earlier"));
    QCOMPARE(readFile(dir.filePath("HALL.zqc")), expectedFile("HALL"));

    // Only a configuration is replaced: not a file of another kind, nor
    // what a link names, nor a folder.
    o = import(path, dir.path(), true);
    QCOMPARE(o.status, ScheduleCommand::notAll);
    const QString never = " exists and is not a configuration file; it is never replaced";
    const QString notFile = " is not a regular file; it is never replaced";
    QVERIFY2(o.errors.contains("LOBBY.zqc" + never), qPrintable(o.errors));
    QCOMPARE(readFile(dir.filePath("LOBBY.zqc")), QByteArray("earlier"));
    writeFile(dir.filePath("LOBBY.zqc"), expectedFile("HALL"));
    o = import(path, dir.path(), true);
    QVERIFY2(o.status == 0, qPrintable(o.errors));
    QCOMPARE(readFile(dir.filePath("LOBBY.zqc")), expectedFile("LOBBY"));

    QFile::remove(dir.filePath("HALL.zqc"));
    QVERIFY(QFile::link(dir.filePath("elsewhere.zqc"), dir.filePath("HALL.zqc")));
    o = import(path, dir.path());
    QVERIFY2(o.errors.contains("HALL.zqc exists; --replace"), qPrintable(o.errors));
    o = import(path, dir.path(), true);
    const QString link = " is a link; it is never replaced";
    QVERIFY2(o.errors.contains("HALL.zqc" + link), qPrintable(o.errors));
    QVERIFY(!QFileInfo::exists(dir.filePath("elsewhere.zqc")));
    // Not even when it names a configuration file: that may be anywhere.
    writeFile(dir.filePath("elsewhere.zqc"), expectedFile("LOBBY"));
    o = import(path, dir.path(), true);
    QVERIFY2(o.errors.contains("HALL.zqc" + link), qPrintable(o.errors));
    QCOMPARE(readFile(dir.filePath("elsewhere.zqc")), expectedFile("LOBBY"));
    QFile::remove(dir.filePath("elsewhere.zqc"));
    QFile::remove(dir.filePath("HALL.zqc"));
    QDir(dir.path()).mkdir("HALL.zqc");
    o = import(path, dir.path(), true);
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains("HALL.zqc" + notFile) && o.errors.contains("panel HALL not written"),
             qPrintable(o.errors));
}

// Files of every kind of value, some under names of their own, come back
// byte for byte.
void TestSchedule::exportThenImportGivesTheSameFiles() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("in");
    QStringList files;
    ConfigFileLine demo = *readConfigFile(PANELSIM_DEMO).line;
    for (int k = 0; k < 4; ++k) {
        ConfigFileLine line = demo;
        line.panel = QString("PANEL %1").arg(k);
        line.desig[k] = k == 1 ? "" : k == 2 ? "DESIGNATION " : "CAFÉ, \u201CBAR\u201D; €";
        line.code[k + 5] = 160;        // N/A
        line.value[3] = qint16(k + 1); // backlighting, below the demo's indicator
        line.value[4] = qint16(k == 3 ? 10 : 7 - k);
        files << writeFile(dir.filePath(QString("in/site-%1.zqc").arg(k)),
                           ConfigFile::format(line));
    }
    files << writeFile(dir.filePath("in/demo.zqc"), readFile(PANELSIM_DEMO));
    const QString schedule = dir.filePath("site.csv");
    Outcome o = run({"export", files, schedule, false});
    QVERIFY2(o.status == 0, qPrintable(o.errors));
    QVERIFY(readFile(schedule).startsWith("\xEF\xBB\xBF\"PANEL NAME\",\"ITEM\""));
    QCOMPARE(readFile(schedule).count("\r\n"), 1 + 5 * 22);

    o = import(schedule, dir.filePath("out"));
    QVERIFY2(o.status == 0, qPrintable(o.errors));
    QCOMPARE(filesIn(dir.filePath("out")), filesIn(dir.filePath("in")));
    for (const QString& f : files)
        QCOMPARE(readFile(dir.filePath("out/" + QFileInfo(f).fileName())), readFile(f));
}

void TestSchedule::exportTellsWhatItChangedOrSkipped() {
    QTemporaryDir dir;
    ConfigFileLine line = *readConfigFile(PANELSIM_DEMO).line;
    line.code[2] = 200;
    line.panel = "A NAME OF 13C";
    const QString odd = writeFile(dir.filePath("odd.zqc"), ConfigFile::format(line));
    const QString schedule = dir.filePath("site.csv");
    Outcome o = run({"export", {odd}, schedule, false});
    QCOMPARE(o.status, ScheduleCommand::changed);
    QVERIFY2(o.errors.contains(odd + ": SW3: the file holds code 200") &&
                 o.errors.contains(odd + ": an import would refuse row 2, column A (PANEL NAME)"),
             qPrintable(o.errors));

    const QString foreign = writeFile(dir.filePath("foreign.zqc"), "\"00-00999-MDL\"\r\n");
    o = run({"export", {foreign, PANELSIM_DEMO}, schedule, false});
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains(foreign + ": not a configuration file"), qPrintable(o.errors));
    QCOMPARE(readFile(schedule).count("\r\n"), 23);

    o = run({"export", {foreign}, schedule, false});
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY(o.errors.endsWith("no panel to export; " + schedule + " not written\n"));

    // A file the window's save would not write so comes back otherwise.
    line = *readConfigFile(PANELSIM_DEMO).line;
    line.caption[0] = "OTHER CAPTION";
    const QString captioned = writeFile(dir.filePath("captioned.zqc"), ConfigFile::format(line));
    o = run({"export", {captioned}, schedule, false});
    QCOMPARE(o.status, ScheduleCommand::changed);
    QVERIFY2(o.errors.contains(captioned + ": an import would write it otherwise than it is"),
             qPrintable(o.errors));

    // The intensity rule is told once, and a file already noted is not
    // noted again for coming back otherwise, whatever its name holds.
    line = *readConfigFile(PANELSIM_DEMO).line;
    line.value[2] = 7;  // indicator 70 %
    line.value[3] = 10; // backlighting 100 %
    const QString breach = writeFile(dir.filePath("hall: east.zqc"), ConfigFile::format(line));
    o = run({"export", {breach}, schedule, false});
    QCOMPARE(o.status, ScheduleCommand::changed);
    QCOMPARE(o.errors.count("NORMAL INDICATOR INTENSITY must be set"), 1);
    QVERIFY2(!o.errors.contains("otherwise than it is"), qPrintable(o.errors));
}

// An earlier schedule is replaced; nothing else is.
void TestSchedule::exportReplacesOnlyASchedule() {
    QTemporaryDir dir;
    const QString schedule = dir.filePath("site.csv");
    QVERIFY(run({"export", {PANELSIM_DEMO}, schedule, false}).status == 0);
    const QByteArray written = readFile(schedule);
    writeFile(schedule, csv(panelRows("LOBBY")).toUtf8());
    QCOMPARE(run({"export", {PANELSIM_DEMO}, schedule, false}).status, 0);
    QCOMPARE(readFile(schedule), written);
    for (const QByteArray& other : {QByteArray("%PDF-1.4\n"), QByteArray("notes, of a kind\n")}) {
        writeFile(schedule, other);
        const Outcome o = run({"export", {PANELSIM_DEMO}, schedule, false});
        QCOMPARE(o.status, ScheduleCommand::notAll);
        QCOMPARE(o.errors,
                 "panelconfig: " + schedule + " not written: it exists and is not a schedule\n");
        QCOMPARE(readFile(schedule), other);
    }
}

// Where a schedule cannot be read or written, the command says why, and
// leaves what was there.
void TestSchedule::commandsSayWhyNothingIsWritten() {
    QTemporaryDir dir;
    const QString schedule = writeFile(dir.filePath("site.csv"), csv(panelRows("LOBBY")).toUtf8());
    const QString plain = writeFile(dir.filePath("plain"), "x");
    Outcome o = import(schedule, plain + "/site");
    QCOMPARE(o.status, ScheduleCommand::unreadable);
    QVERIFY2(o.errors.contains("the folder " + plain + "/site cannot be made; nothing written"),
             qPrintable(o.errors));
    o = import(dir.path(), dir.filePath("out"));
    QCOMPARE(o.status, ScheduleCommand::unreadable);
    QVERIFY2(o.errors.contains(dir.path() + ": not a regular file"), qPrintable(o.errors));

    // As an ordinary user, in a folder it may not write to.
    const Unprivileged user;
    QVERIFY(user.active());
    QTemporaryDir own;
    const QString readOnly = own.filePath("read-only");
    QVERIFY(QDir(own.path()).mkdir("read-only"));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const QString mine = writeFile(own.filePath("site.csv"), csv(panelRows("LOBBY")).toUtf8());
    o = run({"export", {PANELSIM_DEMO}, readOnly + "/site.csv", false});
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains("cannot write " + readOnly + "/site.csv: ACCESS DENIED"),
             qPrintable(o.errors));
    o = import(mine, readOnly);
    QCOMPARE(o.status, ScheduleCommand::notAll);
    QVERIFY2(o.errors.contains("ACCESS DENIED") && o.errors.contains("panel LOBBY not written"),
             qPrintable(o.errors));
    QVERIFY(filesIn(readOnly).isEmpty());
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSchedule::commandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("import") << QStringList{"import", "s.csv", "-d", "out", "--replace"} << 0 << "";
    QTest::newRow("import without folder")
        << QStringList{"import", "s.csv"} << 2 << "import needs -d FOLDER.";
    QTest::newRow("import of two")
        << QStringList{"import", "a.csv", "b.csv", "-d", "o"} << 2 << "import takes one SCHEDULE.";
    QTest::newRow("export without output")
        << QStringList{"export", "a.zqc"} << 2 << "export needs -o SCHEDULE.";
    QTest::newRow("export onto a configuration")
        << QStringList{"export", "a.zqc", "-o", "b.ZQC"} << 2 << "-o names a configuration file";
    QTest::newRow("export of nothing")
        << QStringList{"export", "-o", "s.csv"} << 2 << "export needs at least one FILE.";
    QTest::newRow("two folders") << QStringList{"import", "s.csv", "-d", "a", "-d", "b"} << 2
                                 << "-d is given more than once.";
    QTest::newRow("unknown option") << QStringList{"export", "a.zqc", "-o", "s.csv", "--replace"}
                                    << 2 << "Unknown option 'replace'";
    QTest::newRow("import help") << QStringList{"import", "--help"} << 0
                                 << "  3  SCHEDULE could not be read";
    QTest::newRow("export help") << QStringList{"export", "--help"} << 0
                                 << "  11 written, but a value is exported otherwise";
    QTest::newRow("program help") << QStringList{"--help"} << 0
                                  << "  import SCHEDULE -d FOLDER [--replace]";
}

void TestSchedule::commandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, text);
    const CommandLineResult r = parseCommandLine(QStringList{"panelconfig"} + arguments);
    QCOMPARE(r.exitStatus, status);
    QVERIFY2((r.output + r.errors).contains(text), qPrintable(r.output + r.errors));
    if (QTest::currentDataTag() == QByteArray("import")) {
        QVERIFY(r.schedule && !r.options);
        QCOMPARE(r.schedule->files, QStringList{"s.csv"});
        QCOMPARE(r.schedule->output, "out");
        QVERIFY(r.schedule->replace);
    }
}

QTEST_GUILESS_MAIN(TestSchedule)
#include "tst_schedule.moc"
