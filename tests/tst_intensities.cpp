#include "Harness.h"

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
    Harness h;
    Form1& f = h.form();
    f.list(45)->setListIndex(7); // "30"
    QCOMPARE(h.rec().blpercent, qint16(1));
    f.list(49)->setListIndex(2); // "80"
    QCOMPARE(h.rec().indpercent, qint16(6));
    f.list(46)->setListIndex(1); // "90"
    QCOMPARE(h.rec().dindpercent, qint16(7));
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestIntensities::backlightAboveIndicatorIsLowered() {
    Harness h;
    Form1& f = h.form();
    f.list(45)->setListIndex(3); // backlighting "70"
    f.list(49)->setListIndex(2); // indicator "80"
    QVERIFY(h.dialogs.messages.isEmpty());
    f.list(45)->setListIndex(1); // backlighting "90" breaks the rule
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, rule);
    QCOMPARE(h.dialogs.messages[0].title, QString("TARNEK561or567"));
    QCOMPARE(f.list(45)->listIndex(), 2);
    QCOMPARE(h.rec().blpercent, qint16(6));
}

void TestIntensities::indicatorBelowBacklightLowersTheBacklight() {
    Harness h;
    Form1& f = h.form();
    f.list(45)->setListIndex(3); // "70"
    f.list(49)->setListIndex(5); // "50"
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(f.list(49)->listIndex(), 5);
    QCOMPARE(f.list(45)->listIndex(), 5);
    QCOMPARE(h.rec().blpercent, qint16(3));
    QCOMPARE(h.rec().indpercent, qint16(3));
}

void TestIntensities::equalAndDimmedNeedNoMessage() {
    Harness h;
    Form1& f = h.form();
    f.list(49)->setListIndex(7);
    QCOMPARE(h.dialogs.messages.size(), 1); // 30 under the 100 of the backlighting
    f.list(45)->setListIndex(7);
    f.list(49)->setListIndex(7);
    f.list(46)->setListIndex(0); // dimmed "100" above both "30"
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
    Harness h;
    Form1& f = h.form();
    f.list(46)->setListIndex(5);
    h.rec().dindpercent = qint16(code);
    h.session().ShowDimmedIntensity();
    QTEST(f.list(46)->listIndex(), "entry");
    QTEST(int(h.rec().dindpercent), "stored");

    h.rec().indpercent = qint16(code);
    h.session().ShowIndicatorIntensity();
    QTEST(f.list(49)->listIndex(), "entry");
    QTEST(int(h.rec().indpercent), "stored");
}

void TestIntensities::showingABrighterBacklightRaisesTheRule() {
    Harness h;
    Form1& f = h.form();
    f.list(45)->setListIndex(6); // 40
    f.list(49)->setListIndex(6); // 40
    h.rec().blpercent = 4;       // 60, read from a panel before the indicator
    h.session().ShowBacklightIntensity();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(f.list(45)->listIndex(), 6);
    QCOMPARE(h.rec().blpercent, qint16(2));
}

// A file may hold an indicator code below the backlighting code while the
// indicator list still shows its old, brighter entry: the rule shows its
// message once and ends instead of repeating.
void TestIntensities::ruleEndsWhenTheIndicatorListDisagreesWithItsField() {
    Harness h;
    Form1& f = h.form();
    h.rec().indpercent = 1;
    h.rec().blpercent = 10;
    h.session().ShowBacklightIntensity();
    QCOMPARE(h.dialogs.messages.size(), 1);
    h.session().ShowIndicatorIntensity();
    QCOMPARE(h.dialogs.messages.size(), 2);
    QCOMPARE(f.list(45)->listIndex(), 7);
    QCOMPARE(h.rec().blpercent, qint16(1));
    QCOMPARE(h.rec().indpercent, qint16(1));
}

void TestIntensities::handlerWithoutSelectionSelectsFull() {
    Harness h;
    Form1& f = h.form();
    f.list(46)->setListIndex(-1);
    h.rec().dindpercent = 3;
    h.session().List46_Click();
    QCOMPARE(f.list(46)->listIndex(), 0);
    QCOMPARE(h.rec().dindpercent, qint16(10));
}

QTEST_MAIN(TestIntensities)
#include "tst_intensities.moc"
