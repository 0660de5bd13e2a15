#include "Harness.h"
#include "ProgramRun.h"
#include "app/CommandLine.h"
#include "platform/Console.h"
#include "ui/Startup.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void wrongCommandLineExitsWithTheUsageLine_data();
    void wrongCommandLineExitsWithTheUsageLine();
    void traceFileThatCannotBeOpened();
    void fileArgumentOpensAtStart();
    void refusedFileLeavesTheStartUpWindow_data();
    void refusedFileLeavesTheStartUpWindow();
    void consoleEncodingFollowsWhereTheTextGoes_data();
    void consoleEncodingFollowsWhereTheTextGoes();
    void refusedBeforeAnythingRuns_data();
    void refusedBeforeAnythingRuns();
    void severalNamesForIdentifyAndFind_data();
    void severalNamesForIdentifyAndFind();
    void nameThatIsNotUtf8IsRefused();
    void windowWithoutDisplaySaysSo();
};

namespace {
using Run = ProgramRun;

const QString mismatchTitle = QStringLiteral("FILE/MODEL MIS-MATCH");
} // namespace

void TestCommandLine::helpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("expected"); // lines the output must hold
    QTest::newRow("help") << "--help"
                          << QStringList{"  --port <DEVICE>",
                                         "  FILE ",
                                         "Exit status:",
                                         "  0    the window was closed",
                                         "  2    wrong option",
                                         "  9    a line of the --log",
                                         "  10   no COMMAND and no display"};
    QTest::newRow("short help") << "-h" << QStringList{"  --port <DEVICE>"};
    QTest::newRow("version") << "--version" << QStringList{"panelconfig " PANEL_VERSION "\n"};
}

void TestCommandLine::helpAndVersionNeedNoDisplay() {
    QFETCH(QString, option);
    QFETCH(QStringList, expected);
    const Run run = runProgram({option});
    QCOMPARE(run.status, ExitStatus::ok);
    QCOMPARE(run.err, QString());
    for (const QString& line : expected)
        QVERIFY2(QString(run.out).contains(line), run.out.constData());
    if (option == "--version")
        QCOMPARE(QString(run.out), expected.first());
    else
        QVERIFY2(run.out.startsWith("Usage: " PANELCONFIG_PATH " [options] [COMMAND] [FILE]\n"),
                 run.out.constData());
}

void TestCommandLine::wrongCommandLineExitsWithTheUsageLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'.";
    QTest::newRow("port without device")
        << QStringList{"--port"} << "Missing value after '--port'.";
    QTest::newRow("two files") << QStringList{"a.zqc", "b.zqc"} << "Only one FILE can be opened.";
}

// Refused before any window is made: without a display the program would
// abort instead of exiting with 2.
void TestCommandLine::wrongCommandLineExitsWithTheUsageLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, ExitStatus::usage);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, "panelconfig: " + reason +
                          "\nUsage: " PANELCONFIG_PATH " [options] [COMMAND] [FILE]\n");
}

// Refused before the window opens, rather than a run that traces nothing.
void TestCommandLine::traceFileThatCannotBeOpened() {
    const Run run = runProgram({"--trace", "/nonexistent-folder/trace.txt"});
    QCOMPARE(run.status, ExitStatus::usage);
    QVERIFY2(run.err.startsWith("panelconfig: cannot open the trace file "
                                "/nonexistent-folder/trace.txt: "),
             qPrintable(run.err));
    QCOMPARE(parseCommandLine({"panelconfig", "--trace", "t.txt"}).options.value().trace, "t.txt");
}

// The file named on the command line is shown as the open command shows it,
// and the port goes to the tool.
void TestCommandLine::fileArgumentOpensAtStart() {
    const CommandLineResult parsed =
        parseCommandLine({"panelconfig", "--port", "/dev/ttyUSB1", PANELSIM_DEMO});
    QVERIFY(parsed.options);
    QCOMPARE(parsed.options->port, "/dev/ttyUSB1");
    Harness h;
    showAtStart(h.tool, parsed.options->file);
    QVERIFY(h.form().isVisible());
    QTRY_COMPARE(h.session().boxText(2), "LOBBY");
    QCOMPARE(h.session().boxText(3), "ENTRY");
    QCOMPARE(h.rec().s2, 1);         // STAIRS on A 2
    QCOMPARE(h.rec().indpercent, 7); // 90 %
    QVERIFY(h.dialogs.messages.isEmpty());
    QVERIFY(h.dialogs.fileRequests.isEmpty());
}

