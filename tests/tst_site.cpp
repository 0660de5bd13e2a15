#include "ProgramRun.h"
#include "SiteFiles.h"
#include "Unprivileged.h"
#include "cli/SiteStatus.h"
#include "files/ConfigFile.h"
#include "link/LinkTexts.h"
#include "platform/Settings.h"
#include "site/Handover.h"
#include "site/SameName.h"
#include "site/SiteModel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// A site without any window: its files in order, each panel's state from the
// log, the summary, the next panel to write, and what changes meanwhile.
class TestSite : public QObject {
    Q_OBJECT
private slots:
    void filesInNaturalOrder_data();
    void filesInNaturalOrder();
    void stateFromTheLastLine_data();
    void stateFromTheLastLine();
    void fileWithoutLinesIsNotYet();
    void lineForAFileThatIsGone();
    void linesAppendedMeanwhile();
    void halfWrittenLineWaitsForItsEnd();
    void replacedLogIsReadAnew();
    void filesThatDoNotOpenSayWhy();
    void fileThisUserMayNotRead();
    void samePanelNameMarkedOnBoth();
    void sameNameRule_data();
    void sameNameRule();
    void handoverFieldsPerFolder();
    void summaryLine_data();
    void summaryLine();
    void nextToWrite_data();
    void nextToWrite();
    void folderThatCannotBeRead_data();
    void folderThatCannotBeRead();
    void followsTheFolderAndTheLog();
    void logLineFields_data();
    void logLineFields();
    void entryWrittenAsTheLogHasAlwaysBeen_data();
    void entryWrittenAsTheLogHasAlwaysBeen();
    void modelLastSeen_data();
    void modelLastSeen();
    void programmedIsTheLinksOwnText();
    void statusPrintsWhatTheSiteShows();
    void statusExitStatus_data();
    void statusExitStatus();

private:
    static void writeConfig(const QString& path, const QString& panel);
    static void appendLog(const QString& folder, const QByteArray& lines);
    static QByteArray line(const QString& file, const QString& outcome,
                           const QString& command = "write", const QString& extra = {},
                           const QString& model = {});
};

void TestSite::writeConfig(const QString& path, const QString& panel) {
    writeSiteConfig(path, panel);
}

void TestSite::appendLog(const QString& folder, const QByteArray& lines) {
    QFile file(QDir(folder).filePath("site.log"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write(lines);
}

QByteArray TestSite::line(const QString& file, const QString& outcome, const QString& command,
                          const QString& extra, const QString& model) {
    QStringList fields{"2026-03-02T09:15:00", "/dev/ttyUSB0", command, file, outcome};
    if (!extra.isEmpty() || !model.isEmpty())
        fields << extra;
    if (!model.isEmpty())
        fields << model;
    return (fields.join('\t') + '\n').toUtf8();
}

namespace {
QStringList filesOf(const SiteModel& site) {
    QStringList files;
    for (const SitePanel& p : site.panels())
        files << p.file;
    return files;
}
} // namespace

void TestSite::filesInNaturalOrder_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("ordered");
    QTest::newRow("numbers by value") << QStringList{"LOBBY10.zqc", "LOBBY2.zqc", "LOBBY1.zqc"}
                                      << QStringList{"LOBBY1.zqc", "LOBBY2.zqc", "LOBBY10.zqc"};
    QTest::newRow("letters without case")
        << QStringList{"b1.zqc", "A2.zqc", "a10.zqc"} << QStringList{"A2.zqc", "a10.zqc", "b1.zqc"};
    QTest::newRow("several numbers") << QStringList{"F2-R10.zqc", "F10-R1.zqc", "F2-R9.zqc"}
                                     << QStringList{"F2-R9.zqc", "F2-R10.zqc", "F10-R1.zqc"};
    QTest::newRow("numbers longer than a long")
        << QStringList{"P123456789012345678901.zqc", "P99999999999999999999.zqc"}
        << QStringList{"P99999999999999999999.zqc", "P123456789012345678901.zqc"};
    QTest::newRow("a prefix first")
        << QStringList{"LOBBY-EAST.zqc", "LOBBY.zqc"} << QStringList{"LOBBY.zqc", "LOBBY-EAST.zqc"};
}

void TestSite::filesInNaturalOrder() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, ordered);
    QTemporaryDir dir;
    for (const QString& f : files)
        writeConfig(dir.filePath(f), "P");
    writeConfig(dir.filePath("notes.txt"), "NOT A SITE FILE");
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(filesOf(site), ordered);
}

