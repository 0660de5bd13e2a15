#include "SessionHarness.h"

#include <QTest>

class TestIntensities : public QObject {
    Q_OBJECT
private slots:
    void listsTakeTheirCodes();
    void backlightAboveIndicatorIsLowered();
    void indicatorBelowBacklightLowersTheBacklight();
    void equalAndDimmedNeedNoMessage();
    void showingACode_data();
    void showingACode();
    void showingABrighterBacklightRaisesTheRule();
    void ruleEndsWhenTheIndicatorListDisagreesWithItsField();
    void handlerWithoutSelectionSelectsFull();
};

namespace {
const QString rule = "NORMAL INDICATOR INTENSITY must be set equal to\n"
                     "or greater than NORMAL BACKLIGHTING INTENSITY.";
}

void TestIntensities::listsTakeTheirCodes() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(45, 7); // "30"
    QCOMPARE(h.rec().blpercent, qint16(1));
    s.selectListEntry(49, 2); // "80"
    QCOMPARE(h.rec().indpercent, qint16(6));
    s.selectListEntry(46, 1); // "90"
    QCOMPARE(h.rec().dindpercent, qint16(7));
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestIntensities::backlightAboveIndicatorIsLowered() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(45, 3); // backlighting "70"
    s.selectListEntry(49, 2); // indicator "80"
    QVERIFY(h.dialogs.messages.isEmpty());
    s.selectListEntry(45, 1); // backlighting "90" breaks the rule
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, rule);
    QCOMPARE(h.dialogs.messages[0].title, QString("TARNEK561or567"));
    QCOMPARE(s.listIndex(45), 2);
    QCOMPARE(h.rec().blpercent, qint16(6));
}

void TestIntensities::indicatorBelowBacklightLowersTheBacklight() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(45, 3); // "70"
    s.selectListEntry(49, 5); // "50"
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(s.listIndex(49), 5);
    QCOMPARE(s.listIndex(45), 5);
    QCOMPARE(h.rec().blpercent, qint16(3));
    QCOMPARE(h.rec().indpercent, qint16(3));
}

void TestIntensities::equalAndDimmedNeedNoMessage() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(49, 7);
    QCOMPARE(h.dialogs.messages.size(), 1); // 30 under the 100 of the backlighting
    s.selectListEntry(45, 7);
    s.selectListEntry(49, 7);
    s.selectListEntry(46, 0); // dimmed "100" above both "30"
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.rec().dindpercent, qint16(10));
}

void TestIntensities::showingACode_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("stored");
    QTest::newRow("10") << 10 << 0 << 10;
    QTest::newRow("7") << 7 << 1 << 7;
    QTest::newRow("4") << 4 << 4 << 4;
    QTest::newRow("1") << 1 << 7 << 1;
    QTest::newRow("0") << 0 << 0 << 10;
    QTest::newRow("8") << 8 << 0 << 10;
    QTest::newRow("9") << 9 << 0 << 10;
    QTest::newRow("negative") << -3 << 0 << 10;
    QTest::newRow("161") << 161 << 0 << 10;
}

void TestIntensities::showingACode() {
    QFETCH(int, code);
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(46, 5);
    h.rec().dindpercent = qint16(code);
    s.ShowDimmedIntensity();
    QTEST(s.listIndex(46), "entry");
    QTEST(int(h.rec().dindpercent), "stored");

    h.rec().indpercent = qint16(code);
    s.ShowIndicatorIntensity();
    QTEST(s.listIndex(49), "entry");
    QTEST(int(h.rec().indpercent), "stored");
}

void TestIntensities::showingABrighterBacklightRaisesTheRule() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(45, 6); // 40
    s.selectListEntry(49, 6); // 40
    h.rec().blpercent = 4;    // 60, read from a panel before the indicator
    s.ShowBacklightIntensity();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(s.listIndex(45), 6);
    QCOMPARE(h.rec().blpercent, qint16(2));
}

// A file may hold an indicator code below the backlighting code while the
// indicator list still shows its old, brighter entry: the rule shows its
// message once and ends instead of repeating.
void TestIntensities::ruleEndsWhenTheIndicatorListDisagreesWithItsField() {
    SessionHarness h;
    Session& s = h.session;
    h.rec().indpercent = 1;
    h.rec().blpercent = 10;
    s.ShowBacklightIntensity();
    QCOMPARE(h.dialogs.messages.size(), 1);
    s.ShowIndicatorIntensity();
    QCOMPARE(h.dialogs.messages.size(), 2);
    QCOMPARE(s.listIndex(45), 7);
    QCOMPARE(h.rec().blpercent, qint16(1));
    QCOMPARE(h.rec().indpercent, qint16(1));
}

void TestIntensities::handlerWithoutSelectionSelectsFull() {
    SessionHarness h;
    Session& s = h.session;
    s.selectListEntry(46, -1);
    h.rec().dindpercent = 3;
    s.List46_Click();
    QCOMPARE(s.listIndex(46), 0);
    QCOMPARE(h.rec().dindpercent, qint16(10));
}

QTEST_MAIN(TestIntensities)
#include "tst_intensities.moc"