void TestCommandLine::refusedFileLeavesTheStartUpWindow_data() {
    QTest::addColumn<QByteArray>("content"); // empty: no such file
    QTest::newRow("other model") << QByteArray("\"00-00999-MDL\",\"LOBBY\",\"ENTRY\",0\r\n");
    QTest::newRow("missing file") << QByteArray();
}

void TestCommandLine::refusedFileLeavesTheStartUpWindow() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("LOBBY.zqc");
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    Harness h;
    const QString startName = h.session().boxText(2);
    showAtStart(h.tool, parseCommandLine({"panelconfig", path}).options.value().file);
    QTRY_COMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages.first().title, mismatchTitle);
    QVERIFY(h.form().isVisible());
    QCOMPARE(h.session().boxText(2), startName);
    for (int list = 1; list <= 44; ++list)
        QCOMPARE(h.session().listIndex(list), -1);
}

Q_DECLARE_METATYPE(Console::Encoding)

void TestCommandLine::consoleEncodingFollowsWhereTheTextGoes_data() {
    using Kind = Console::Encoding::Kind;
    QTest::addColumn<bool>("windows");
    QTest::addColumn<bool>("console");
    QTest::addColumn<unsigned>("codePage");
    QTest::addColumn<Console::Encoding>("expected");
    QTest::newRow("Linux terminal") << false << true << 0u << Console::Encoding{};
    QTest::newRow("Linux pipe") << false << false << 0u << Console::Encoding{};
    QTest::newRow("console window") << true << true << 850u << Console::Encoding{Kind::Utf16};
    QTest::newRow("UTF-8 console window")
        << true << true << 65001u << Console::Encoding{Kind::Utf16};
    QTest::newRow("redirected in a console")
        << true << false << 850u << Console::Encoding{Kind::CodePage, 850};
    QTest::newRow("redirected in a UTF-8 console")
        << true << false << 65001u << Console::Encoding{Kind::CodePage, 65001};
    QTest::newRow("redirected, no console") << true << false << 0u << Console::Encoding{};
}

void TestCommandLine::consoleEncodingFollowsWhereTheTextGoes() {
    QFETCH(bool, windows);
    QFETCH(bool, console);
    QFETCH(unsigned, codePage);
    QFETCH(Console::Encoding, expected);
    const Console::Encoding chosen = Console::choose(windows, console, codePage);
    QCOMPARE(int(chosen.kind), int(expected.kind));
    QCOMPARE(chosen.codePage, expected.codePage);
}

