#include "DialogRecorder.h"
#include "ProgramRun.h"
#include "Simulator.h"
#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "link/LinkTexts.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"
#include "ui/PanelTool.h"

#include <QFile>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The tool's real serial port and its 100 ms tick against the simulator on a
// pseudo-terminal.
class TestPanelEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void writeThenReadGivesBackTheConfiguration();
    void panelThatNeverAnswers();
    void foreignPanel();
    void writeFailingAtAddress10();
    void traceOfAFullRead();
    void valueOutOfRangeOnARead();
    void faultyReplies_data();
    void faultyReplies();
    void extraCharacterAfterAWriteAcknowledgement();
    void deviceThatDoesNotExist();
    void deviceInUse();
    void findListsTheTwoPanels();
    void identifyNamesTheFileThePanelHolds();
    void deviceVanishingMidTransaction();
    void closingTheWindowMidTransaction();
};

namespace {
struct Tool {
    explicit Tool(const QString& device) : port(device), tool(dialogs, port) {}
    QString status() const { return tool.form.statusBox()->text(); }
    QColor colour() const { return tool.form.statusBox()->background(); }
    void assignAll() {
        for (int row = 0; row < 22; ++row) {
            tool.form.list(2 * row + 1)->setListIndex(1 + (row * 7) % 16);
            tool.form.list(2 * row + 2)->setListIndex((row * 3) % 10);
        }
    }
    DialogRecorder dialogs;
    QtSerialPort port;
    PanelTool tool;
};

// The real tick races the machine's scheduler: a reply that a busy machine
// hands over after the tick fails a transaction that an idle one passes, as
// it would with a slow panel. A scenario that needs every reply in time gets
// three tries; a fault of the tool fails all three. Returns what went wrong
// in the last try, empty when one try went right.
template <typename Scenario> QString inThreeTries(Scenario scenario) {
    QString wrong;
    for (int i = 0; i < 3; ++i) {
        wrong = scenario();
        if (wrong.isEmpty())
            break;
        qInfo("try %d: %s", i + 1, qPrintable(wrong));
    }
    return wrong;
}

QString differs(const QString& what, const QVariant& actual, const QVariant& expected) {
    return actual == expected
               ? QString()
               : QString("%1: %2, expected %3").arg(what, actual.toString(), expected.toString());
}

#define START_SIMULATOR(sim, ...)                                                                  \
    Simulator sim(QStringList{__VA_ARGS__});                                                       \
    QVERIFY2(sim.started(), "the panel simulator did not start")
} // namespace

void TestPanelEndToEnd::writeThenReadGivesBackTheConfiguration() {
    QCOMPARE(inThreeTries([] {
                 Simulator sim({});
                 Tool writer(sim.device());
                 writer.assignAll();
                 writer.tool.form.list(7)->setListIndex(0); // SW4 "N/A"
                 writer.tool.form.list(45)->setListIndex(6);
                 writer.tool.form.list(49)->setListIndex(4);
                 writer.tool.form.list(46)->setListIndex(7);
                 writer.tool.link.WRITE_CONFIG_Click();
                 if (writer.status() != LinkTexts::programmed ||
                     writer.colour() != QColor(0, 255, 0))
                     return "write: " + writer.status();

                 Tool reader(sim.device());
                 reader.tool.link.READ_CONFIG_Click();
                 if (reader.status() != LinkTexts::readSuccessful)
                     return "read: " + reader.status();
                 for (int l = 1; l <= 49; ++l) {
                     if (l == 8 || l == 47 || l == 48) // SW4 "N/A": its channel list gets SW3's
                         continue;
                     if (QString d = differs(QString("List%1").arg(l),
                                             reader.tool.form.list(l)->listIndex(),
                                             writer.tool.form.list(l)->listIndex());
                         !d.isEmpty())
                         return d;
                 }
                 if (!reader.dialogs.messages.isEmpty())
                     return reader.dialogs.messages[0].text;
                 return differs("indpercent", reader.tool.session.record().indpercent, 4);
             }),
             QString());
}

