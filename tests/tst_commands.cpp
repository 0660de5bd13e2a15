// The console commands in-process: a session on the scripted port and the
// virtual clock, so every outcome is reached without a subprocess or real time.

#include "FakeSerialPort.h"
#include "ProgramRun.h"
#include "VirtualClock.h"
#include "app/CommandLine.h"
#include "cli/Commissioning.h"
#include "files/ConfigFileReader.h"
#include "link/LinkTexts.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ConfigFileLine)

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void failuresEndWithTheirOwnStatus_data();
    void failuresEndWithTheirOwnStatus();
    void valuesTheWindowChangesAreSaid_data();
    void valuesTheWindowChangesAreSaid();
    void verifyComparesWhatAWriteWouldGive();
    void verifyListsEachDifference();
    void readSavesWhatThePanelHolds();
    void identifyNamesTheFilesThePanelHolds_data();
    void identifyNamesTheFilesThePanelHolds();
    void progressLineOnlyOnATerminal_data();
    void progressLineOnlyOnATerminal();
    void repeatProgramsPanelAfterPanel();
    void repeatSaysWrittenOnceAPanelWas_data();
    void repeatSaysWrittenOnceAPanelWas();
    void ctrlCStopsAWriteAtItsNextWait_data();
    void ctrlCStopsAWriteAtItsNextWait();
    void commandsNeedNoWindowSystem();
};

namespace {
ConfigFileLine demoLine() {
    return *readConfigFile(PANELSIM_DEMO).line;
}

// A command run on a fake panel: what it printed and how it ended.
struct Command {
    VirtualClock clock;
    FakeSerialPort port{clock};
    CommandLineOptions options;
    QStringList said, table;
    std::optional<QStringList> progress;        // set: standard error is a terminal
    std::function<void(Commissioning&)> during; // set up before run

    int run() {
        CommandTiming timing{20, &clock, &clock, [this](int ms, std::function<void()> done) {
                                 clock.after(ms, std::move(done));
                             }};
        Commissioning c(
            options, port,
            {[this](const QString& l) { said << l; }, [this](const QString& l) { table << l; },
             progress
                 ? std::function<void(const QString&)>([this](const QString& t) { *progress << t; })
                 : nullptr},
            timing);
        if (during)
            during(c);
        return c.run();
    }
};

QString writeLine(const QTemporaryDir& dir, const QString& name, const ConfigFileLine& line) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(ConfigFile::format(line));
    return path;
}

// Indicator 30 %, backlighting 100 %: the window lowers the backlighting.
ConfigFileLine dimIndicator() {
    ConfigFileLine line = demoLine();
    line.value[2] = 1;  // indicator
    line.value[3] = 10; // backlighting
    return line;
}

const QString ruleMessage = QStringLiteral("NORMAL INDICATOR INTENSITY must be set equal to or "
                                           "greater than NORMAL BACKLIGHTING INTENSITY.");
} // namespace