void TestCommandLine::refusedBeforeAnythingRuns_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    const QString commands =
        " is not a command; the commands are write, read, verify, identify, find and sheet.";
    QTest::newRow("unknown command")
        << QStringList{"frobnicate", "x.zqc"} << "frobnicate" + commands;
    QTest::newRow("command in capitals") << QStringList{"WRITE", "x.zqc"} << "WRITE" + commands;
    QTest::newRow("command in capitals alone") << QStringList{"Verify"} << "Verify" + commands;
    QTest::newRow("empty port") << QStringList{"write", "x.zqc", "--port", ""}
                                << "--port needs a DEVICE; an empty name is no serial port.";
    QTest::newRow("blank port for the window")
        << QStringList{"--port", "  "} << "--port needs a DEVICE; an empty name is no serial port.";
    QTest::newRow("log without a command")
        << QStringList{"--log", "site.log"} << "--log goes with a command.";
    QTest::newRow("repeat with read")
        << QStringList{"read", "x.zqc", "--repeat"} << "--repeat goes with write.";
    QTest::newRow("name with write")
        << QStringList{"write", "x.zqc", "--name", "X"} << "--name goes with read.";
    QTest::newRow("command without FILE") << QStringList{"verify"} << "verify needs a FILE.";
    QTest::newRow("two configuration files")
        << QStringList{"a.zqc", "b.zqc"} << "Only one FILE can be opened.";
    QTest::newRow("status without FOLDER") << QStringList{"status"} << "status needs one FOLDER.";
    QTest::newRow("status of two folders")
        << QStringList{"status", "a", "b"} << "status needs one FOLDER.";
    QTest::newRow("status with a port")
        << QStringList{"status", "a", "--port", "/dev/ttyS0"} << "status takes only a FOLDER.";
    QTest::newRow("site with a command") << QStringList{"write", "x.zqc", "--site", "a"}
                                         << "--site opens the window on a FOLDER; it takes no "
                                            "COMMAND and no FILE.";
    QTest::newRow("site with a file") << QStringList{"--site", "a", "x.zqc"}
                                      << "--site opens the window on a FOLDER; it takes no "
                                         "COMMAND and no FILE.";
    QTest::newRow("site without FOLDER") << QStringList{"--site", ""} << "--site needs a FOLDER.";
    QTest::newRow("identify without FILE")
        << QStringList{"identify", "--port", "auto"} << "identify needs a FILE.";
    const QString findTakesDevices =
        "find takes the DEVICEs to probe, and neither --port, --trace nor --log.";
    QTest::newRow("find with --port")
        << QStringList{"find", "--port", "/dev/ttyUSB0"} << findTakesDevices;
    QTest::newRow("find with --log")
        << QStringList{"find", "--log", "site.log"} << findTakesDevices;
}

// identify and find take any number of names; the others one FILE.
void TestCommandLine::severalNamesForIdentifyAndFind_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("identify a folder and a file, on the panel found")
        << QStringList{"identify", "site", "x.zqc", "--port", "auto"} << "auto"
        << QStringList{"site", "x.zqc"};
    QTest::newRow("find the listed ports") << QStringList{"find"} << QString() << QStringList{};
    QTest::newRow("find given devices") << QStringList{"find", "/dev/ttyUSB0", "/dev/ttyUSB1"}
                                        << QString() << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"};
}

void TestCommandLine::severalNamesForIdentifyAndFind() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, port);
    QFETCH(QStringList, files);
    const CommandLineResult result = parseCommandLine(QStringList{"panelconfig"} + arguments);
    QVERIFY2(result.options, qPrintable(result.errors));
    QCOMPARE(result.options->command, arguments.first());
    QCOMPARE(result.options->port, port);
    QCOMPARE(result.options->files, files);
    QCOMPARE(result.options->file, QString());
}

void TestCommandLine::refusedBeforeAnythingRuns() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const CommandLineResult result = parseCommandLine(QStringList{"panelconfig"} + arguments);
    QVERIFY(!result.options);
    QCOMPARE(result.exitStatus, ExitStatus::usage);
    QCOMPARE(result.errors.section('\n', 0, 0), "panelconfig: " + reason);
}

// Qt would turn the byte into U+FFFD, and the file could not be found.
void TestCommandLine::nameThatIsNotUtf8IsRefused() {
    char program[] = "panelconfig";
    char command[] = "write";
    char good[] = "caf\xc3\xa9.zqc";
    char bad[] = "caf\xe9.zqc";
    char* fine[] = {program, command, good, nullptr};
    QCOMPARE(undecodableArgument(3, fine), std::nullopt);
    char* refused[] = {program, command, bad, nullptr};
    const auto message = undecodableArgument(3, refused);
    QVERIFY(message);
    QVERIFY2(message->startsWith("panelconfig: the name caf\uFFFD.zqc cannot be used: it is not "
                                 "UTF-8 text"),
             qPrintable(*message));
}

// Qt's own end would be an abort (134) and the advice to reinstall.
void TestCommandLine::windowWithoutDisplaySaysSo() {
    const Run run = runProgram({PANELSIM_DEMO});
    QCOMPARE(run.status, ExitStatus::noDisplay);
    QVERIFY2(run.err.startsWith("panelconfig: the window needs a display, and none could be "
                                "reached here.\nThe commands write, read, verify, identify, "
                                "find, status, sheet, import and export run without one"),
             qPrintable(run.err));
    QVERIFY(!run.err.contains("Reinstalling"));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