void TestSite::stateFromTheLastLine_data() {
    const QString programmed = "SWITCH PANEL HAS BEEN PROGRAMMED";
    const QString silent = "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND";
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("port");
    QTest::newRow("programmed") << line("A.zqc", programmed) << "programmed"
                                << "/dev/ttyUSB0";
    QTest::newRow("by a repeat") << line("A.zqc", programmed, "write panel 3") << "programmed"
                                 << "/dev/ttyUSB0";
    QTest::newRow("failed, with the reason")
        << line("A.zqc", silent) << "failed: " + silent << "/dev/ttyUSB0";
    QTest::newRow("interrupted is a failure")
        << line("A.zqc", "INTERRUPTED") << "failed: INTERRUPTED"
        << "/dev/ttyUSB0";
    QTest::newRow("verified") << line("A.zqc", programmed) + line("A.zqc", "agrees", "verify")
                              << "verified"
                              << "/dev/ttyUSB0";
    QTest::newRow("differs") << line("A.zqc", "differs", "verify", "SW1 A1 B2") << "differs"
                             << "/dev/ttyUSB0";
    QTest::newRow("a verify that failed")
        << line("A.zqc", silent, "verify") << "failed: " + silent << "/dev/ttyUSB0";
    QTest::newRow("the last line wins")
        << line("A.zqc", silent) + QByteArray("2026-03-02T09:20:00\t/dev/ttyS1\twrite\tA.zqc\t") +
               programmed.toUtf8() + "\n"
        << "programmed"
        << "/dev/ttyS1";
    QTest::newRow("a read programs nothing")
        << line("A.zqc", programmed) + line("A.zqc", "SWITCH PANEL DATA READ SUCCESSFUL", "read")
        << "programmed"
        << "/dev/ttyUSB0";
    QTest::newRow("named with its folder")
        << line("/home/tech/site/A.zqc", programmed) << "programmed"
        << "/dev/ttyUSB0";
    QTest::newRow("named as on Windows") << line("C:\\site\\A.zqc", programmed) << "programmed"
                                         << "/dev/ttyUSB0";
    QTest::newRow("CRLF line ends")
        << QByteArray(line("A.zqc", programmed)).replace("\n", "\r\n") << "programmed"
        << "/dev/ttyUSB0";
    QTest::newRow("another file's line") << line("AB.zqc", programmed) << "not yet"
                                         << "";
    QTest::newRow("lines not of the log are passed over")
        << QByteArray("garbage\n\nno\ttime\there\tA.zqc\tSWITCH PANEL HAS BEEN PROGRAMMED\n") +
               line("A.zqc", silent) + "2026-03-02T09:15:00\tport\twrite\n"
        << "failed: " + silent << "/dev/ttyUSB0";
}

void TestSite::stateFromTheLastLine() {
    QFETCH(QByteArray, log);
    QFETCH(QString, state);
    QFETCH(QString, port);
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    appendLog(dir.path(), log);
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.panels().size(), 1);
    const SitePanel& p = site.panels().first();
    QCOMPARE(p.stateText(), state);
    QCOMPARE(p.port, port);
    QCOMPARE(p.when.isValid(), !port.isEmpty());
}

void TestSite::fileWithoutLinesIsNotYet() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    writeConfig(dir.filePath("B.zqc"), "HALL");
    appendLog(dir.path(), line("B.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED"));
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.panels()[0].state, SitePanel::State::NotYet);
    QVERIFY(!site.panels()[0].when.isValid());
    QCOMPARE(site.panels()[0].panel, QString("LOBBY"));
    QCOMPARE(site.panels()[1].state, SitePanel::State::Programmed);
}