void TestCommands::failuresEndWithTheirOwnStatus_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<QString>("adjusted"); // write: a file the window takes otherwise
    const QString noResponse = "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND";
    const QString badData = "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA";
    const QString portFault = "SERIAL PORT /dev/fake NOT FOUND";
    for (const char* command : {"write", "read", "verify"}) {
        const QString c = QString::fromLatin1(command);
        QTest::newRow(qPrintable(c + ": mute panel"))
            << c << "mute" << ExitStatus::noResponse << noResponse << "";
        QTest::newRow(qPrintable(c + ": identity 0"))
            << c << "identity" << ExitStatus::mismatch
            << QString("SWITCH PANEL/CONFIGURATION MIS-MATCH: THE SWITCH PANEL THAT YOU HAVE "
                       "ATTEMPTED TO %1 DOES NOT MATCH THIS CONFIGURATION PROGRAM")
                   .arg(c == "write" ? "WRITE DATA TO" : "READ DATA FROM")
            << "";
        QTest::newRow(qPrintable(c + ": port will not open"))
            << c << "port" << ExitStatus::portFault << portFault << "";
        QTest::newRow(qPrintable(c + ": bad byte"))
            << c << "bad byte" << ExitStatus::badData << badData << "";
    }
    // A failed write says what the window changed, but ends with its failure.
    for (const char* adjusted : {"rule", "far code"}) {
        const QString a = QString(": ") + adjusted;
        QTest::newRow(qPrintable("write: mute panel" + a))
            << "write"
            << "mute" << ExitStatus::noResponse << noResponse << adjusted;
        QTest::newRow(qPrintable("write: identity 0" + a))
            << "write"
            << "identity" << ExitStatus::mismatch
            << "SWITCH PANEL/CONFIGURATION MIS-MATCH: THE SWITCH PANEL THAT YOU HAVE ATTEMPTED "
               "TO WRITE DATA TO DOES NOT MATCH THIS CONFIGURATION PROGRAM"
            << adjusted;
        QTest::newRow(qPrintable("write: port will not open" + a))
            << "write"
            << "port" << ExitStatus::portFault << portFault << adjusted;
        QTest::newRow(qPrintable("write: bad byte" + a))
            << "write"
            << "bad byte" << ExitStatus::badData << badData << adjusted;
        QTest::newRow(qPrintable("write: Ctrl+C" + a))
            << "write"
            << "interrupt" << ExitStatus::interrupted << "INTERRUPTED" << adjusted;
    }
    for (const char* command : {"write", "verify"})
        QTest::newRow(qPrintable(QString(command) + ": refused file"))
            << QString(command) << "refused file" << ExitStatus::fileRefused
            << "FILE/MODEL MIS-MATCH: AN ERROR HAS OCCURRED READING THE FILE BECAUSE THE FILE WAS "
               "NOT CREATED FOR THE 00-00561-(MDL) OR 00-00567-(MDL) -------------THE FILE READ "
               "OPERATION IS BEING ABANDONED!--------------"
            << "";
    QTest::newRow("read: nowhere to save") << "read"
                                           << "unsavable" << ExitStatus::fileRefused
                                           << "/no-such-folder/hall.zqc: THE FOLDER DOES NOT EXIST"
                                           << "";
    QTest::newRow("read: a name too long to save")
        << "read"
        << "name too long" << ExitStatus::fileRefused
        << "FILE NOT SAVED: THE CONFIGURATION FILE WAS NOT SAVED:"
        << "";
}

void TestCommands::failuresEndWithTheirOwnStatus() {
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QFETCH(int, status);
    QFETCH(QString, lastLine);
    QFETCH(QString, adjusted);
    QTemporaryDir dir;
    Command c;
    c.options.command = command;
    c.options.name = "HALL";
    ConfigFileLine file = adjusted == "rule" ? dimIndicator() : demoLine();
    if (adjusted == "far code")
        file.code[2] = 200;
    c.options.file =
        command == "read" ? dir.filePath("hall.zqc") : writeLine(dir, "demo.zqc", file);
    if (fault == "mute")
        c.port.connected = false;
    else if (fault == "identity")
        c.port.panel.setValue(63, 0);
    else if (fault == "port")
        c.port.refuseOpen = "SERIAL PORT /dev/fake NOT FOUND";
    else if (fault == "bad byte" && command == "write") {
        PanelFaults lost;
        lost.noReply = FaultTarget::writes(10, 10);
        c.port.panel = PanelEngine(lost);
    } else if (fault == "bad byte")
        c.port.panel.setValue(5, 200); // out of range
    else if (fault == "refused file")
        c.options.file = writeLine(dir, "other.zqc", [] {
            ConfigFileLine l = demoLine();
            l.model = "00-00561-MDL";
            return l;
        }());
    else if (fault == "unsavable")
        c.options.file = dir.filePath("no-such-folder/hall.zqc");
    else if (fault == "interrupt")
        c.during = [&](Commissioning& running) {
            c.clock.after(400, [&running] { running.interrupt(); });
        };
    else if (fault == "name too long")
        c.options.file = dir.filePath(QString(300, 'n') + ".zqc");
    QCOMPARE(c.run(), status);
    if (fault == "unsavable") { // refused before the panel is read
        QCOMPARE(c.port.opens, 0);
        QVERIFY(c.said.last().endsWith(lastLine));
        return;
    }
    if (command == "read" && status == ExitStatus::fileRefused) { // read, but not saved
        QVERIFY(c.said.contains("SWITCH PANEL DATA READ SUCCESSFUL"));
        QVERIFY(!c.said.last().contains("ACCESS DENIED"));
        QVERIFY(!c.said.join('\n').contains("saved to"));
    }
    // The adjustment is still said, after the failure.
    const qsizetype failure = c.said.size() - (adjusted.isEmpty() ? 1 : 2);
    QVERIFY2(c.said.value(failure).startsWith(lastLine), qPrintable(c.said.join('\n')));
    if (!adjusted.isEmpty()) {
        QVERIFY(c.said.last().contains(adjusted == "rule" ? "intensity rule" : "no list shows"));
        // Nothing was written, so nothing was written as anything.
        QVERIFY2(c.said.last().contains("; to be written as "), qPrintable(c.said.last()));
    }
    QVERIFY(!c.port.isOpen);
    if (fault == "bad byte" && command == "write") // nothing after the failed address
        QCOMPARE(c.port.panel.value(11), 160);
}