void TestPanelEndToEnd::panelThatNeverAnswers() {
    START_SIMULATOR(sim, "--silent");
    Tool t(sim.device());
    t.tool.link.READ_CONFIG_Click();
    QCOMPARE(t.status(), LinkTexts::noResponse);
    QCOMPARE(t.colour(), QColor(255, 0, 0));
}

void TestPanelEndToEnd::foreignPanel() {
    START_SIMULATOR(sim, "--identity", "0");
    Tool t(sim.device());
    t.assignAll();
    t.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, LinkTexts::writeMismatch);
}

void TestPanelEndToEnd::writeFailingAtAddress10() {
    QCOMPARE(inThreeTries([] {
                 Simulator sim({"--no-reply", "write:10"});
                 Tool t(sim.device());
                 t.assignAll();
                 t.tool.link.WRITE_CONFIG_Click();
                 if (t.status() != LinkTexts::badData)
                     return "write: " + t.status();
                 Tool reader(sim.device()); // 0 to 10 hold the new values, 11 on the old
                 reader.tool.link.READ_CONFIG_Click();
                 if (reader.status() != LinkTexts::readSuccessful)
                     return "read: " + reader.status();
                 const QString d = differs("LED1 module", reader.tool.form.list(21)->listIndex(),
                                           t.tool.form.list(21)->listIndex());
                 return d.isEmpty()
                            ? differs("LED2 module", reader.tool.form.list(23)->listIndex(), 0)
                            : d;
             }),
             QString());
}

// Every command and reply of a read, in order, between the port's opening
// and closing, and the outcome.
void TestPanelEndToEnd::traceOfAFullRead() {
    QTemporaryDir dir;
    QCOMPARE(inThreeTries([&] {
                 Simulator sim({"--set", "3=37"});
                 const QString path = dir.filePath("trace.txt");
                 QFile::remove(path);
                 LinkTrace trace;
                 if (!trace.open(path, nullptr))
                     return QString("trace not opened");
                 QtSerialPort real(sim.device());
                 TracingSerialPort port(real, trace);
                 DialogRecorder dialogs;
                 PanelTool tool(dialogs, port);
                 tool.link.setTrace(&trace);
                 tool.link.READ_CONFIG_Click();

                 QStringList expected = {"read started",
                                         "port " + sim.device() + " opened, 9600,N,8,1",
                                         "> 41   A",
                                         "< 44 30 30 30 44   D000D",
                                         "> 56 00 3F 30 30 56   V.?00V",
                                         "< 30 30 36 31 30   00610"};
                 for (int a = 0; a < 25; ++a) {
                     expected << "> " +
                                     LinkTrace::render(QByteArray("V") + char(0) + char(a) + "00V");
                     const int value = a == 3 ? 37 : a < 22 ? 160 : 10;
                     expected << "< " + LinkTrace::render(
                                            QByteArray::number(value * 10).rightJustified(5, '0'));
                 }
                 expected << "port " + sim.device() + " closed"
                          << "read ended: " + LinkTexts::readSuccessful;
                 QFile file(path);
                 if (!file.open(QIODevice::ReadOnly))
                     return QString("no trace file");
                 QStringList lines;
                 while (!file.atEnd()) {
                     const QString line = QString::fromUtf8(file.readLine()).trimmed();
                     // "2026-12-08 14:03:07.412 " before each line
                     if (line.size() < 24 ||
                         !QDateTime::fromString(line.left(23), "yyyy-MM-dd HH:mm:ss.zzz").isValid())
                         return "no time stamp: " + line;
                     lines << line.mid(24).trimmed();
                 }
                 for (int i = 0; i < qMax(lines.size(), expected.size()); ++i)
                     if (lines.value(i) != expected.value(i))
                         return QString("line %1: \"%2\", expected \"%3\"")
                             .arg(i + 1)
                             .arg(lines.value(i), expected.value(i));
                 return QString();
             }),
             QString());
}