// No row for it; a file of that name put back takes its state again.
void TestSite::lineForAFileThatIsGone() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    appendLog(dir.path(), line("GONE.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED"));
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(filesOf(site), QStringList{"A.zqc"});
    QCOMPARE(site.summary(), QString("0 OF 1 PROGRAMMED"));
    writeConfig(dir.filePath("GONE.zqc"), "HALL");
    QSignalSpy changed(&site, &SiteModel::changed);
    site.refresh();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(filesOf(site), (QStringList{"A.zqc", "GONE.zqc"}));
    QCOMPARE(site.panels()[1].state, SitePanel::State::Programmed);
    QVERIFY(QFile::remove(dir.filePath("A.zqc")));
    site.refresh();
    QCOMPARE(filesOf(site), QStringList{"GONE.zqc"});
}

void TestSite::linesAppendedMeanwhile() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    writeConfig(dir.filePath("B.zqc"), "HALL");
    SiteModel site;
    QVERIFY(site.open(dir.path())); // no log yet
    QSignalSpy changed(&site, &SiteModel::changed);
    site.refresh();
    QCOMPARE(changed.size(), 0); // nothing new, nothing said
    appendLog(dir.path(), line("A.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED"));
    site.refresh();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(site.panels()[0].state, SitePanel::State::Programmed);
    appendLog(dir.path(), line("B.zqc", "INTERRUPTED") + line("A.zqc", "differs", "verify"));
    site.refresh();
    QCOMPARE(site.panels()[0].state, SitePanel::State::Differs);
    QCOMPARE(site.panels()[1].state, SitePanel::State::Failed);
    QCOMPARE(site.linesRead(), 3); // each line read once
}

// Another writer's line is read once it is whole.
void TestSite::halfWrittenLineWaitsForItsEnd() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    const QByteArray whole = line("A.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED");
    appendLog(dir.path(), whole.left(40));
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.panels()[0].state, SitePanel::State::NotYet);
    appendLog(dir.path(), whole.mid(40));
    site.refresh();
    QCOMPARE(site.panels()[0].state, SitePanel::State::Programmed);
    QCOMPARE(site.linesRead(), 1);
}

void TestSite::replacedLogIsReadAnew() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    appendLog(dir.path(), line("A.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED") +
                              line("A.zqc", "agrees", "verify"));
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.panels()[0].state, SitePanel::State::Verified);
    QVERIFY(QFile::remove(dir.filePath("site.log")));
    appendLog(dir.path(), "2026-04-01T08:00:00\t/dev/ttyS0\twrite\tA.zqc\tINTERRUPTED\n");
    site.refresh();
    QCOMPARE(site.panels()[0].stateText(), QString("failed: INTERRUPTED"));
    QVERIFY(QFile::remove(dir.filePath("site.log")));
    site.refresh();
    QCOMPARE(site.panels()[0].state, SitePanel::State::NotYet);
}

void TestSite::filesThatDoNotOpenSayWhy() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    {
        QFile other(dir.filePath("B.zqc"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("\"00-00999-MDL\",\"X\"\r\n");
    }
    QVERIFY(QDir(dir.path()).mkdir("C.zqc")); // a folder of that name is no file
    appendLog(dir.path(), line("B.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED"));
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(filesOf(site), (QStringList{"A.zqc", "B.zqc"}));
    const SitePanel& b = site.panels()[1];
    QVERIFY(!b.opens());
    QCOMPARE(b.stateText(),
             QString("does not open: not a configuration file of the 00-00561 or 00-00567"));
    QVERIFY(!b.toWrite());
    QCOMPARE(site.summary(), QString("0 OF 2 PROGRAMMED, 1 DOES NOT OPEN"));
}

void TestSite::fileThisUserMayNotRead() {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    QFile::setPermissions(dir.filePath("A.zqc"), QFile::ReadOwner | QFile::WriteOwner);
    SiteModel site;
    {
        Unprivileged nobody;
        QVERIFY(nobody.active());
        QVERIFY(site.open(dir.path()));
    }
    QCOMPARE(site.panels().size(), 1);
    QCOMPARE(site.panels()[0].stateText(), QString("does not open: permission denied"));
}

void TestSite::samePanelNameMarkedOnBoth() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A1.zqc"), "LOBBY");
    writeConfig(dir.filePath("A2.zqc"), "HALL");
    writeConfig(dir.filePath("A10.zqc"), "lobby ");
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.panels()[0].sameNameAs, QString("A10.zqc"));
    QCOMPARE(site.panels()[1].sameNameAs, QString());
    QCOMPARE(site.panels()[2].sameNameAs, QString("A1.zqc"));
    writeConfig(dir.filePath("A10.zqc"), "STAIRWELL");
    site.refresh(); // a file changed is read again
    QCOMPARE(site.panels()[0].sameNameAs, QString());
    QCOMPARE(site.panels()[2].panel, QString("STAIRWELL"));
}

