#include "SessionHarness.h"

#include <QTest>

class TestCollection : public QObject {
    Q_OBJECT
private slots:
    void completeSelectionsFillEveryOutgoingCode();
    void notAssignedIgnoresTheChannel();
    void firstIncompleteItemStopsWithItsGroup_data();
    void firstIncompleteItemStopsWithItsGroup();
    void switchIsReportedBeforeAnLed();
};

namespace {
constexpr qint16 untouched = -7;

void markOutgoing(ConfigRecord& r) {
    for (RecordInt f : Items::outgoing)
        r.*f = untouched;
    r.bl = untouched;
    r.dimch = untouched;
}

qint16 outgoing(ConfigRecord& r, int row) {
    return row < 20 ? r.*Items::outgoing[row] : row == 20 ? r.bl : r.dimch;
}
} // namespace

void TestCollection::completeSelectionsFillEveryOutgoingCode() {
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.Option2_Click();
    markOutgoing(h.rec());
    h.rec().error_flag = 0;
    const qint16 s1before = h.rec().s1;
    s.CollectAssignments();
    QCOMPARE(h.rec().error_flag, qint16(0));
    for (int row = 0; row < 22; ++row)
        QCOMPARE(outgoing(h.rec(), row), qint16((row % 16) * 10 + row % 10));
    QCOMPARE(h.rec().s1, s1before);
    QVERIFY(s.view() == Session::View::Switch);
    QVERIFY(!s.frameVisible(1));
}

void TestCollection::notAssignedIgnoresTheChannel() {
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.selectListEntry(5, 0);   // SW3 "N/A", channel still selected
    s.selectListEntry(41, -1); // nothing...
    s.selectListEntry(41, 0);  // ...then "N/A" for the backlighting
    s.selectListEntry(42, -1); // with no channel at all
    h.rec().error_flag = 0;
    s.CollectAssignments();
    QCOMPARE(h.rec().error_flag, qint16(0));
    QCOMPARE(h.rec().s3w, qint16(160));
    QCOMPARE(h.rec().bl, qint16(160));
}

void TestCollection::firstIncompleteItemStopsWithItsGroup_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("moduleMissing");
    QTest::addColumn<int>("flag");
    QTest::newRow("SW1 no channel") << 0 << false << 1;
    QTest::newRow("SW10 no module") << 9 << true << 1;
    QTest::newRow("LED5 no channel") << 14 << false << 2;
    QTest::newRow("backlighting no module") << 20 << true << 2;
    QTest::newRow("dimming no channel") << 21 << false << 2;
}

void TestCollection::firstIncompleteItemStopsWithItsGroup() {
    QFETCH(int, row);
    QFETCH(bool, moduleMissing);
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.selectListEntry(2 * row + (moduleMissing ? 1 : 2), -1);
    s.Option2_Click();
    markOutgoing(h.rec());
    h.rec().error_flag = 0;
    s.CollectAssignments();
    QTEST(int(h.rec().error_flag), "flag");
    for (int r = 0; r < 22; ++r)
        QCOMPARE(outgoing(h.rec(), r) == untouched, r >= row);
    QVERIFY(s.view() == Session::View::Lighting);
}

void TestCollection::switchIsReportedBeforeAnLed() {
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.selectListEntry(6, -1);  // SW3 channel
    s.selectListEntry(23, -1); // LED2 module
    markOutgoing(h.rec());
    h.rec().error_flag = 0;
    s.CollectAssignments();
    QCOMPARE(h.rec().error_flag, qint16(1));
    QCOMPARE(h.rec().s2w, qint16(11));
    QCOMPARE(h.rec().s3w, untouched);
    QCOMPARE(h.rec().led1w, untouched);
}

QTEST_MAIN(TestCollection)
#include "tst_collection.moc"
