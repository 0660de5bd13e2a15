#include "DialogRecorder.h"
#include "Simulator.h"
#include "app/PanelTool.h"
#include "link/LinkTexts.h"
#include "link/QtSerialPort.h"

#include <QFile>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

#include <unistd.h>

// The tool's real serial port and its 100 ms tick against the simulator on a
// pseudo-terminal.
class TestPanelEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void writeThenReadGivesBackTheConfiguration();
    void panelThatNeverAnswers();
    void foreignPanel();
    void writeFailingAtAddress10();
    void valueOutOfRangeOnARead();
    void faultyReplies_data();
    void faultyReplies();
    void extraCharacterAfterAWriteAcknowledgement();
    void deviceThatDoesNotExist();
    void deviceInUse();
    void deviceWithoutPermission();
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

#define START_SIMULATOR(sim, ...)                                                                  \
    Simulator sim(QStringList{__VA_ARGS__});                                                       \
    QVERIFY2(sim.started(), "the panel simulator did not start")
} // namespace

void TestPanelEndToEnd::writeThenReadGivesBackTheConfiguration() {
    START_SIMULATOR(sim);
    Tool writer(sim.device());
    writer.assignAll();
    writer.tool.form.list(7)->setListIndex(0); // SW4 "N/A"
    writer.tool.form.list(45)->setListIndex(6);
    writer.tool.form.list(49)->setListIndex(4);
    writer.tool.form.list(46)->setListIndex(7);
    writer.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(writer.status(), LinkTexts::programmed);
    QCOMPARE(writer.colour(), QColor(0, 255, 0));

    Tool reader(sim.device());
    reader.tool.link.READ_CONFIG_Click();
    QCOMPARE(reader.status(), LinkTexts::readSuccessful);
    for (int l = 1; l <= 49; ++l) {
        if (l == 8 || l == 47 || l == 48) // SW4 "N/A": its channel list gets SW3's position
            continue;
        QCOMPARE(reader.tool.form.list(l)->listIndex(), writer.tool.form.list(l)->listIndex());
    }
    QCOMPARE(reader.tool.form.record().indpercent, qint16(4));
    QVERIFY(reader.dialogs.messages.isEmpty());
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
    START_SIMULATOR(sim, "--no-reply", "write:10");
    Tool t(sim.device());
    t.assignAll();
    t.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(t.status(), LinkTexts::badData);

    Tool reader(sim.device()); // addresses 0 to 10 hold the new values, 11 on the old
    reader.tool.link.READ_CONFIG_Click();
    QCOMPARE(reader.tool.form.list(21)->listIndex(), t.tool.form.list(21)->listIndex());
    QCOMPARE(reader.tool.form.list(23)->listIndex(), 0);
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
    QTest::newRow("garbled read reply")
        << QStringList{"--garble", "read:6"} << LinkTexts::readSuccessful;
    QTest::newRow("negative value on a read") << QStringList{"--set", "3=-5"} << LinkTexts::badData;
    QTest::newRow("handshake answered from the third A")
        << QStringList{"--answer-handshake-from", "3"} << LinkTexts::readSuccessful;
    QTest::newRow("a slow but timely reply")
        << QStringList{"--delay", "40"} << LinkTexts::readSuccessful;
}

void TestPanelEndToEnd::faultyReplies() {
    QFETCH(QStringList, simulator);
    Simulator sim(simulator);
    QVERIFY(sim.started());
    Tool t(sim.device());
    t.tool.link.READ_CONFIG_Click();
    QTEST(t.status(), "status");
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
             "SERIAL PORT " + sim.device() + " CANNOT BE OPENED: ACCESS DENIED OR PORT IN USE");
    QVERIFY(t.tool.form.record().A == 0);
}

void TestPanelEndToEnd::deviceWithoutPermission() {
    if (geteuid() == 0)
        QSKIP("permissions do not bind root");
    START_SIMULATOR(sim);
    QVERIFY(QFile::setPermissions(sim.device(), {}));
    Tool t(sim.device());
    t.tool.link.READ_CONFIG_Click();
    QCOMPARE(t.status(),
             "SERIAL PORT " + sim.device() + " CANNOT BE OPENED: ACCESS DENIED OR PORT IN USE");
}

void TestPanelEndToEnd::deviceVanishingMidTransaction() {
    START_SIMULATOR(sim, "--hang-up-after", "6");
    Tool t(sim.device());
    t.assignAll();
    t.tool.link.WRITE_CONFIG_Click();
    QVERIFY2(t.status().startsWith("SERIAL PORT " + sim.device() + " FAILED"),
             qPrintable(t.status()));
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
    Tool next(sim.device());
    next.tool.link.READ_CONFIG_Click();
    QCOMPARE(next.status(), LinkTexts::readSuccessful);
}

QTEST_MAIN(TestPanelEndToEnd)
#include "tst_panel_e2e.moc"
