#include "Harness.h"
#include "link/LinkTexts.h"
#include "link/PanelProtocol.h"

#include <QTest>

// The byte operations and the handshake against a scripted port.
class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void commandBytes();
    void replyValue_data();
    void replyValue();
    void readPanelByte_data();
    void readPanelByte();
    void shortReadReplyIsAFailure();
    void writeVerifiedByte_data();
    void writeVerifiedByte();
    void handshake_data();
    void handshake();
    void waitsEndAtTheTickWithoutAReply();
};

namespace {
QByteArray hex(const char* h) {
    return QByteArray::fromHex(h);
}

struct Link : Harness {
    Link() {
        port.connected = false;
        port.open();
    }
    PanelLink& link() { return tool.link; }
    QString status() { return tool.form.statusBox()->text(); }
};
} // namespace

void TestProtocol::commandBytes() {
    QCOMPARE(PanelProtocol::writeCommand(21, 160), hex("530015 00A044"));
    QCOMPARE(PanelProtocol::readCommand(63), hex("56003F303056"));
    QCOMPARE(PanelProtocol::handshake, hex("41"));

    Link l;
    l.rec().address_l = 21;
    l.rec().data_l = 160;
    l.port.script = {"D000D", "01600"};
    l.link().WriteVerifiedByte();
    QCOMPARE(l.port.sent, hex("53001500A044") + hex("560015303056"));
}

void TestProtocol::replyValue_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<bool>("whole");
    QTest::newRow("01600") << QByteArray("01600") << 160 << true << true;
    QTest::newRow("half to even down") << QByteArray("01605") << 160 << true << true;
    QTest::newRow("half to even up") << QByteArray("01615") << 162 << true << true;
    QTest::newRow("1235") << QByteArray("1235") << 124 << true << true;
    QTest::newRow("1225") << QByteArray("1225") << 122 << true << true;
    QTest::newRow("above half") << QByteArray("1226") << 123 << true << true;
    QTest::newRow("fraction breaks a tie") << QByteArray("1225.01") << 123 << true << true;
    QTest::newRow("negative") << QByteArray("-0050") << -5 << true << true;
    QTest::newRow("negative half to even") << QByteArray("-0015") << -2 << true << true;
    QTest::newRow("no number") << QByteArray("D000D") << 0 << true << false;
    QTest::newRow("leading blanks and sign") << QByteArray("  +0370") << 37 << true << true;
    QTest::newRow("stops at a letter") << QByteArray("015X0") << 2 << true << false;
    QTest::newRow("largest") << QByteArray("327674") << 32767 << true << true;
    QTest::newRow("just too large") << QByteArray("327675") << 32767 << false << true;
    QTest::newRow("smallest rounds to even") << QByteArray("-327685") << -32768 << true << true;
    QTest::newRow("too small") << QByteArray("-327695") << -32768 << false << true;
    QTest::newRow("endless digits") << QByteArray(400, '9') << 32767 << false << true;
    QTest::newRow("noise on a digit") << QByteArray("0X600") << 0 << true << false;
    QTest::newRow("a sixth character") << QByteArray("00370X") << 37 << true << true;
    QTest::newRow("four characters") << QByteArray("0370") << 37 << true << true;
}

void TestProtocol::replyValue() {
    QFETCH(QByteArray, reply);
    const PanelProtocol::ReplyValue v = PanelProtocol::replyValue(reply);
    QTEST(int(v.value), "value");
    QTEST(v.fits, "fits");
    QTEST(v.whole, "whole");
}

void TestProtocol::readPanelByte_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("errorFlag");
    QTest::addColumn<QString>("status");
    QTest::newRow("in range") << QByteArray("00370") << 37 << 0 << LinkTexts::communicationsOk;
    QTest::newRow("160") << QByteArray("01605") << 160 << 0 << LinkTexts::communicationsOk;
    QTest::newRow("161") << QByteArray("01615") << 162 << 1 << LinkTexts::outOfRange;
    QTest::newRow("negative") << QByteArray("-0050") << -5 << 1 << LinkTexts::outOfRange;
    QTest::newRow("point and digit")
        << QByteArray(" .5000") << 0 << 0 << LinkTexts::communicationsOk;
    // A reply that does not begin with a number is noise or a shifted
    // buffer, never a value: A keeps its 7.
    QTest::newRow("acknowledgement") << QByteArray("D000D") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("letters") << QByteArray("XXXXX") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("sign alone") << QByteArray("- 160") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("point alone") << QByteArray(".X160") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("line noise") << QByteArray(64, char(0xFF)) << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("noise on a digit") << QByteArray("0X600") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("letter among the digits")
        << QByteArray("015X0") << 7 << 1 << LinkTexts::corrupted;
    QTest::newRow("far above 160") << QByteArray("99999") << 10000 << 1 << LinkTexts::outOfRange;
    QTest::newRow("far beyond 16 bits")
        << QByteArray("9999999999") << 32767 << 1 << LinkTexts::outOfRange;
}

