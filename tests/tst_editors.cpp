#include "SessionHarness.h"
#include "model/AssignmentTable.h"

#include <QTest>

// The module and channel lists of all 22 items, driven through the handlers
// the lists are connected to, on a session without a window.
class TestEditors : public QObject {
    Q_OBJECT
private slots:
    void moduleThenChannelFormsTheCode_data();
    void moduleThenChannelFormsTheCode();
    void notAssignedKeepsTheParts();
    void backlightAndDimmingShowTheirIntensityLists();
    void dimmingChannelListHasNoBehaviour();
    void programSelectingNotAssignedThenChannel();
    void handlersAreFoundByName();
    void anItemTouchesOnlyItsOwnFields();
};

namespace {
struct Fields {
    qint16 code, module, channel;
};
// The record's integers stand together, from s1 to A.
bool sameNumbers(const ConfigRecord& x, const ConfigRecord& y) {
    const auto bytes = [](const ConfigRecord& r) {
        const char* first = reinterpret_cast<const char*>(&r.s1);
        return QByteArray(first, reinterpret_cast<const char*>(&r.A + 1) - first);
    };
    return bytes(x) == bytes(y);
}

Fields fieldsOf(ConfigRecord& r, int row) {
    const AssignmentRow& a = assignmentRows()[row];
    return {r.*a.code, r.*a.modulePart, r.*a.channelPart};
}
} // namespace

void TestEditors::moduleThenChannelFormsTheCode_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < 21; ++row)
        QTest::addRow("%s", qPrintable(assignmentRows()[row].item)) << row;
}

void TestEditors::moduleThenChannelFormsTheCode() {
    QFETCH(int, row);
    SessionHarness h;
    Session& s = h.session;
    const AssignmentRow& a = assignmentRows()[row];
    s.selectListEntry(a.moduleList, 2); // "B", no channel yet
    Fields got = fieldsOf(h.rec(), row);
    QCOMPARE(got.module, qint16(10));
    QCOMPARE(got.code, qint16(10));
    if (a.designationBox)
        s.setBoxVisible(a.designationBox, false);
    s.selectListEntry(a.channelList, 3); // "4"
    got = fieldsOf(h.rec(), row);
    QCOMPARE(got.channel, qint16(3));
    QCOMPARE(got.code, qint16(13));
    if (a.designationBox)
        QVERIFY(s.boxVisible(a.designationBox));

    s.selectListEntry(a.moduleList, 16); // "P"
    s.selectListEntry(a.channelList, 9); // "10"
    QCOMPARE(fieldsOf(h.rec(), row).code, qint16(159));
}

void TestEditors::notAssignedKeepsTheParts() {
    SessionHarness h;
    Session& s = h.session;
    h.assign(0, 2, 3); // SW1 "B" "4"
    s.selectListEntry(1, 0);
    QCOMPARE(h.rec().s1, qint16(160));
    QCOMPARE(h.rec().s1m, qint16(10));
    QCOMPARE(h.rec().s1c, qint16(3));
    QVERIFY(!s.listVisible(2));
    s.selectListEntry(1, 2);
    QVERIFY(s.listVisible(2));
    QCOMPARE(s.listIndex(2), 3);
    QCOMPARE(h.rec().s1, qint16(13));
}

void TestEditors::backlightAndDimmingShowTheirIntensityLists() {
    SessionHarness h;
    Session& s = h.session;
    s.Option2_Click();
    s.selectListEntry(41, 0);
    QVERIFY(!s.listVisible(42) && !s.listVisible(45) && !s.labelVisible(15));
    QVERIFY(s.listVisible(46));
    s.selectListEntry(41, 4);
    QVERIFY(s.listVisible(42) && s.listVisible(45) && s.labelVisible(15));

    s.selectListEntry(43, 0);
    QVERIFY(!s.listVisible(44) && !s.listVisible(46) && !s.labelVisible(16));
    QVERIFY(s.listVisible(49) && s.labelVisible(17));
    s.selectListEntry(43, 1);
    QVERIFY(s.listVisible(44) && s.listVisible(46) && s.labelVisible(16));
}

void TestEditors::dimmingChannelListHasNoBehaviour() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(43, 3); // "C"
    QCOMPARE(h.rec().dimch, qint16(20));
    const ConfigRecord before = h.rec();
    s.selectListEntry(44, 6);
    QCOMPARE(h.rec().dimch, qint16(20));
    QCOMPARE(h.rec().dimchc, qint16(0));
    QCOMPARE(h.rec().dimchm, before.dimchm);
    QVERIFY(!s.handler("List44_Click"));
    // Collection forms the full dimming code from both lists.
    h.assignAll();
    s.selectListEntry(43, 3);
    s.selectListEntry(44, 6);
    h.rec().error_flag = 0;
    s.CollectAssignments();
    QCOMPARE(h.rec().dimch, qint16(26));
}

void TestEditors::programSelectingNotAssignedThenChannel() {
    SessionHarness h;
    Session& s = h.session;
    h.assign(4, 0, 7);               // SW5: "N/A", then channel "8" as a read does
    QCOMPARE(h.rec().s5, qint16(7)); // module part 0 + channel part 7
    QVERIFY(s.boxVisible(7));
    QCOMPARE(s.listIndex(9), 0);
}

void TestEditors::handlersAreFoundByName() {
    SessionHarness h;
    Session& s = h.session;
    for (int n = 1; n <= 43; ++n)
        QVERIFY2(bool(s.handler(QString("List%1_Click").arg(n))), qPrintable(QString::number(n)));
    for (int n : {45, 46, 49})
        QVERIFY(bool(s.handler(QString("List%1_Click").arg(n))));
    // Calling the named handler runs the behaviour for the list's selection.
    s.selectListEntry(7, 5); // SW4 "E"
    h.rec().s4 = 0;
    s.handler("List7_Click")();
    QCOMPARE(h.rec().s4, qint16(40));
}

void TestEditors::anItemTouchesOnlyItsOwnFields() {
    SessionHarness h;
    for (int row = 0; row < 22; ++row) {
        ConfigRecord before = h.rec();
        h.assign(row, 7, 4);
        ConfigRecord after = h.rec();
        const AssignmentRow& a = assignmentRows()[row];
        after.*a.code = before.*a.code;
        after.*a.modulePart = before.*a.modulePart;
        after.*a.channelPart = before.*a.channelPart;
        QVERIFY2(sameNumbers(after, before), qPrintable(a.item));
    }
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
