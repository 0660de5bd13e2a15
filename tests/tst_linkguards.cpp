#include "Harness.h"
#include "link/LinkTexts.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

// What keeps a transaction safe: one at a time, a close that waits for the
// port, and port faults that end it cleanly.
class TestLinkGuards : public QObject {
    Q_OBJECT
private slots:
    void commandButtonsWaitForTheTransaction();
    void assignmentsAreFixedWhenAWriteStarts();
    void closingDuringATransactionEndsItFirst();
    void portThatWillNotOpen_data();
    void portThatWillNotOpen();
    void deviceVanishingMidTransaction();
};

namespace {
QPushButton* button(Harness& h, const char* name) {
    return h.form().findChild<QPushButton*>(name);
}
} // namespace

void TestLinkGuards::commandButtonsWaitForTheTransaction() {
    Harness h;
    h.assignAll();
    QList<bool> enabledDuring;
    h.clock.after(60, [&] {
        for (const char* name : {"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE"}) {
            enabledDuring.append(button(h, name)->isEnabled());
            button(h, name)->click();
        }
        h.form().list(45)->setListIndex(7); // the lists stay usable
    });
    button(h, "WRITE_CONFIG")->click();
    QCOMPARE(enabledDuring, QList<bool>({false, false, false, false}));
    QCOMPARE(h.port.opens, 1);
    QVERIFY(h.dialogs.fileRequests.isEmpty());
    QCOMPARE(h.port.panel.value(22), 1); // the change reached the panel
    QCOMPARE(h.form().statusBox()->text(), LinkTexts::programmed);
    for (const char* name : {"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE"})
        QVERIFY(button(h, name)->isEnabled());
}

// The dimming editor rewrites dimch on a click; a click during the write
// must not change what the write sends.
void TestLinkGuards::assignmentsAreFixedWhenAWriteStarts() {
    Harness h;
    h.assignAll();
    h.form().list(43)->setListIndex(3); // "C"
    h.form().list(44)->setListIndex(6); // "7"
    h.clock.after(60, [&] { h.form().list(43)->setListIndex(4); });
    h.tool.link.WRITE_CONFIG_Click();
    QCOMPARE(h.form().statusBox()->text(), LinkTexts::programmed);
    QCOMPARE(h.port.panel.value(21), 26);
    QCOMPARE(h.rec().dimch, qint16(30)); // the editor's own field follows the click
}

void TestLinkGuards::closingDuringATransactionEndsItFirst() {
    Harness h;
    h.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form()));
    bool closedAtOnce = true;
    h.clock.after(100, [&] { closedAtOnce = h.form().close(); });
    button(h, "READ_CONFIG")->click();
    QVERIFY(!closedAtOnce);
    QVERIFY(!h.form().isVisible());
    QVERIFY(!h.port.isOpen);
    QCOMPARE(h.port.closes, 1);
    QVERIFY(h.port.panel.commands().size() < 10); // ended well before the last address
    QVERIFY(!h.session().transactionRunning());
}

void TestLinkGuards::portThatWillNotOpen_data() {
    QTest::addColumn<bool>("write");
    QTest::newRow("read") << false;
    QTest::newRow("write") << true;
}

void TestLinkGuards::portThatWillNotOpen() {
    QFETCH(bool, write);
    Harness h;
    h.assignAll();
    const QString fault = "SERIAL PORT /dev/ttyS0 NOT FOUND";
    h.port.refuseOpen = fault;
    if (write)
        h.tool.link.WRITE_CONFIG_Click();
    else
        h.tool.link.READ_CONFIG_Click();
    QCOMPARE(h.form().statusBox()->text(), fault);
    QCOMPARE(h.form().statusBox()->background(), QColor(255, 0, 0));
    QVERIFY(h.port.sent.isEmpty());
    QVERIFY(h.port.sentWhileClosed.isEmpty());
    QVERIFY(!h.port.isOpen);
}

void TestLinkGuards::deviceVanishingMidTransaction() {
    PanelFaults faults;
    faults.hangUpAfter = 6;
    Harness h(faults);
    h.assignAll();
    h.tool.link.WRITE_CONFIG_Click();
    QVERIFY(h.form().statusBox()->text().startsWith("SERIAL PORT /dev/fake FAILED"));
    QCOMPARE(h.form().statusBox()->background(), QColor(255, 0, 0));
    QVERIFY(h.port.sentWhileClosed.isEmpty());
    QVERIFY(!h.port.isOpen);
    QCOMPARE(h.port.panel.commands().size(), 6);
}

QTEST_MAIN(TestLinkGuards)
#include "tst_linkguards.moc"