void TestCommands::valuesTheWindowChangesAreSaid_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<ConfigFileLine>("file");
    QTest::addColumn<QList<int>>("panel"); // address, value pairs the panel holds before
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("address"); // and what the panel holds there after
    QTest::addColumn<int>("value");

    QTest::newRow("write: the rule lowers the backlighting")
        << "write" << dimIndicator() << QList<int>{}
        << "NORMAL BACKLIGHTING (%): the file holds 100; written as 30 by the intensity rule" << 22
        << 1;
    ConfigFileLine farCode = demoLine();
    farCode.code[2] = 200;
    QTest::newRow("write: a code no list shows")
        << "write" << farCode << QList<int>{}
        << "SW3: the file holds code 200, which no list shows; written as N/A" << 2 << 160;
    QTest::newRow("read: the rule lowers the backlighting")
        << "read" << ConfigFileLine() << QList<int>{22, 10, 23, 1}
        << "NORMAL BACKLIGHTING (%): the panel holds 100; saved as 30 by the intensity rule" << 22
        << 10;
    QTest::newRow("read: an intensity code no list shows")
        << "read" << ConfigFileLine() << QList<int>{24, 8}
        << "DIMMED BACKLIGHTING AND INDICATOR (%): the panel holds code 8, which no list shows; "
           "saved as 100"
        << 24 << 8;
    QTest::newRow("verify: compared after the rule")
        << "verify" << dimIndicator() << QList<int>{22, 1}
        << "NORMAL BACKLIGHTING (%): the file holds 100; compared as 30 by the intensity rule" << 22
        << 1;
}

// The window's messages are printed as it would show them, and each value it
// took otherwise than given is named on the last lines, with exit status 9.
void TestCommands::valuesTheWindowChangesAreSaid() {
    QFETCH(QString, command);
    QFETCH(ConfigFileLine, file);
    QFETCH(QList<int>, panel);
    QFETCH(QString, lastLine);
    QFETCH(int, address);
    QFETCH(int, value);
    QTemporaryDir dir;
    Command c;
    c.options.command = command;
    c.options.name = "HALL";
    c.options.file = command == "read" ? dir.filePath("hall.zqc") : writeLine(dir, "in.zqc", file);
    if (command == "verify") // the panel holds every value of the demo file
        for (size_t k = 0; k < 25; ++k)
            c.port.panel.setValue(int(k), ConfigFile::panelValues(file)[k]);
    for (qsizetype i = 0; i + 1 < panel.size(); i += 2)
        c.port.panel.setValue(panel[i], panel[i + 1]);
    QCOMPARE(c.run(), ExitStatus::changed);
    QCOMPARE(c.said.last(), lastLine);
    QCOMPARE(c.port.panel.value(address), value);
    if (lastLine.contains("rule")) // the message, before the outcome
        QVERIFY2(c.said.indexOf(ruleMessage) >= 0, qPrintable(c.said.join('\n')));
    if (command == "read") { // the file holds what the window shows
        const ConfigFileLine saved = *readConfigFile(c.options.file).line;
        QCOMPARE(ConfigFile::panelValues(saved)[size_t(address)],
                 qint16(lastLine.contains("rule") ? 1 : 10));
    }
}

