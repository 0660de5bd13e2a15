#include "Harness.h"
#include "files/FileCommands.h"
#include "link/LinkTexts.h"
#include "model/Completeness.h"
#include "platform/AnsweringDialogs.h"
#include "site/PanelMatch.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Comparing a panel with the configuration shown: the marks and the outcome
// (the session's), the read that changes nothing (the link's), which file a
// panel holds (the site's), the progress of every transaction (the link's)
// and what the window adds.
class TestCompare : public QObject {
    Q_OBJECT
private slots:
    void outcomeAndMarks_data();
    void outcomeAndMarks();
    void marksGoAtTheNextChange_data();
    void marksGoAtTheNextChange();
    void incompleteConfigurationIsNotCompared();
    void compareChangesNothingButTheStatus();
    void compareOfAPanelWithABadValue();
    void progressInOrder_data();
    void progressInOrder();
    void windowShowsMarksAndProgress();
    void marksReachTheLightingListsBuiltLater();
    void identifyMatchesFiles_data();
    void identifyMatchesFiles();
};

namespace {
using Changes = QList<QPair<int, int>>; // cell, panel value

void assignAll(Session& s) {
    for (int row = 0; row < 22; ++row) {
        s.selectListEntry(2 * row + 1, 1 + row % 16);
        s.selectListEntry(2 * row + 2, row % 10);
    }
}

PanelValues changed(PanelValues values, const Changes& changes) {
    for (const auto& [cell, value] : changes)
        values[size_t(cell)] = qint16(value);
    return values;
}

// A configuration file as the save command writes it.
void save(Session& s, const QString& path) {
    AnsweringDialogs dialogs;
    FileCommands files(s, dialogs);
    s.setBoxText(2, QStringLiteral("PANEL"));
    dialogs.answer = path;
    files.WRITE_FILE_Click();
    QVERIFY2(QFile::exists(path), qPrintable(dialogs.messages().join(' ')));
}
} // namespace

void TestCompare::outcomeAndMarks_data() {
    QTest::addColumn<Changes>("panel");
    QTest::addColumn<QString>("status");
    QTest::addColumn<ConfigScreen::StatusColour>("colour");

    QTest::newRow("agrees") << Changes{} << "PANEL AGREES WITH THIS CONFIGURATION"
                            << ConfigScreen::StatusColour::Green;
    QTest::newRow("one item") << Changes{{2, 160}} << "1 ITEM DIFFERS: SW3"
                              << ConfigScreen::StatusColour::Red;
    QTest::newRow("three, an intensity among them")
        << Changes{{2, 0}, {13, 160}, {22, 7}}
        << "3 ITEMS DIFFER: SW3, LED4, NORMAL BACKLIGHTING (%)" << ConfigScreen::StatusColour::Red;
    QTest::newRow("a value no list shows")
        << Changes{{21, 200}} << "1 ITEM DIFFERS: DIMMING" << ConfigScreen::StatusColour::Red;
}

void TestCompare::outcomeAndMarks() {
    QFETCH(Changes, panel);
    QFETCH(QString, status);
    QFETCH(ConfigScreen::StatusColour, colour);
    AnsweringDialogs dialogs;
    Session s(dialogs);
    assignAll(s);
    const PanelValues sent = *s.valuesToSend();
    s.showComparison(changed(sent, panel));
    QCOMPARE(s.statusText(), status);
    QCOMPARE(s.statusColour(), colour);
    QVERIFY(s.statusVisible());
    QCOMPARE(s.marks().size(), size_t(panel.size()));
    for (const auto& [cell, value] : panel)
        QCOMPARE(s.markedPanelValue(size_t(cell)), std::optional<qint16>(qint16(value)));
    QCOMPARE(s.markedPanelValue(0), std::nullopt);
    if (!panel.isEmpty() && panel.first().first == 2)
        QCOMPARE(s.markText(s.marks().front()), panel.first().second == 0
                                                    ? QStringLiteral("SW3: IN THE PANEL A 1")
                                                    : QStringLiteral("SW3: IN THE PANEL N/A"));
}

void TestCompare::marksGoAtTheNextChange_data() {
    QTest::addColumn<int>("change");
    QTest::newRow("a list choice") << 0;
    QTest::newRow("typing a designation") << 1;
    QTest::newRow("the panel name") << 2;
    QTest::newRow("undo") << 3;
    QTest::newRow("a view change keeps them") << 4;
}

