#include "Harness.h"
#include "link/LinkTexts.h"
#include "link/PanelProtocol.h"

#include <QTest>
#include <QTimer>

// The read and write transactions against a simulated panel, and what each
// outcome leaves in the window.
class TestTransactions : public QObject {
    Q_OBJECT
private slots:
    void writeThenReadGivesBackTheConfiguration();
    void readFromAPanelThatNeverAnswers();
    void readFromAForeignPanel();
    void readShowsWhatThePanelHolds();
    void readStopsAfterAValueOutOfRange();
    void readStopsAfterAnIntensityOutOfRange();
    void shortReplyEndsTheRead();
    void garbageReplyEndsTheRead_data();
    void garbageReplyEndsTheRead();
    void cutReplyIsNoValue_data();
    void cutReplyIsNoValue();
    void staleValueNeverPassesTheIdentityCheck();
    void lateHandshakeAnswerIsNotTheIdentity();
    void writeWithIncompleteAssignments_data();
    void writeWithIncompleteAssignments();
    void writeFailingAtAnAddress();
    void writeToAForeignPanel();
    void writeSelectsFullIntensityWhenNoneIsChosen();
    void writeToAPanelThatNeverAnswers();
};

namespace {
QList<PanelCommand> commandsOf(const PanelEngine& p, PanelCommand::Kind kind) {
    QList<PanelCommand> found;
    for (const PanelCommand& c : p.commands())
        if (c.kind == kind)
            found.append(c);
    return found;
}

QColor statusColour(Harness& h) {
    return h.form().statusBox()->background();
}
QString status(Harness& h) {
    return h.form().statusBox()->text();
}

const QColor red(255, 0, 0), green(0, 255, 0), yellow(255, 255, 0);
} // namespace

void TestTransactions::writeThenReadGivesBackTheConfiguration() {
    Harness writer;
    writer.assignAll();
    writer.form().list(9)->setListIndex(0);  // SW5 "N/A"
    writer.form().list(46)->setListIndex(6); // dimmed "40"
    writer.form().list(45)->setListIndex(5); // backlighting "50"
    writer.form().list(49)->setListIndex(3); // indicator "70"
    writer.lightingView();
    writer.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(status(writer), LinkTexts::programmed);
    QCOMPARE(statusColour(writer), green);
    QCOMPARE(writer.port.closes, writer.port.opens);
    QVERIFY(!writer.port.isOpen);
    const PanelEngine& panel = writer.port.panel;
    QCOMPARE(panel.value(4), 160);
    QCOMPARE(panel.value(20), 40); // backlighting "E" "1"
    QCOMPARE(panel.value(21), 51); // dimming "F" "2"
    QCOMPARE(panel.value(22), 3);
    QCOMPARE(panel.value(23), 5);
    QCOMPARE(panel.value(24), 2);
    QCOMPARE(commandsOf(panel, PanelCommand::Kind::Write).size(), 25);

    Harness reader;
    for (int a = 0; a < PanelEngine::memorySize; ++a)
        reader.port.panel.setValue(a, panel.value(a));
    reader.form().textBox(2)->setText("OLD NAME");
    reader.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(reader), LinkTexts::readSuccessful);
    QCOMPARE(statusColour(reader), green);
    QVERIFY(!reader.port.isOpen);
    for (int l = 1; l <= 46; ++l)
        if (l != 10) // SW5 is "N/A": its channel list gets the previous item's position
            QCOMPARE(reader.form().list(l)->listIndex(), writer.form().list(l)->listIndex());
    QCOMPARE(reader.form().list(9)->listIndex(), 0);
    QCOMPARE(reader.form().list(49)->listIndex(), 3);
    QCOMPARE(reader.rec().blpercent, qint16(3));
    QCOMPARE(reader.rec().dindpercent, qint16(2));
    QVERIFY(reader.form().textBox(2)->text().isEmpty());
    for (int t = 3; t <= 22; ++t) {
        QVERIFY(reader.form().textBox(t)->text().isEmpty());
        QVERIFY(reader.form().textBox(t)->isHidden());
    }
    QVERIFY(reader.dialogs.messages.isEmpty());
    QCOMPARE(reader.rec().config_flag, qint16(0));
    QCOMPARE(reader.port.settings, QString("9600,N,8,1"));
    QCOMPARE(reader.port.portNumber, 1);
}

