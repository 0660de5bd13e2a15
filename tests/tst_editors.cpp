#include "Harness.h"
#include "model/AssignmentTable.h"

#include <QTest>

// The module and channel lists of all 22 items, driven through the handlers
// the lists are connected to.
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
    Harness h;
    Form1& f = h.form();
    const AssignmentRow& a = assignmentRows()[row];
    f.list(a.moduleList)->setListIndex(2); // "B", no channel yet
    Fields got = fieldsOf(h.rec(), row);
    QCOMPARE(got.module, qint16(10));
    QCOMPARE(got.code, qint16(10));
    if (a.designationBox)
        f.textBox(a.designationBox)->hide();
    f.list(a.channelList)->setListIndex(3); // "4"
    got = fieldsOf(h.rec(), row);
    QCOMPARE(got.channel, qint16(3));
    QCOMPARE(got.code, qint16(13));
    if (a.designationBox)
        QVERIFY(!f.textBox(a.designationBox)->isHidden());

    f.list(a.moduleList)->setListIndex(16); // "P"
    f.list(a.channelList)->setListIndex(9); // "10"
    QCOMPARE(fieldsOf(h.rec(), row).code, qint16(159));
}

void TestEditors::notAssignedKeepsTheParts() {
    Harness h;
    Form1& f = h.form();
    h.assign(0, 2, 3); // SW1 "B" "4"
    f.list(1)->setListIndex(0);
    QCOMPARE(h.rec().s1, qint16(160));
    QCOMPARE(h.rec().s1m, qint16(10));
    QCOMPARE(h.rec().s1c, qint16(3));
    QVERIFY(f.list(2)->isHidden());
    f.list(1)->setListIndex(2);
    QVERIFY(!f.list(2)->isHidden());
    QCOMPARE(f.list(2)->listIndex(), 3);
    QCOMPARE(h.rec().s1, qint16(13));
}

void TestEditors::backlightAndDimmingShowTheirIntensityLists() {
    Harness h;
    Form1& f = h.form();
    h.lightingView();
    f.list(41)->setListIndex(0);
    QVERIFY(f.list(42)->isHidden() && f.list(45)->isHidden() && f.label(15)->isHidden());
    QVERIFY(!f.list(46)->isHidden());
    f.list(41)->setListIndex(4);
    QVERIFY(!f.list(42)->isHidden() && !f.list(45)->isHidden() && !f.label(15)->isHidden());

    f.list(43)->setListIndex(0);
    QVERIFY(f.list(44)->isHidden() && f.list(46)->isHidden() && f.label(16)->isHidden());
    QVERIFY(!f.list(49)->isHidden() && !f.label(17)->isHidden());
    f.list(43)->setListIndex(1);
    QVERIFY(!f.list(44)->isHidden() && !f.list(46)->isHidden() && !f.label(16)->isHidden());
}

void TestEditors::dimmingChannelListHasNoBehaviour() {
    Harness h;
    Form1& f = h.form();
    f.list(43)->setListIndex(3); // "C"
    QCOMPARE(h.rec().dimch, qint16(20));
    const ConfigRecord before = h.rec();
    f.list(44)->setListIndex(6);
    QCOMPARE(h.rec().dimch, qint16(20));
    QCOMPARE(h.rec().dimchc, qint16(0));
    QCOMPARE(h.rec().dimchm, before.dimchm);
    QVERIFY(!h.session().handler("List44_Click"));
    // Collection forms the full dimming code from both lists.
    h.assignAll();
    f.list(43)->setListIndex(3);
    f.list(44)->setListIndex(6);
    h.rec().error_flag = 0;
    h.session().CollectAssignments();
    QCOMPARE(h.rec().dimch, qint16(26));
}

void TestEditors::programSelectingNotAssignedThenChannel() {
    Harness h;
    Form1& f = h.form();
    h.assign(4, 0, 7);               // SW5: "N/A", then channel "8" as a read does
    QCOMPARE(h.rec().s5, qint16(7)); // module part 0 + channel part 7
    QVERIFY(!f.textBox(7)->isHidden());
    QCOMPARE(f.list(9)->listIndex(), 0);
}

void TestEditors::handlersAreFoundByName() {
    Harness h;
    Form1& f = h.form();
    for (int n = 1; n <= 43; ++n)
        QVERIFY2(bool(h.session().handler(QString("List%1_Click").arg(n))), qPrintable(QString::number(n)));
    for (int n : {45, 46, 49})
        QVERIFY(bool(h.session().handler(QString("List%1_Click").arg(n))));
    // Calling the named handler runs the behaviour for the list's selection.
    f.list(7)->setListIndex(5); // SW4 "E"
    h.rec().s4 = 0;
    h.session().handler("List7_Click")();
    QCOMPARE(h.rec().s4, qint16(40));
}

void TestEditors::anItemTouchesOnlyItsOwnFields() {
    Harness h;
    Form1& f = h.form();
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
    Q_UNUSED(f);
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