void TestCompare::marksGoAtTheNextChange() {
    QFETCH(int, change);
    AnsweringDialogs dialogs;
    Session s(dialogs);
    assignAll(s);
    s.showComparison(changed(*s.valuesToSend(), {{0, 160}}));
    QSignalSpy dropped(&s, &Session::marksChanged);
    switch (change) {
    case 0:
        s.selectListEntry(46, 3);
        break;
    case 1:
        s.setBoxText(5, QStringLiteral("DOOR"));
        break;
    case 2:
        s.setBoxText(2, QStringLiteral("LOBBY"));
        break;
    case 3:
        QVERIFY(s.undo());
        break;
    case 4:
        s.Option2_Click();
        QCOMPARE(s.marks().size(), size_t(1));
        QCOMPARE(dropped.count(), 0);
        return;
    }
    QVERIFY(s.marks().empty());
    QCOMPARE(dropped.count(), 1);
}

void TestCompare::incompleteConfigurationIsNotCompared() {
    AnsweringDialogs dialogs;
    Session s(dialogs);
    assignAll(s);
    s.selectListEntry(30, -1); // LED5's channel
    QVERIFY(!s.readyToCompare());
    QCOMPARE(s.statusText(), Completeness::ledsOnWrite);
    QCOMPARE(s.statusColour(), ConfigScreen::StatusColour::Red);
    s.selectListEntry(4, -1); // SW2's channel: the switches come first
    QVERIFY(!s.readyToCompare());
    QCOMPARE(s.statusText(), Completeness::switches);
}

// The compare reads the panel as a read does but leaves the configuration,
// its designations, the undo history and the unsaved state alone.
void TestCompare::compareChangesNothingButTheStatus() {
    Harness h;
    h.assignAll();
    h.session().setBoxText(3, QStringLiteral("DOOR"));
    h.tool.link.WRITE_CONFIG_Click();
    h.session().configurationStored(QStringLiteral("site/lobby.zqc"));
    h.port.panel.setValue(2, 160);
    h.port.panel.setValue(24, 4);
    const PanelValues before = *h.session().valuesToSend();
    h.tool.compare();
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::Done);
    QCOMPARE(h.session().statusText(),
             QStringLiteral("2 ITEMS DIFFER: SW3, DIMMED BACKLIGHTING AND "
                            "INDICATOR (%)"));
    QCOMPARE(*h.session().valuesToSend(), before);
    QCOMPARE(h.session().boxText(3), QStringLiteral("DOOR"));
    QVERIFY(h.session().boxVisible(3));
    QVERIFY(!h.session().unsavedChanges());
    QVERIFY(h.session().canUndo());
    QVERIFY(h.session().undo()); // the designation typed, not the compare
    QCOMPARE(h.session().boxText(3), QStringLiteral("DESIGNATION "));
    QCOMPARE(h.port.closes, h.port.opens);
    QCOMPARE(h.port.panel.commands().last().address, 24);
}

void TestCompare::compareOfAPanelWithABadValue() {
    Harness h;
    h.assignAll();
    h.port.panel.setValue(5, 200);
    h.tool.compare();
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::BadData);
    QCOMPARE(h.session().statusText(), LinkTexts::badData);
    QVERIFY(h.session().marks().empty());
    QCOMPARE(h.port.closes, h.port.opens);
}

void TestCompare::progressInOrder_data() {
    QTest::addColumn<int>("transaction"); // read, write, compare
    QTest::addColumn<int>("identity");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QList<int>>("steps");

    QList<int> whole;
    for (int i = 0; i <= PanelLink::steps; ++i)
        whole << i;
    QTest::newRow("read") << 0 << 61 << false << whole;
    QTest::newRow("write") << 1 << 67 << false << whole;
    QTest::newRow("compare") << 2 << 61 << false << whole;
    QTest::newRow("no answer") << 0 << 61 << true << QList<int>{0};
    QTest::newRow("foreign panel") << 1 << 12 << false << QList<int>{0, 1};
}

void TestCompare::progressInOrder() {
    QFETCH(int, transaction);
    QFETCH(int, identity);
    QFETCH(bool, silent);
    QFETCH(QList<int>, steps);
    Harness h;
    h.assignAll();
    h.port.panel.setValue(63, identity);
    h.port.connected = !silent;
    QList<int> seen;
    QObject::connect(&h.tool.link, &PanelLink::stepsDone, [&seen](int done, int of) {
        QCOMPARE(of, PanelLink::steps);
        seen << done;
    });
    if (transaction == 0)
        h.tool.link.READ_CONFIG_Click();
    else if (transaction == 1)
        h.tool.link.WRITE_CONFIG_Click();
    else
        h.tool.link.COMPARE_CONFIG_Click();
    QCOMPARE(seen, steps);
}