void TestPanelEndToEnd::valueOutOfRangeOnARead() {
    START_SIMULATOR(sim, "--set", "5=200");
    Tool t(sim.device());
    t.tool.link.READ_CONFIG_Click();
    QCOMPARE(t.status(), LinkTexts::badData);
    QCOMPARE(t.tool.form.list(11)->listIndex(), 0);
    QCOMPARE(t.tool.form.list(13)->listIndex(), -1);
}

void TestPanelEndToEnd::faultyReplies_data() {
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("status");
    QTest::newRow("short read reply")
        << QStringList{"--short-reply", "read:3"} << LinkTexts::badData;
    QTest::newRow("garbled handshake")
        << QStringList{"--garble", "handshake"} << LinkTexts::noResponse;
    QTest::newRow("extra character after the handshake")
        << QStringList{"--extra-char", "handshake"} << LinkTexts::noResponse;
    QTest::newRow("extra character after a read")
        << QStringList{"--extra-char", "read:2"} << LinkTexts::readSuccessful;
    QTest::newRow("reply later than a tick")
        << QStringList{"--delay", "150@read:4"} << LinkTexts::badData;
    QTest::newRow("garbled read reply") << QStringList{"--garble", "read:6"} << LinkTexts::badData;
    QTest::newRow("negative value on a read") << QStringList{"--set", "3=-5"} << LinkTexts::badData;
    QTest::newRow("handshake answered from the third A")
        << QStringList{"--answer-handshake-from", "3"} << LinkTexts::readSuccessful;
    QTest::newRow("a slow but timely reply")
        << QStringList{"--delay", "40"} << LinkTexts::readSuccessful;
}

void TestPanelEndToEnd::faultyReplies() {
    QFETCH(QStringList, simulator);
    QFETCH(QString, status);
    QCOMPARE(inThreeTries([&] {
                 Simulator sim(simulator);
                 Tool t(sim.device());
                 t.tool.link.READ_CONFIG_Click();
                 return differs("status", t.status(), status);
             }),
             QString());
}

void TestPanelEndToEnd::extraCharacterAfterAWriteAcknowledgement() {
    START_SIMULATOR(sim, "--extra-char", "write:2");
    Tool t(sim.device());
    t.assignAll();
    t.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(t.status(), LinkTexts::badData);
}

void TestPanelEndToEnd::deviceThatDoesNotExist() {
    Tool t("/dev/no-such-serial-port");
    t.tool.link.READ_CONFIG_Click();
    QCOMPARE(t.status(), QString("SERIAL PORT /dev/no-such-serial-port NOT FOUND"));
    QCOMPARE(t.colour(), QColor(255, 0, 0));
}

void TestPanelEndToEnd::deviceInUse() {
    START_SIMULATOR(sim);
    QSerialPort holder(sim.device());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    Tool t(sim.device());
    t.tool.link.READ_CONFIG_Click();
    QCOMPARE(t.status(),
             "SERIAL PORT " + sim.device() + " CANNOT BE OPENED: IN USE BY ANOTHER PROGRAM");
    QVERIFY(t.tool.session.record().A == 0);
}

void TestPanelEndToEnd::deviceVanishingMidTransaction() {
    START_SIMULATOR(sim, "--hang-up-after", "6");
    Tool t(sim.device());
    t.assignAll();
    t.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(t.status(), "SERIAL PORT " + sim.device() +
                             " FAILED DURING COMMUNICATIONS: THE DEVICE WAS DISCONNECTED OR "
                             "STOPPED ANSWERING");
    QCOMPARE(t.colour(), QColor(255, 0, 0));
    // A new transaction finds the device gone.
    t.tool.link.READ_CONFIG_Click();
    QVERIFY2(t.status().startsWith("SERIAL PORT " + sim.device()), qPrintable(t.status()));
}