void TestProtocol::readPanelByte() {
    QFETCH(QByteArray, reply);
    Link l;
    l.rec().A = 7;
    l.rec().address_l = 4;
    l.port.script = {reply};
    l.link().ReadPanelByte();
    QCOMPARE(l.port.sent, PanelProtocol::readCommand(4));
    QTEST(int(l.rec().A), "a");
    QTEST(int(l.rec().error_flag), "errorFlag");
    QTEST(l.status(), "status");
    QCOMPARE(l.rec().temp1, qint16(reply.size()));
    QVERIFY(!l.form().statusBox()->isHidden());
}

// A reply too short to carry a value used to pass as a read of whatever A
// held; it is a failure now, and A keeps its value.
void TestProtocol::shortReadReplyIsAFailure() {
    for (const QByteArray& reply : {QByteArray("016"), QByteArray()}) {
        Link l;
        l.rec().A = 7;
        l.port.script = {reply};
        l.link().ReadPanelByte();
        QCOMPARE(l.rec().A, qint16(7));
        QCOMPARE(l.rec().error_flag, qint16(1));
        QCOMPARE(l.status(), LinkTexts::corrupted);
    }
}

void TestProtocol::writeVerifiedByte_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<int>("errorFlag");
    QTest::addColumn<int>("a");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("readBack");
    const QString untouched = "Text1\r\n";
    QTest::newRow("verified") << 160 << QList<QByteArray>{"D000D", "01600"} << 0 << 160
                              << LinkTexts::communicationsOk << true;
    QTest::newRow("verified 0") << 0 << QList<QByteArray>{"D000D", "00000"} << 0 << 0
                                << LinkTexts::communicationsOk << true;
    QTest::newRow("read back differs")
        << 0 << QList<QByteArray>{"D000D", "0010"} << 1 << 1 << LinkTexts::failedToVerify << true;
    QTest::newRow("read back beyond 16 bits") << 160 << QList<QByteArray>{"D000D", "999999"} << 1
                                              << 32767 << LinkTexts::failedToVerify << true;
    QTest::newRow("acknowledgement as read back of 0")
        << 0 << QList<QByteArray>{"D000D", "D000D"} << 1 << -1 << LinkTexts::corrupted << true;
    QTest::newRow("read back short")
        << 5 << QList<QByteArray>{"D000D", "005"} << 1 << -1 << LinkTexts::corrupted << true;
    QTest::newRow("no acknowledgement")
        << 5 << QList<QByteArray>{} << 1 << -1 << untouched << false;
    QTest::newRow("wrong acknowledgement")
        << 5 << QList<QByteArray>{"D001D"} << 1 << -1 << untouched << false;
    QTest::newRow("acknowledgement with more")
        << 5 << QList<QByteArray>{"D000DX"} << 1 << -1 << untouched << false;
}

void TestProtocol::writeVerifiedByte() {
    QFETCH(int, value);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(bool, readBack);
    Link l;
    l.rec().A = -1;
    l.rec().address_l = 9;
    l.rec().data_l = qint16(value);
    l.port.script = replies;
    if (replies.isEmpty())
        l.port.script = {QByteArray()}; // silence
    l.link().WriteVerifiedByte();
    QTEST(int(l.rec().error_flag), "errorFlag");
    QTEST(int(l.rec().A), "a");
    QTEST(l.status(), "status");
    const QByteArray expected = PanelProtocol::writeCommand(9, qint16(value)) +
                                (readBack ? PanelProtocol::readCommand(9) : QByteArray());
    QCOMPARE(l.port.sent, expected);
    if (l.rec().error_flag == 0)
        QCOMPARE(l.form().statusBox()->background(), QColor(255, 255, 0));
}

void TestProtocol::handshake_data() {
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<int>("sentA");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("first") << QList<QByteArray>{"D000D"} << 1 << true;
    QTest::newRow("third") << QList<QByteArray>{"", "", "D000D"} << 3 << true;
    QTest::newRow("never") << QList<QByteArray>{"", "", "", "", "", "", ""} << 6 << false;
    QTest::newRow("five wrong characters") << QList<QByteArray>{"HELLO"} << 1 << false;
    QTest::newRow("six characters") << QList<QByteArray>{"D000DX"} << 1 << false;
    QTest::newRow("split over two answers") << QList<QByteArray>{"D00", "0D"} << 2 << true;
}

void TestProtocol::handshake() {
    QFETCH(QList<QByteArray>, replies);
    Link l;
    l.port.script = replies;
    const bool ok = l.link().Handshake();
    QTEST(ok, "succeeds");
    QTEST(int(l.port.sent.size()), "sentA");
    QCOMPARE(l.port.sent, QByteArray(l.port.sent.size(), 'A'));
}

void TestProtocol::waitsEndAtTheTickWithoutAReply() {
    Link l;
    l.rec().A = 12;
    l.link().ReadPanelByte(); // nobody answers
    QCOMPARE(l.rec().timer_flag, qint16(1));
    QCOMPARE(l.rec().A, qint16(12));
    QCOMPARE(l.rec().error_flag, qint16(1));
    l.rec().timer_flag = 5;
    l.link().WaitTick();
    QCOMPARE(l.rec().timer_flag, qint16(1));
}

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