// The rule the site window and the site document's cover share.
void TestSite::sameNameRule_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<qsizetype>>("others");
    using L = QList<qsizetype>;
    QTest::newRow("all apart") << QStringList{"LOBBY", "HALL", "LOBBY 2"} << L{-1, -1, -1};
    QTest::newRow("a pair names each other")
        << QStringList{"LOBBY", "HALL", "LOBBY"} << L{2, -1, 0};
    QTest::newRow("case and blanks aside")
        << QStringList{" Lobby", "LOBBY  ", "lobby"} << L{1, 0, 0};
    QTest::newRow("two pairs") << QStringList{"A", "B", "B", "A"} << L{3, 2, 1, 0};
    QTest::newRow("inner blanks count") << QStringList{"HALL 1", "HALL  1"} << L{-1, -1};
    QTest::newRow("unnamed alike") << QStringList{"", " ", "X"} << L{1, 0, -1};
    QTest::newRow("none") << QStringList{} << L{};
}

void TestSite::sameNameRule() {
    QFETCH(QStringList, names);
    QFETCH(QList<qsizetype>, others);
    QCOMPARE(SameName::others(names), others);
}

// The site window and the main window's site document start from what was
// entered last for the folder, however the folder is named.
void TestSite::handoverFieldsPerFolder() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("north"));
    QVERIFY(QDir(dir.path()).mkdir("south"));
    const QString north = dir.filePath("north");
    Settings settings(dir.filePath("settings.ini"));

    Handover::Fields start = Handover::remembered(north, &settings);
    QCOMPARE(start.name, QString("north")); // the folder's own name
    QCOMPARE(start.by, QString());
    start = Handover::remembered(north, nullptr);
    QCOMPARE(start.name, QString("north"));

    Handover::remember(north + "/", {"  TOWN HALL ", " J. DOE"}, &settings);
    const Handover::Fields again = Handover::remembered(dir.filePath("north/../north"), &settings);
    QCOMPARE(again.name, QString("TOWN HALL"));
    QCOMPARE(again.by, QString("J. DOE"));
    QCOMPARE(Handover::remembered(dir.filePath("south"), &settings).name, QString("south"));
    QCOMPARE(Handover::remembered(dir.filePath("south"), &settings).by, QString());

    Handover::remember(north, {"", "J. DOE"}, &settings); // a name taken out
    QCOMPARE(Handover::remembered(north, &settings).name, QString("north"));
    Handover::remember(north, {"ELSEWHERE", ""}, nullptr); // nowhere to keep it
    QCOMPARE(Handover::remembered(north, &settings).by, QString("J. DOE"));
}

void TestSite::summaryLine_data() {
    const QByteArray done = "SWITCH PANEL HAS BEEN PROGRAMMED";
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("summary");
    QTest::newRow("none") << QByteArray() << "0 OF 4 PROGRAMMED";
    QTest::newRow("programmed and failed")
        << line("P1.zqc", done) + line("P2.zqc", done) + line("P3.zqc", "INTERRUPTED")
        << "2 OF 4 PROGRAMMED, 1 FAILED";
    QTest::newRow("verified count as programmed")
        << line("P1.zqc", done) + line("P1.zqc", "agrees", "verify") + line("P2.zqc", done)
        << "2 OF 4 PROGRAMMED (1 VERIFIED)";
    QTest::newRow("differ") << line("P1.zqc", "differs", "verify") +
                                   line("P2.zqc", "differs", "verify")
                            << "0 OF 4 PROGRAMMED, 2 DIFFER";
    QTest::newRow("all") << line("P1.zqc", done) + line("P2.zqc", done) + line("P3.zqc", done) +
                                line("P4.zqc", done)
                         << "4 OF 4 PROGRAMMED";
}