// The file says backlighting 100 %, indicator 30 %; a write would give the
// panel 30 % for both, and that is what verify compares with.
void TestCommands::verifyComparesWhatAWriteWouldGive() {
    QTemporaryDir dir;
    Command c;
    c.options.command = "verify";
    const ConfigFileLine file = dimIndicator();
    c.options.file = writeLine(dir, "dim.zqc", file);
    c.options.log = dir.filePath("site.log");
    for (size_t k = 0; k < 25; ++k)
        c.port.panel.setValue(int(k), ConfigFile::panelValues(file)[k]);
    QCOMPARE(c.run(), ExitStatus::differs);
    const QString difference = "NORMAL BACKLIGHTING (%)  30  100";
    const QString adjustment =
        "NORMAL BACKLIGHTING (%): the file holds 100; compared as 30 by the intensity rule";
    QCOMPARE(c.table, QStringList({"ITEM  TO BE WRITTEN  IN THE PANEL", difference}));
    QCOMPARE(c.said.last(), adjustment);
    // The site's log keeps both: what differs and what the window changed.
    QFile log(c.options.log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 2); // one line and its end
    const auto line = SiteLog::parse(QString::fromUtf8(lines[0]));
    QVERIFY(line);
    QCOMPARE(line->command, QString("verify"));
    QCOMPARE(line->outcome, QString("differs"));
    QCOMPARE(line->differences, difference + "; " + adjustment);
}

void TestCommands::identifyNamesTheFilesThePanelHolds_data() {
    QTest::addColumn<int>("sw3");           // the panel's SW3 code
    QTest::addColumn<bool>("silent");       // no panel answers
    QTest::addColumn<QStringList>("files"); // in the temporary folder; "." for the folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("logged"); // file and model of each line

    QTest::newRow("the folder: both copies match")
        << 2 << false << QStringList{"."} << ExitStatus::ok << QStringList{"LOBBY.zqc", "SAME.zqc"}
        << "THE SWITCH PANEL HOLDS %1/LOBBY.zqc, %1/SAME.zqc"
        << QStringList{"LOBBY.zqc 00-00561", "SAME.zqc 00-00561"};
    QTest::newRow("none: the nearest")
        << 3 << false << QStringList{"LOBBY.zqc", "BAD.zqc"} << ExitStatus::differs
        << QStringList{"LOBBY.zqc: SW3 (panel A 4, file A 3)"}
        << "NO FILE MATCHES THE SWITCH PANEL; NEAREST: 1 ITEM DIFFERS" << QStringList{" 00-00561"};
    QTest::newRow("no usable file: the panel is not read")
        << 2 << false << QStringList{"BAD.zqc", "GONE.zqc"} << ExitStatus::fileRefused
        << QStringList{} << "no configuration file to compare with" << QStringList{" "};
    QTest::newRow("no panel") << 2 << true << QStringList{"LOBBY.zqc"} << ExitStatus::noResponse
                              << QStringList{} << LinkTexts::noResponse << QStringList{" "};
}