void TestTransactions::readFromAPanelThatNeverAnswers() {
    PanelFaults faults;
    faults.silent = true;
    Harness h(faults);
    h.assign(0, 3, 3);
    h.form().textBox(2)->setText("LOBBY");
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(h.port.sent, QByteArray("AAAAAA"));
    QCOMPARE(status(h), LinkTexts::noResponse);
    QCOMPARE(statusColour(h), red);
    QVERIFY(!h.port.isOpen);
    QVERIFY(h.form().textBox(2)->text().isEmpty());
    QCOMPARE(h.form().list(1)->listIndex(), 3);
    QCOMPARE(h.form().textBox(3)->text(), QString("DESIGNATION "));
    QVERIFY(h.form().textBox(3)->isHidden());
    h.session().Option1_Click();
    QVERIFY(!h.form().textBox(3)->isHidden());
}

void TestTransactions::readFromAForeignPanel() {
    for (int identity : {0, 60, 160, 200}) {
        Harness h;
        h.port.panel.setValue(63, identity);
        h.tool.link.READ_CONFIG_Click();
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(h.dialogs.messages[0].text, LinkTexts::readMismatch);
        QCOMPARE(h.dialogs.messages[0].title, QString("SWITCH PANEL/CONFIGURATION MIS-MATCH"));
        QCOMPARE(statusColour(h), yellow);
        QCOMPARE(status(h), identity > 160 ? LinkTexts::outOfRange : LinkTexts::communicationsOk);
        QCOMPARE(commandsOf(h.port.panel, PanelCommand::Kind::Read).size(), 1);
        QCOMPARE(h.form().list(1)->listIndex(), -1);
        QVERIFY(!h.port.isOpen);
    }
    Harness other;
    other.port.panel.setValue(63, 67);
    other.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(other), LinkTexts::readSuccessful);
}

void TestTransactions::readShowsWhatThePanelHolds() {
    Harness h;
    PanelEngine& p = h.port.panel;
    p.setValue(0, 37);  // SW1 "D" "8"
    p.setValue(11, 45); // LED2 "E" "6"
    p.setValue(12, 160);
    p.setValue(20, 37);
    p.setValue(22, 4);
    p.setValue(24, 9);
    h.form().list(45)->setListIndex(0);
    h.tool.link.READ_CONFIG_Click();
    Form1& f = h.form();
    QCOMPARE(f.list(1)->currentItem()->text(), QString("D"));
    QCOMPARE(f.list(2)->currentItem()->text(), QString("8"));
    QCOMPARE(f.list(25)->listIndex(), 0); // LED3 "N/A"...
    QCOMPARE(f.list(26)->listIndex(), 5); // ...its channel list given LED2's position
    QCOMPARE(f.list(41)->currentItem()->text(), QString("D"));
    QCOMPARE(f.list(42)->currentItem()->text(), QString("8"));
    QCOMPARE(h.rec().blpercent, qint16(4));
    QCOMPARE(f.list(45)->currentItem()->text(), QString("60"));
    QCOMPARE(h.rec().dindpercent, qint16(10));
    QCOMPARE(f.list(46)->currentItem()->text(), QString("100"));
    QCOMPARE(h.rec().s1, qint16(37));
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestTransactions::readStopsAfterAValueOutOfRange() {
    Harness h;
    h.port.panel.setValue(5, 200);
    h.assign(6, 9, 2);
    h.form().textBox(9)->setText("KITCHEN");
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(statusColour(h), red);
    QCOMPARE(h.form().list(11)->listIndex(), 0); // SW6 "N/A"
    QCOMPARE(h.form().list(13)->listIndex(), 9); // SW7 untouched
    QCOMPARE(h.form().textBox(9)->text(), QString("KITCHEN"));
    const auto reads = commandsOf(h.port.panel, PanelCommand::Kind::Read);
    QCOMPARE(reads.size(), 7);
    QCOMPARE(reads.last().address, 5);
    QVERIFY(!h.port.isOpen);
}

void TestTransactions::readStopsAfterAnIntensityOutOfRange() {
    Harness h;
    h.port.panel.setValue(23, 161);
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(commandsOf(h.port.panel, PanelCommand::Kind::Read).last().address, 23);
    QCOMPARE(h.rec().indpercent, qint16(10)); // shown as 100 % before the walk ended
}

void TestTransactions::shortReplyEndsTheRead() {
    PanelFaults faults;
    faults.shortReply = FaultTarget::reads(3, 3);
    Harness h(faults);
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(commandsOf(h.port.panel, PanelCommand::Kind::Read).last().address, 3);
    // Nothing was read for SW4: it does not show a value left over from SW3.
    QCOMPARE(h.form().list(7)->listIndex(), -1);
    QCOMPARE(h.form().list(5)->listIndex(), 0);
}

void TestTransactions::garbageReplyEndsTheRead_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("letters") << QByteArray("XXXXX");
    QTest::newRow("acknowledgement from a shifted buffer") << QByteArray("D000D");
    QTest::newRow("flood of noise") << QByteArray(300, char(0xFF));
    QTest::newRow("noise on a digit") << QByteArray("0X600");
}