void TestSite::summaryLine() {
    QFETCH(QByteArray, log);
    QFETCH(QString, summary);
    QTemporaryDir dir;
    for (int i = 1; i <= 4; ++i)
        writeConfig(dir.filePath(QString("P%1.zqc").arg(i)), QString("P%1").arg(i));
    appendLog(dir.path(), log);
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.summary(), summary);
}

void TestSite::nextToWrite_data() {
    const QByteArray done = "SWITCH PANEL HAS BEEN PROGRAMMED";
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("next"); // -1: none left
    QTest::newRow("from the start") << QByteArray() << -1 << 0;
    QTest::newRow("past the programmed and the file that does not open")
        << line("P1.zqc", done) << -1 << 2;
    QTest::newRow("a failed one is still to do") << line("P1.zqc", "INTERRUPTED") << -1 << 0;
    QTest::newRow("after the one just written") << line("P3.zqc", done) << 2 << 3;
    QTest::newRow("round to the start") << line("P4.zqc", done) + line("P5.zqc", done) << 3 << 0;
    QTest::newRow("never the one just written")
        << line("P1.zqc", done) + line("P4.zqc", done) + line("P5.zqc", done) << 2 << -1;
    QTest::newRow("all done") << line("P1.zqc", done) + line("P3.zqc", done) +
                                     line("P4.zqc", done) + line("P5.zqc", done)
                              << -1 << -1;
}

void TestSite::nextToWrite() {
    QFETCH(QByteArray, log);
    QFETCH(int, after);
    QFETCH(int, next);
    QTemporaryDir dir;
    for (int i = 1; i <= 5; ++i)
        writeConfig(dir.filePath(QString("P%1.zqc").arg(i)), QString("P%1").arg(i));
    QFile bad(dir.filePath("P2.zqc")); // P2 does not open
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    appendLog(dir.path(), log);
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.nextToWrite(after).value_or(-1), next);
}

void TestSite::folderThatCannotBeRead_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << "missing"
                             << "no such folder";
    QTest::newRow("a file") << "file"
                            << "not a folder";
    QTest::newRow("not this user's") << "closed"
                                     << "permission denied";
}

void TestSite::folderThatCannotBeRead() {
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    const QString folder = dir.filePath("site");
    if (kind == "file")
        writeConfig(folder, "X");
    if (kind == "closed") {
        QVERIFY(QDir().mkdir(folder));
        writeConfig(QDir(folder).filePath("A.zqc"), "LOBBY");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    SiteModel site;
    QString why;
    bool opened = true;
    {
        Unprivileged nobody;
        QVERIFY(nobody.active());
        opened = site.open(folder, &why);
    }
    QVERIFY(!opened);
    QCOMPARE(why, error);
    QVERIFY(site.panels().isEmpty());
    QCOMPARE(site.summary(), QString("0 OF 0 PROGRAMMED"));
    QVERIFY(!site.nextToWrite());
}

// A file added and a line appended by another program reach an open site
// without being asked for; the wait allows any scheduling.
void TestSite::followsTheFolderAndTheLog() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    site.setFollowing(true);
    writeConfig(dir.filePath("B.zqc"), "HALL");
    QTRY_COMPARE_WITH_TIMEOUT(site.panels().size(), 2, 60000);
    appendLog(dir.path(), line("B.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED"));
    QTRY_COMPARE_WITH_TIMEOUT(site.panels()[1].state, SitePanel::State::Programmed, 60000);
    appendLog(dir.path(), line("B.zqc", "differs", "verify"));
    QTRY_COMPARE_WITH_TIMEOUT(site.panels()[1].state, SitePanel::State::Differs, 60000);
}