void TestCompare::windowShowsMarksAndProgress() {
    Harness h;
    h.assignAll();
    h.tool.link.WRITE_CONFIG_Click();
    h.port.panel.setValue(1, 160);  // SW2
    h.port.panel.setValue(11, 160); // LED2, at the same place in the other view
    h.tool.compareControls->button()->click();
    QLabel* sw2 = h.tool.compareControls->markOf(1);
    QVERIFY(sw2->isVisibleTo(&h.form()));
    QCOMPARE(sw2->toolTip(), QStringLiteral("SW2: IN THE PANEL N/A"));
    QCOMPARE(h.form().list(3)->accessibleDescription(), QStringLiteral("SW2: IN THE PANEL N/A"));
    QVERIFY(!h.tool.compareControls->markOf(0)->isVisibleTo(&h.form()));
    h.lightingView();
    QCOMPARE(h.tool.compareControls->markOf(11)->toolTip(),
             QStringLiteral("LED2: IN THE PANEL N/A"));
    QVERIFY(h.tool.compareControls->markOf(11)->isVisibleTo(&h.form()));
    QProgressBar* progress = h.tool.compareControls->progress();
    QVERIFY(progress->isVisibleTo(&h.form()));
    QCOMPARE(progress->value(), PanelLink::steps);
    h.form().list(3)->setListIndex(0); // an edit: the marks go
    QVERIFY(!h.tool.compareControls->markOf(11)->isVisibleTo(&h.form()));
    QCOMPARE(h.form().list(23)->accessibleDescription(), QString());
}

// The lighting view's lists are built when first shown; a compare before
// then leaves its marks for them to take.
void TestCompare::marksReachTheLightingListsBuiltLater() {
    Harness h;
    for (int row = 0; row < 10; ++row)
        h.assign(row, 1 + row, row % 10);
    h.session().step([&] {
        for (int row = 10; row < 22; ++row)
            h.session().selectListEntry(2 * row + 1, 0); // N/A: nothing more shown
    });
    QVERIFY(!h.form().builtList(23));
    h.tool.link.WRITE_CONFIG_Click();
    h.port.panel.setValue(11, 0); // LED2 on A 1
    h.tool.compareControls->button()->click();
    QCOMPARE(h.session().statusText(), QStringLiteral("1 ITEM DIFFERS: LED2"));
    QVERIFY(!h.form().builtList(23));
    // Asked for before the view is shown, as a screen reader's user may.
    QCOMPARE(h.form().list(23)->accessibleDescription(), QStringLiteral("LED2: IN THE PANEL A 1"));
    h.lightingView();
    QVERIFY(h.tool.compareControls->markOf(11)->isVisibleTo(&h.form()));
}

void TestCompare::identifyMatchesFiles_data() {
    QTest::addColumn<Changes>("panel");
    QTest::addColumn<QStringList>("matching");
    QTest::addColumn<QStringList>("nearest");

    QTest::newRow("exactly one") << Changes{} << QStringList{"LOBBY.zqc"} << QStringList{};
    QTest::newRow("several alike")
        << Changes{{0, 5}} << QStringList{"COPY.zqc", "STAIRS.zqc"} << QStringList{};
    QTest::newRow("none: the nearest with their items")
        << Changes{{2, 0}} << QStringList{} << QStringList{"LOBBY.zqc: SW3 (panel A 1, file C 3)"};
    QTest::newRow("none: two as near") << Changes{{0, 5}, {1, 7}} << QStringList{}
                                       << QStringList{"COPY.zqc: SW2 (panel A 8, file B 2)",
                                                      "STAIRS.zqc: SW2 (panel A 8, file B 2)"};
}

void TestCompare::identifyMatchesFiles() {
    QFETCH(Changes, panel);
    QFETCH(QStringList, matching);
    QFETCH(QStringList, nearest);
    QTemporaryDir site;
    AnsweringDialogs dialogs;
    Session s(dialogs);
    assignAll(s);
    const PanelValues lobby = *s.valuesToSend();
    save(s, site.filePath("LOBBY.zqc"));
    s.selectListEntry(2, 5); // SW1 channel 6: A 6
    save(s, site.filePath("STAIRS.zqc"));
    save(s, site.filePath("COPY.zqc"));
    QFile bad(site.filePath("BAD.zqc"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a configuration\r\n");
    bad.close();

    std::vector<PanelMatch::Refused> refused;
    const QStringList files =
        PanelMatch::expand({site.path(), site.filePath("GONE.zqc")}, &refused);
    const auto configurations = PanelMatch::load(files, &refused);
    QCOMPARE(configurations.size(), size_t(3));
    QStringList refusedNames;
    for (const auto& r : refused)
        refusedNames << QFileInfo(r.path).fileName();
    QVERIFY(refusedNames.contains("BAD.zqc"));
    QVERIFY(refusedNames.contains("GONE.zqc"));

    const PanelMatch::Outcome outcome = PanelMatch::match(changed(lobby, panel), configurations);
    QStringList names;
    for (const QString& m : outcome.matching)
        names << QFileInfo(m).fileName();
    QCOMPARE(names, matching);
    QStringList described;
    for (const PanelMatch::Compared& c : outcome.nearest)
        described << PanelMatch::describe(s, c);
    QCOMPARE(described, nearest);
}

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