// Noise where SW2's value should be: the read ends red, and neither SW2 nor
// anything after it shows a value nobody read.
void TestTransactions::garbageReplyEndsTheRead() {
    QFETCH(QByteArray, reply);
    Harness h;
    h.assign(1, 3, 3);
    h.port.script = {"D000D", "00610", "00370", reply};
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(statusColour(h), red);
    QCOMPARE(h.form().list(1)->currentItem()->text(), QString("D")); // SW1 was read
    QCOMPARE(h.form().list(3)->listIndex(), 3);
    QCOMPARE(h.form().list(4)->listIndex(), 3);
    QCOMPARE(h.form().list(5)->listIndex(), -1);
    QCOMPARE(h.rec().s2, qint16(23)); // "C" "4"
    QVERIFY(!h.port.isOpen);
}

void TestTransactions::cutReplyIsNoValue_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("head"); // what has come when the reply wait ends on the tick
    QTest::addColumn<QByteArray>("rest"); // what comes after the tick
    QTest::addColumn<int>("restAfterMs"); // the tick is 20 ms: 21 is after the next command
    QTest::addColumn<bool>("done");
    // SW1 is written as 4 (module "A", channel position 4); the last item,
    // the dimmed intensity, as 10.
    QTest::newRow("read, cut at 4 then more")
        << false << 0 << QByteArray("0037") << QByteArray("0") << 1 << false;
    QTest::newRow("read, last value cut, rest in the closing wait")
        << false << 24 << QByteArray("0009") << QByteArray("0") << 1 << false;
    QTest::newRow("read, cut with two more")
        << false << 0 << QByteArray("0037") << QByteArray("0X") << 1 << false;
    QTest::newRow("read, cut, rest in the next reply's wait")
        << false << 0 << QByteArray("0037") << QByteArray("00") << 21 << false;
    QTest::newRow("read, 4 and nothing more")
        << false << 0 << QByteArray("1235") << QByteArray() << 1 << true;
    QTest::newRow("read, 5 then a late character")
        << false << 0 << QByteArray("00370") << QByteArray("0") << 1 << true;
    QTest::newRow("write, read-back cut at 4 then more")
        << true << 0 << QByteArray("0037") << QByteArray("0") << 1 << false;
    QTest::newRow("write, last read-back cut, rest in the closing wait")
        << true << 24 << QByteArray("0097") << QByteArray("0") << 1 << false;
    QTest::newRow("write, read-back 4 and nothing more")
        << true << 0 << QByteArray("0037") << QByteArray() << 1 << true;
}

// A reply taken short when its wait ended on the tick, whose rest comes
// afterwards, was cut: the value read from its start is not the panel's
// ("0037" reads 4 where the panel sent "00370", 37). The transaction ends
// with bad data, whether that rest comes before the next command, in front
// of the next reply or during the closing wait; four characters and nothing
// after them still read.
void TestTransactions::cutReplyIsNoValue() {
    QFETCH(bool, write);
    QFETCH(int, address);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, rest);
    QFETCH(int, restAfterMs);
    QFETCH(bool, done);
    Harness h;
    h.assignAll();
    h.assign(0, 1, 4);
    const auto values = h.session().valuesToSend();
    QVERIFY(values);
    QCOMPARE((*values)[0], 4);
    QCOMPARE((*values)[24], 10);

    // Every other reply is whole: the panel holds what is written, and 0
    // where it is only read.
    h.port.script = {"D000D", "00610"};
    for (int a = 0; a < 25; ++a) {
        if (write)
            h.port.script.append("D000D");
        h.port.script.append(a == address ? head
                             : write ? QByteArray::number((*values)[a] * 10).rightJustified(5, '0')
                                     : QByteArray("00000"));
    }
    bool restSent = false;
    connect(&h.tool.link, &PanelLink::progress, this, [&](int at, const QString&) {
        if (at == address && !restSent && !rest.isEmpty()) {
            h.port.deliver(rest, restAfterMs);
            restSent = true;
        }
    });
    if (write)
        h.tool.link.WRITE_CONFIG_Click();
    else
        h.tool.link.READ_CONFIG_Click();

    QVERIFY(!h.port.isOpen);
    QCOMPARE(restSent, !rest.isEmpty());
    if (done) {
        QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::Done);
        QCOMPARE(status(h), write ? LinkTexts::programmed : LinkTexts::readSuccessful);
        QCOMPARE(statusColour(h), green);
        if (!write)
            QCOMPARE(h.tool.link.valuesRead()[size_t(address)],
                     PanelProtocol::replyValue(head).value);
        return;
    }
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::BadData);
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(statusColour(h), red);
    QCOMPARE(h.rec().error_flag, qint16(1));
    // Nothing goes out once the rest has been seen.
    const qint16 lastRead = restAfterMs > 20 ? qint16(address + 1) : qint16(address);
    QVERIFY(h.port.sent.endsWith(PanelProtocol::readCommand(lastRead)));
}