// A line of an older log has no model; a later one may have more fields.
void TestSite::logLineFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("differences");
    QTest::addColumn<QString>("model");
    const QString start = "2026-03-02T09:15:00\t/dev/ttyUSB0\twrite\tA.zqc\tOK";
    QTest::newRow("five fields") << start << ""
                                 << "";
    QTest::newRow("differences") << start + "\tSW3"
                                 << "SW3"
                                 << "";
    QTest::newRow("model, no differences") << start + "\t\t00-00567"
                                           << ""
                                           << "00-00567";
    QTest::newRow("a field after the model") << start + "\tSW3\t00-00561\tmore"
                                             << "SW3"
                                             << "00-00561";
    QTest::newRow("written on Windows") << start + "\t\t00-00561\r"
                                        << ""
                                        << "00-00561";
}

void TestSite::logLineFields() {
    QFETCH(QString, text);
    QFETCH(QString, differences);
    QFETCH(QString, model);
    const auto line = SiteLog::parse(text);
    QVERIFY(line);
    QCOMPARE(line->outcome, QString("OK"));
    QCOMPARE(line->differences, differences);
    QCOMPARE(line->model, model);
}

// A line without a model is byte for byte the line the log always had, so
// readers of the old form read every line the commands write.
void TestSite::entryWrittenAsTheLogHasAlwaysBeen_data() {
    QTest::addColumn<QString>("differences");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("written"); // after the time
    QTest::newRow("neither") << ""
                             << ""
                             << "P\twrite\tA.zqc\tOK";
    QTest::newRow("differences") << "SW3"
                                 << ""
                                 << "P\twrite\tA.zqc\tOK\tSW3";
    QTest::newRow("model") << ""
                           << "00-00561"
                           << "P\twrite\tA.zqc\tOK\t\t00-00561";
    QTest::newRow("both") << "SW3"
                          << "00-00567"
                          << "P\twrite\tA.zqc\tOK\tSW3\t00-00567";
}