void TestPanelEndToEnd::closingTheWindowMidTransaction() {
    START_SIMULATOR(sim);
    auto* t = new Tool(sim.device());
    t->tool.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t->tool.form));
    QTimer::singleShot(450, &t->tool.form, [t] { t->tool.form.close(); });
    t->tool.form.findChild<QPushButton*>("READ_CONFIG")->click();
    QVERIFY(!t->tool.form.isVisible());
    QVERIFY(t->status() != LinkTexts::readSuccessful);
    delete t;
    // The port was closed: another user of the device can open it.
    QCOMPARE(inThreeTries([&] {
                 Tool next(sim.device());
                 next.tool.link.READ_CONFIG_Click();
                 return differs("status", next.status(), LinkTexts::readSuccessful);
             }),
             QString());
}

// Two panels and a silent line, and a fourth panel whose port this test
// holds open as another program would: find lists the two with their
// models and leaves the held port alone.
void TestPanelEndToEnd::findListsTheTwoPanels() {
    START_SIMULATOR(first, "--identity", "61");
    START_SIMULATOR(second, "--identity", "67");
    START_SIMULATOR(silent, "--silent");
    START_SIMULATOR(taken, "--identity", "61");
    QSerialPort other;
    other.setPortName(taken.device());
    QVERIFY(other.open(QIODevice::ReadWrite));
    QCOMPARE(inThreeTries([&]() -> QString {
                 const ProgramRun run = runProgram(
                     {"find", first.device(), second.device(), silent.device(), taken.device()});
                 const QString expected = QStringLiteral("%1\t00-00561\t\n%2\t00-00567\t\n")
                                              .arg(first.device(), second.device());
                 if (run.status != 0 || QString::fromUtf8(run.out) != expected)
                     return QStringLiteral("status %1, out %2, err %3")
                         .arg(run.status)
                         .arg(QString::fromUtf8(run.out), run.err);
                 if (!run.err.contains(taken.device() + ": skipped, in use by another program"))
                     return "the held port was not named: " + run.err;
                 return {};
             }),
             QString());
    QVERIFY(other.waitForReadyRead(300) == false); // nothing reached the held port's panel
}

void TestPanelEndToEnd::identifyNamesTheFileThePanelHolds() {
    QTemporaryDir site;
    const QString lobby = site.filePath("LOBBY.zqc");
    QVERIFY(QFile::copy(PANELSIM_DEMO, lobby));
    ConfigFileLine edited = *readConfigFile(lobby).line;
    edited.code[2] = 3; // SW3 on A 4
    QFile stairs(site.filePath("STAIRS.zqc"));
    QVERIFY(stairs.open(QIODevice::WriteOnly));
    stairs.write(ConfigFile::format(edited));
    stairs.close();
    START_SIMULATOR(sim, "--config", PANELSIM_DEMO);
    QCOMPARE(
        inThreeTries([&]() -> QString {
            const ProgramRun held = runProgram({"identify", site.path(), "--port", sim.device()});
            if (held.status != 0 || QString::fromUtf8(held.out) != lobby + "\n")
                return QStringLiteral("site: %1 %2 %3")
                    .arg(held.status)
                    .arg(QString::fromUtf8(held.out), held.err);
            const ProgramRun nearest =
                runProgram({"identify", stairs.fileName(), "--port", sim.device()});
            if (nearest.status != 1 ||
                QString::fromUtf8(nearest.out) != "STAIRS.zqc: SW3 (panel A 3, file A 4)\n")
                return QStringLiteral("edited: %1 %2 %3")
                    .arg(nearest.status)
                    .arg(QString::fromUtf8(nearest.out), nearest.err);
            return {};
        }),
        QString());
}

QTEST_MAIN(TestPanelEndToEnd)
#include "tst_panel_e2e.moc"