// The handshake of a second read succeeds but the identity reply comes back
// short: the 61 left in A by the first read must not pass for the identity,
// nor is the panel called foreign, as nothing was read of it.
void TestTransactions::staleValueNeverPassesTheIdentityCheck() {
    PanelFaults faults;
    faults.shortReply = FaultTarget::reads(63, 63);
    Harness h(faults);
    h.rec().A = 61;
    h.tool.link.READ_CONFIG_Click();
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::BadData);
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(h.form().list(1)->listIndex(), -1);
}

// The answer to the first "A" comes after the second has gone out, so the
// second's answer arrives while the link waits before the identity read:
// it is dropped, never read as the identity.
void TestTransactions::lateHandshakeAnswerIsNotTheIdentity() {
    PanelFaults faults;
    faults.delays = {{30, FaultTarget::handshake()}}; // the tick here is 20 ms
    Harness h(faults);
    h.tool.link.READ_CONFIG_Click();
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(status(h), LinkTexts::readSuccessful);
    QCOMPARE(commandsOf(h.port.panel, PanelCommand::Kind::Handshake).size(), 2);
}

void TestTransactions::writeWithIncompleteAssignments_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("text");
    QTest::newRow("SW4 without channel")
        << 8 << QString("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");
    QTest::newRow("dimming without channel")
        << 44
        << QString(
               "DATA MUST BE ENTERED (CLICKED) FOR ALL LED'S AND BACKLIGHTING BEFORE WRITING DATA");
}

void TestTransactions::writeWithIncompleteAssignments() {
    QFETCH(int, list);
    Harness h;
    h.assignAll();
    h.form().list(list)->setListIndex(-1);
    h.tool.link.WRITE_CONFIG_Click();
    QTEST(status(h), "text");
    QCOMPARE(statusColour(h), red);
    QVERIFY(!h.form().statusBox()->isHidden());
    QCOMPARE(h.port.opens, 1);
    QCOMPARE(h.port.closes, 1);
    QVERIFY(h.port.sent.isEmpty());
}

void TestTransactions::writeFailingAtAnAddress() {
    PanelFaults faults;
    faults.noReply = FaultTarget::writes(10, 10);
    Harness h(faults);
    h.assignAll();
    h.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(status(h), LinkTexts::badData);
    QCOMPARE(statusColour(h), red);
    const auto writes = commandsOf(h.port.panel, PanelCommand::Kind::Write);
    QCOMPARE(writes.size(), 11);
    QCOMPARE(writes.last().address, 10);
    QCOMPARE(h.port.panel.value(11), 160); // later addresses keep their old values
    QVERIFY(!h.port.isOpen);
}

void TestTransactions::writeToAForeignPanel() {
    Harness h;
    h.port.panel.setValue(63, 0);
    h.assignAll();
    h.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, LinkTexts::writeMismatch);
    QCOMPARE(h.dialogs.messages[0].title, LinkTexts::mismatchTitle);
    QVERIFY(commandsOf(h.port.panel, PanelCommand::Kind::Write).isEmpty());
    QCOMPARE(statusColour(h), yellow);
}

void TestTransactions::writeSelectsFullIntensityWhenNoneIsChosen() {
    Harness h;
    h.assignAll();
    h.form().list(46)->setListIndex(3);
    h.form().list(46)->setListIndex(-1);
    h.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(h.port.panel.value(24), 10);
    QCOMPARE(h.form().list(46)->listIndex(), 0);
    QCOMPARE(h.rec().dindpercent, qint16(10));
}

void TestTransactions::writeToAPanelThatNeverAnswers() {
    PanelFaults faults;
    faults.answerHandshakeFrom = 3;
    Harness third(faults);
    third.assignAll();
    third.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(third.port.sent.left(4), QByteArray("AAAV"));
    QCOMPARE(status(third), LinkTexts::programmed);

    faults.answerHandshakeFrom = 7;
    Harness never(faults);
    never.assignAll();
    never.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(never.port.sent, QByteArray("AAAAAA"));
    QCOMPARE(status(never), LinkTexts::noResponse);
}

QTEST_MAIN(TestTransactions)
#include "tst_transactions.moc"