void TestSite::entryWrittenAsTheLogHasAlwaysBeen() {
    QFETCH(QString, differences);
    QFETCH(QString, model);
    QFETCH(QString, written);
    QTemporaryDir dir;
    SiteLog log;
    QVERIFY(log.open(dir.filePath("site.log"), nullptr));
    log.append({"P", "write", "A.zqc", "OK", differences, model});
    QFile file(dir.filePath("site.log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.endsWith('\n'));
    QCOMPARE(text.chopped(1).section('\t', 1), written);
    const auto back = SiteLog::parse(text.chopped(1));
    QVERIFY(back);
    QCOMPARE(back->differences, differences);
    QCOMPARE(back->model, model);
}

// The model a file's panel was last found to be, from any command that read
// the panel's identity; a line without one leaves it as it was.
void TestSite::modelLastSeen_data() {
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("state");
    QTest::newRow("an old log") << line("A.zqc", LinkTexts::programmed) << ""
                                << "programmed";
    QTest::newRow("from the write")
        << line("A.zqc", LinkTexts::programmed, "write", {}, "00-00561") << "00-00561"
        << "programmed";
    QTest::newRow("the last one seen")
        << line("A.zqc", LinkTexts::programmed, "write", {}, "00-00561") +
               line("A.zqc", "agrees", "verify", {}, "00-00567")
        << "00-00567"
        << "verified";
    QTest::newRow("a line without one keeps it")
        << line("A.zqc", LinkTexts::programmed, "write", {}, "00-00567") +
               line("A.zqc", LinkTexts::noResponse)
        << "00-00567"
        << "failed: " + LinkTexts::noResponse;
    // identify and read program nothing, but they saw the panel.
    QTest::newRow("identify") << line("A.zqc", LinkTexts::programmed) +
                                     line("A.zqc", "holds A.zqc", "identify", {}, "00-00567")
                              << "00-00567"
                              << "programmed";
    QTest::newRow("read, another folder's path")
        << line("/elsewhere/A.zqc", "read", "read", {}, "00-00561") << "00-00561"
        << "not yet";
    QTest::newRow("of another file") << line("B.zqc", "read", "read", {}, "00-00561") << ""
                                     << "not yet";
}

void TestSite::modelLastSeen() {
    QFETCH(QByteArray, log);
    QFETCH(QString, model);
    QFETCH(QString, state);
    QTemporaryDir dir;
    writeConfig(dir.filePath("A.zqc"), "LOBBY");
    appendLog(dir.path(), log);
    SiteModel site;
    QVERIFY(site.open(dir.path()));
    QCOMPARE(site.linesIgnored(), 0);
    QCOMPARE(site.panels()[0].model, model);
    QCOMPARE(site.panels()[0].stateText(), state);
    QCOMPARE(site.panels()[0].fields().last(), model); // status prints it last
    // The log replaced: what the old one said goes with it.
    QFile::remove(dir.filePath("site.log"));
    appendLog(dir.path(), line("A.zqc", "read", "read"));
    site.refresh();
    QCOMPARE(site.panels()[0].model, QString());
}

// The log records the status a write ended with, and the site reads it back.
void TestSite::programmedIsTheLinksOwnText() {
    QCOMPARE(SiteLog::programmed, LinkTexts::programmed);
}

void TestSite::statusPrintsWhatTheSiteShows() {
    QTemporaryDir dir;
    writeConfig(dir.filePath("LOBBY10.zqc"), "LOBBY");
    writeConfig(dir.filePath("LOBBY2.zqc"), "LOBBY");
    writeConfig(dir.filePath("HALL.zqc"), "HALL");
    QFile(dir.filePath("BAD.zqc")).open(QIODevice::WriteOnly);
    appendLog(dir.path(), line("LOBBY2.zqc", "SWITCH PANEL HAS BEEN PROGRAMMED") +
                              line("HALL.zqc", "INTERRUPTED", "write panel 2", {}, "00-00567"));
    QString out, errors;
    QCOMPARE(SiteStatus::run(dir.path(), &out, &errors), 0);
    QCOMPARE(errors, QString());
    const QString bad = "not a configuration file of the 00-00561 or 00-00567";
    QCOMPARE(out.split('\n'),
             (QStringList{"BAD.zqc\t\tdoes not open: " + bad + "\t\t\t",
                          "HALL.zqc\tHALL\tfailed: INTERRUPTED\t2026-03-02 09:15:00\t/dev/"
                          "ttyUSB0\t00-00567",
                          "LOBBY2.zqc\tLOBBY\tprogrammed; same panel name as "
                          "LOBBY10.zqc\t2026-03-02 09:15:00\t/dev/ttyUSB0\t",
                          "LOBBY10.zqc\tLOBBY\tnot yet; same panel name as LOBBY2.zqc\t\t\t",
                          "1 OF 4 PROGRAMMED, 1 FAILED, 1 DOES NOT OPEN", ""}));
}

// The program itself, without a display: 0 with the lines, 3 with the
// reason when the folder cannot be read.
void TestSite::statusExitStatus_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("a site") << "site" << 0 << "A.zqc\tLOBBY\tnot yet\t\t\t\n0 OF 1 PROGRAMMED\n"
                            << "";
    QTest::newRow("an empty folder") << "empty" << 0 << "0 OF 0 PROGRAMMED\n"
                                     << "";
    QTest::newRow("no such folder") << "missing" << 3 << ""
                                    << "panelconfig: %1: no such folder\n";
    QTest::newRow("a file") << "file" << 3 << ""
                            << "panelconfig: %1: not a folder\n";
}

void TestSite::statusExitStatus() {
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    const QString folder = dir.filePath("site");
    if (kind == "site" || kind == "empty")
        QVERIFY(QDir().mkdir(folder));
    if (kind == "site")
        writeConfig(QDir(folder).filePath("A.zqc"), "LOBBY");
    if (kind == "file")
        writeConfig(folder, "LOBBY");
    const ProgramRun run = runProgram({"status", folder});
    QCOMPARE(run.status, status);
    QCOMPARE(QString::fromUtf8(run.out), out);
    QCOMPARE(run.err, err.contains("%1") ? err.arg(folder) : err);
}

QTEST_GUILESS_MAIN(TestSite)
#include "tst_site.moc"