void TestCommands::identifyNamesTheFilesThePanelHolds() {
    QFETCH(int, sw3);
    QFETCH(bool, silent);
    QFETCH(QStringList, files);
    QFETCH(int, status);
    QFETCH(QStringList, table);
    QFETCH(QString, last);
    QFETCH(QStringList, logged);
    QTemporaryDir dir;
    writeLine(dir, "LOBBY.zqc", demoLine());
    writeLine(dir, "SAME.zqc", demoLine());
    QFile bad(dir.filePath("BAD.zqc"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("no configuration\r\n");
    bad.close();
    Command c;
    c.options.command = "identify";
    QTemporaryDir logDir;
    c.options.log = logDir.filePath("site.log");
    for (const QString& f : files)
        c.options.files << (f == "." ? dir.path() : dir.filePath(f));
    for (size_t k = 0; k < 25; ++k)
        c.port.panel.setValue(int(k), ConfigFile::panelValues(demoLine())[k]);
    c.port.panel.setValue(2, sw3);
    c.port.connected = !silent;
    QCOMPARE(c.run(), status);
    QStringList shown;
    for (const QString& row : c.table)
        shown << (row.startsWith(dir.path()) ? QFileInfo(row).fileName() : row);
    QCOMPARE(shown, table);
    QCOMPARE(c.said.last(), last.contains("%1") ? last.arg(dir.path()) : last);
    if (status == ExitStatus::fileRefused)
        QCOMPARE(c.port.opens, 0);
    QCOMPARE(c.port.sent.contains('S'), false); // nothing written
    // A line for each file the panel holds, with the model it was found to be.
    QFile log(c.options.log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QStringList lines;
    for (const QString& text : QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = text.split('\t');
        QCOMPARE(fields.value(2), QString("identify"));
        lines << QFileInfo(fields.value(3)).fileName() + ' ' + fields.value(6);
    }
    QCOMPARE(lines, logged);
}

void TestCommands::progressLineOnlyOnATerminal_data() {
    QTest::addColumn<bool>("terminal");
    QTest::newRow("a terminal") << true;
    QTest::newRow("a log") << false;
}

// On a terminal the progress line counts up in place, and every status line
// first erases it; a log gets the very same status lines and nothing else.
void TestCommands::progressLineOnlyOnATerminal() {
    QFETCH(bool, terminal);
    Command c;
    c.options.command = "verify";
    c.options.file = PANELSIM_DEMO;
    if (terminal)
        c.progress = QStringList();
    c.run();
    QVERIFY(c.said.contains("address 24: COMMUNICATIONS OK"));
    QVERIFY(std::none_of(c.said.begin(), c.said.end(),
                         [](const QString& l) { return l.contains('\r'); }));
    if (!terminal)
        return;
    QList<int> counts;
    int shown = 0; // characters of the progress line on the terminal
    for (const QString& t : *c.progress) {
        QVERIFY(t.startsWith('\r'));
        if (t.trimmed().isEmpty()) {
            QCOMPARE(t.size(), shown + 2); // erased whole, cursor back at the start
            shown = 0;
            continue;
        }
        QVERIFY(t.size() - 1 >= shown);
        shown = int(t.size() - 1);
        counts << t.section(']', 1).section(' ', 1, 1).toInt();
    }
    QList<int> whole;
    for (int i = 0; i <= PanelLink::steps; ++i)
        whole << i;
    QCOMPARE(counts, whole);
    QCOMPARE(shown, 0); // erased before the outcome
}

// A fresh panel, but for SW3 and the indicator: every row that differs, none
// that agrees.
void TestCommands::verifyListsEachDifference() {
    Command c;
    c.options.command = "verify";
    c.options.file = PANELSIM_DEMO;
    c.port.panel.setValue(2, 160);
    c.port.panel.setValue(23, 7);
    QCOMPARE(c.run(), ExitStatus::differs);
    QCOMPARE(c.table.first(), QString("ITEM  TO BE WRITTEN  IN THE PANEL"));
    QCOMPARE(c.table.size(),
             1 + 20); // SW9, SW10, LED9, LED10 are N/A in both; the indicator agrees
    QVERIFY(c.table.contains("SW3  A 3  N/A"));
    QVERIFY(c.table.contains("DIMMING  D 2  N/A"));
    QVERIFY(c.table.contains("NORMAL BACKLIGHTING (%)  70  100"));
    QVERIFY(!c.table.join('\n').contains("NORMAL INDICATOR"));
}

// Read with the options as the command line gives them: the panel name is
// the file's, in capitals, at most 12 characters.
void TestCommands::readSavesWhatThePanelHolds() {
    QTemporaryDir dir;
    Command c;
    const QString saved = dir.filePath("lobby-east.zqc");
    c.options = *parseCommandLine({"panelconfig", "read", saved, "--port", "/dev/fake"}).options;
    const ConfigFileLine demo = demoLine();
    for (size_t k = 0; k < 25; ++k)
        c.port.panel.setValue(int(k), ConfigFile::panelValues(demo)[k]);
    c.port.panel.setValue(5, 159);
    QCOMPARE(c.run(), ExitStatus::ok);
    const auto read = readConfigFile(saved).line;
    QVERIFY(read);
    QCOMPARE(read->panel, QString("LOBBY-EAST"));
    for (int k = 0; k < 20; ++k) {
        QCOMPARE(read->code[k], k == 5 ? qint16(159) : demo.code[k]);
        QVERIFY(read->desig[k].isEmpty());
    }
    QCOMPARE(read->value, demo.value);
    QCOMPARE(c.said.last(), "saved to " + saved);
}

// Two panels plugged in one after the other, then Ctrl+C while waiting.
void TestCommands::repeatProgramsPanelAfterPanel() {
    QTemporaryDir dir;
    Command c;
    c.options.command = "write";
    c.options.repeat = true;
    c.options.file = writeLine(dir, "demo.zqc", demoLine());
    const PanelValues expected = ConfigFile::panelValues(demoLine());
    int firstDone = -1;
    c.during = [&](Commissioning& running) {
        c.clock.after(3000, [&] {
            firstDone = c.port.panel.value(24);
            c.port.connected = false; // unplugged
        });
        c.clock.after(6000, [&] {
            c.port.panel = PanelEngine(); // the next, fresh panel
            c.port.connected = true;
        });
        c.clock.after(12000, [&] { c.port.connected = false; });
        c.clock.after(15000, [&running] { running.interrupt(); });
    };
    QCOMPARE(c.run(), ExitStatus::ok);
    QCOMPARE(firstDone, int(expected[24]));
    for (size_t k = 0; k < 25; ++k)
        QCOMPARE(c.port.panel.value(int(k)), int(expected[k]));
    QVERIFY(c.said.contains("panel 1: programmed"));
    QVERIFY(c.said.contains("panel 2: programmed"));
    QCOMPARE(c.said.last(), "panels programmed: 2, failed: 0");
}

void TestCommands::repeatSaysWrittenOnceAPanelWas_data() {
    QTest::addColumn<bool>("panel"); // one is plugged in and unplugged before Ctrl+C
    QTest::addColumn<QString>("lastLine");
    const QString rule =
        "NORMAL BACKLIGHTING (%): the file holds 100; %1 as 30 by the intensity rule";
    QTest::newRow("no panel came") << false << rule.arg("to be written");
    QTest::newRow("a panel programmed") << true << rule.arg("written");
}

void TestCommands::repeatSaysWrittenOnceAPanelWas() {
    QFETCH(bool, panel);
    QFETCH(QString, lastLine);
    QTemporaryDir dir;
    Command c;
    c.options.command = "write";
    c.options.repeat = true;
    c.options.file = writeLine(dir, "dim.zqc", dimIndicator());
    c.port.connected = panel;
    c.during = [&](Commissioning& running) {
        c.clock.after(3000, [&] { c.port.connected = false; });
        c.clock.after(6000, [&running] { running.interrupt(); });
    };
    const int status = c.run();
    QCOMPARE(c.said.contains("panel 1: programmed"), panel);
    QCOMPARE(c.said.last(), lastLine);
    if (panel)
        QCOMPARE(status, ExitStatus::changed);
}

void TestCommands::ctrlCStopsAWriteAtItsNextWait_data() {
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("write") << false << "INTERRUPTED";
    QTest::newRow("write --repeat") << true << "panels programmed: 0, failed: 0, interrupted: 1";
}

// Ctrl+C in the middle of the writes: the port is closed at the next wait,
// no further byte goes out, and the command ends with 130.
void TestCommands::ctrlCStopsAWriteAtItsNextWait() {
    QFETCH(bool, repeat);
    QFETCH(QString, lastLine);
    QTemporaryDir dir;
    Command c;
    c.options.command = "write";
    c.options.repeat = repeat;
    c.options.file = writeLine(dir, "demo.zqc", demoLine());
    qsizetype sentThen = -1;
    c.during = [&](Commissioning& running) {
        c.clock.after(400, [&] {
            sentThen = c.port.sent.size();
            running.interrupt();
        });
    };
    QCOMPARE(c.run(), ExitStatus::interrupted);
    QCOMPARE(c.said.last(), lastLine);
    QVERIFY(sentThen > 0);
    QVERIFY(c.port.sent.size() - sentThen <= 12); // at most the exchange under way
    QVERIFY(!c.port.isOpen);
    QCOMPARE(c.port.panel.value(24), 10); // never reached
}

// The commands draw nothing, so they need no window system at all: not even
// a platform that exists.
void TestCommands::commandsNeedNoWindowSystem() {
    const ProgramRun run =
        runProgram({"write", PANELSIM_DEMO, "--port", "/dev/null-no-such-port"}, {},
                   {"QT_QPA_PLATFORM=no-such-platform", "QT_PLUGIN_PATH=/nonexistent",
                    "QT_QPA_PLATFORM_PLUGIN_PATH="
                    "/nonexistent"});
    QCOMPARE(run.status, ExitStatus::portFault);
    QVERIFY2(run.err.contains("/dev/null-no-such-port"), qPrintable(run.err));
    QVERIFY2(!run.err.contains("platform plugin"), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
