#include "Harness.h"
#include "ui/Startup.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void programIconComesInEachSizeWithoutImagePlugins(); // first: nothing loaded yet
    void focusRestsOutsideTheListsDuringATransaction_data();
    void focusRestsOutsideTheListsDuringATransaction();
    void commandEndingAtOnceLeavesTheKeyboard_data();
    void commandEndingAtOnceLeavesTheKeyboard();
    void startsInTheSwitchView();
    void controlsSitAtTheirPlaces_data();
    void controlsSitAtTheirPlaces();
    void listsCarryTheirEntriesAndTips();
    void lightingViewShowsLedAndBacklightControls();
    void lightingControlsAreBuiltWhenFirstWanted_data();
    void lightingControlsAreBuiltWhenFirstWanted();
    void switchingViewsChangesNoSelectionOrText();
    void readEndHidesSwitchDesignationsUntilTheNextView();
    void panelNameTakesTwelveTypedCharacters();
    void textBoxesRefuseWhatAFileCannotHold();
    void userClickRunsTheListBehaviour();
    void clickOnTheSelectedEntryRunsItsBehaviour();
    void enteringADesignationSelectsThePlaceholder_data();
    void enteringADesignationSelectsThePlaceholder();
    void designationShowsItsStartOnceLeft();
    void designationTipCarriesTheWholeText_data();
    void designationTipCarriesTheWholeText();
};

static bool shown(QWidget* w) {
    return !w->isHidden();
}

void TestWindow::programIconComesInEachSizeWithoutImagePlugins() {
    const QIcon icon = programIcon();
    const QList<QSize> sizes = {{16, 16}, {32, 32}, {64, 64}, {128, 128}};
    QCOMPARE(icon.availableSizes(), sizes);
    for (const QSize& size : sizes) {
        const QImage drawn = icon.pixmap(size).toImage();
        QCOMPARE(drawn.size(), size);
        const QRgb middle = drawn.pixel(size.width() / 2, size.height() / 2);
        QVERIFY2(qAlpha(middle) == 255, "the panel is drawn, not a blank");
    }
#ifdef Q_OS_LINUX
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY2(!maps.readAll().contains("/imageformats/"), "an image plugin was loaded");
#endif
}

void TestWindow::startsInTheSwitchView() {
    Harness h;
    Form1& f = h.form();
    QCOMPARE(f.windowTitle(),
             QString("TARNEK KVQ 10 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM"));
    QCOMPARE(f.size(), QSize(761, 593));
    QVERIFY(f.findChild<QRadioButton*>("Option1")->isChecked());
    QVERIFY(!f.findChild<QRadioButton*>("Option2")->isChecked());
    QVERIFY(!shown(f.findChild<QGroupBox*>("Frame1")));
    QVERIFY(!shown(f.findChild<QGroupBox*>("Frame2")));
    for (int l = 1; l <= 20; ++l) {
        QVERIFY2(shown(f.list(l)), qPrintable(QString("List%1").arg(l)));
        QCOMPARE(f.list(l)->listIndex(), -1);
    }
    for (int l = 21; l <= 42; ++l)
        QVERIFY(!shown(f.list(l)));
    for (int t = 3; t <= 22; ++t) {
        QCOMPARE(shown(f.textBox(t)), t <= 12);
        QCOMPARE(f.textBox(t)->text(), QString("DESIGNATION "));
    }
    QVERIFY(!shown(f.statusBox()));
    QCOMPARE(f.statusBox()->text(), QString("Text1\r\n"));
    QVERIFY(f.textBox(2)->text().isEmpty());
    for (int l : {45, 46, 49})
        QCOMPARE(f.list(l)->listIndex(), 0);
    QCOMPARE(h.rec().blpercent, qint16(10));
    QCOMPARE(h.rec().indpercent, qint16(10));
    QCOMPARE(h.rec().dindpercent, qint16(10));
    QCOMPARE(h.rec().s1, qint16(0));
    QCOMPARE(h.rec().timer_flag, qint16(0));
    const int labels[] = {2, 3, 4, 5, 8, 9, 10, 11, 12, 13};
    for (int k = 0; k < 10; ++k)
        QCOMPARE(f.label(labels[k])->text(), QString("SW%1").arg(k + 1));
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestWindow::controlsSitAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Twips converted by edges: x = round(L/15), w = round((L+W)/15) - x.
    QTest::newRow("List1") << "List1" << QRect(112, 176, 57, 43);
    QTest::newRow("List2") << "List2" << QRect(168, 176, 41, 43);
    QTest::newRow("Text3") << "Text3" << QRect(112, 160, 97, 19);
    QTest::newRow("List20") << "List20" << QRect(288, 464, 41, 43);
    QTest::newRow("Text22") << "Text22" << QRect(232, 448, 97, 19);
    QTest::newRow("Text1") << "Text1" << QRect(112, 112, 217, 41);
    QTest::newRow("Text2") << "Text2" << QRect(168, 536, 113, 19);
    QTest::newRow("Image1") << "Image1" << QRect(64, 96, 313, 473);
    QTest::newRow("Shape1") << "Shape1" << QRect(72, 448, 41, 65);
    QTest::newRow("READ_CONFIG") << "READ_CONFIG" << QRect(584, 96, 161, 57);
    QTest::newRow("Frame2") << "Frame2" << QRect(400, 384, 345, 185);
    QTest::newRow("Label16 in its frame") << "Label16" << QRect(40, 128, 169, 41);
    QTest::newRow("List44 in its frame") << "List44" << QRect(168, 64, 41, 43);
    QTest::newRow("Option2") << "Option2" << QRect(312, 48, 161, 33);
}

void TestWindow::controlsSitAtTheirPlaces() {
    QFETCH(QString, name);
    Harness h;
    h.lightingView(); // the lighting view's controls are built when first shown
    auto* w = h.form().findChild<QWidget*>(name);
    QVERIFY(w);
    QTEST(w->geometry(), "pixels");
}

void TestWindow::listsCarryTheirEntriesAndTips() {
    Harness h;
    Form1& f = h.form();
    ListBox* module = f.list(41);
    QCOMPARE(module->count(), 17);
    QCOMPARE(module->item(0)->text(), QString("N/A"));
    QCOMPARE(module->itemData(0), qint16(160));
    QCOMPARE(module->item(16)->text(), QString("P"));
    QCOMPARE(module->itemData(16), qint16(150));
    QCOMPARE(f.list(42)->item(9)->text(), QString("10"));
    QCOMPARE(f.list(42)->itemData(9), qint16(9));
    QCOMPARE(f.list(46)->item(1)->text(), QString("90"));
    QCOMPARE(f.list(46)->itemData(1), qint16(7));
    QCOMPARE(f.list(19)->toolTip(), QString("SW10 MODULE ASSIGNMENT"));
    QCOMPARE(f.list(22)->toolTip(), QString("LED1 CHANNEL ASSIGNMENT"));
    QCOMPARE(f.textBox(22)->toolTip(), QString("ENTER LED10 FUNCTION"));
    QCOMPARE(f.list(43)->toolTip(), QString("DIMMING MODULE ASSIGNMENT"));
    QCOMPARE(f.list(42)->toolTip(), QString("BACKLIGHTING CHANNEL ASSIGNMENT"));
    QCOMPARE(f.list(1)->palette().color(QPalette::Text), QColor(0, 128, 0));
    QCOMPARE(f.list(21)->palette().color(QPalette::Text), QColor(192, 0, 0));
    QCOMPARE(f.findChild<QWidget*>("WRITE_CONFIG")->toolTip(),
             QString("LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL"));
}

void TestWindow::lightingViewShowsLedAndBacklightControls() {
    Harness h;
    Form1& f = h.form();
    f.list(23)->setListIndex(0); // LED2 "N/A"
    f.list(41)->setListIndex(0); // backlighting "N/A"
    f.list(43)->setListIndex(0); // dimming "N/A" hides List44
    h.lightingView();
    QVERIFY(shown(f.findChild<QGroupBox*>("Frame1")));
    QVERIFY(shown(f.findChild<QGroupBox*>("Frame2")));
    for (int l = 1; l <= 20; ++l)
        QVERIFY(!shown(f.list(l)));
    for (int l = 21; l <= 41; ++l)
        QCOMPARE(shown(f.list(l)), l != 24);
    QVERIFY(!shown(f.list(42)));
    QVERIFY(!shown(f.list(44))); // left as the dimming module list set it
    for (int t = 3; t <= 22; ++t)
        QCOMPARE(shown(f.textBox(t)), t >= 13);
    QCOMPARE(f.label(13)->text(), QString("LED10"));
    f.list(43)->setListIndex(3);
    h.session().Option1_Click();
    h.lightingView();
    QVERIFY(shown(f.list(44)));
}

void TestWindow::lightingControlsAreBuiltWhenFirstWanted_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("view shown") << "view";
    QTest::newRow("list asked for") << "list";
    QTest::newRow("box asked for") << "box";
    QTest::newRow("a screen reader comes") << "reader";
}

// The window starts without the lighting view's controls. Whatever the
// session did meanwhile, they show its state once built, and what is done
// in them reaches the session.
void TestWindow::lightingControlsAreBuiltWhenFirstWanted() {
    QFETCH(QString, how);
    Harness h;
    Form1& f = h.form();
    Session& s = h.session();
    QVERIFY(!f.builtList(21) && !f.builtList(41) && !f.builtList(49));
    s.step([&] {
        s.selectListEntry(21, 0); // "N/A": its channel list stays hidden
        s.selectListEntry(49, 1);
        s.setBoxText(13, "HALL");
    });
    QVERIFY(!f.builtList(21)); // a change to what is not shown builds nothing
    if (how == "view")
        h.lightingView();
    else if (how == "reader") {
        QAccessible::setActive(true); // tells the window, as a reader's arrival does
        QAccessible::setActive(false);
        QCoreApplication::processEvents();
    } else if (how == "list")
        QVERIFY(f.list(45));
    else
        QVERIFY(f.textBox(13));
    for (int l : {21, 22, 41, 44, 45, 46, 49}) {
        QVERIFY(f.builtList(l));
        QCOMPARE(f.list(l)->listIndex(), s.listIndex(l));
        QCOMPARE(shown(f.list(l)), s.listVisible(l));
    }
    QCOMPARE(f.list(21)->listIndex(), 0);
    QCOMPARE(f.list(49)->listIndex(), 1);
    QCOMPARE(f.textBox(13)->text(), QString("HALL"));
    QCOMPARE(shown(f.textBox(13)), s.boxVisible(13));
    f.list(21)->setListIndex(3);
    QCOMPARE(s.listIndex(21), 3);
    f.textBox(14)->setText("STAIRS");
    QCOMPARE(s.boxText(14), QString("STAIRS"));
}

void TestWindow::commandEndingAtOnceLeavesTheKeyboard_data() {
    QTest::addColumn<bool>("assigned");
    QTest::newRow("nothing assigned") << false;
    QTest::newRow("the port refused") << true;
}

// A write by its shortcut that ends before its first wait never takes the
// keyboard off the list: a screen reader would say the list again before
// the outcome.
void TestWindow::commandEndingAtOnceLeavesTheKeyboard() {
    QFETCH(bool, assigned);
    Harness h;
    h.port.refuseOpen = "NOT FOUND";
    if (assigned)
        h.assignAll();
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.list(1)->setFocus();
    QSignalSpy moves(qApp, &QApplication::focusChanged);
    f.findChild<QPushButton*>("WRITE_CONFIG")->click();
    QCoreApplication::processEvents();
    QCOMPARE(h.session().statusColour(), ConfigScreen::StatusColour::Red);
    QCOMPARE(moves.count(), 0);
    QCOMPARE(QApplication::focusWidget(), f.list(1));
}

void TestWindow::switchingViewsChangesNoSelectionOrText() {
    Harness h;
    Form1& f = h.form();
    h.assign(0, 2, 3);
    h.assign(12, 5, 9);
    f.list(45)->setListIndex(4);
    f.textBox(4)->setText("HALL");
    f.list(5)->setListIndex(0); // SW3 "N/A"
    const ConfigRecord before = h.rec();
    h.lightingView();
    h.session().Option1_Click();
    h.lightingView();
    h.session().ShowSwitchView();
    QCOMPARE(f.list(1)->listIndex(), 2);
    QCOMPARE(f.list(2)->listIndex(), 3);
    QCOMPARE(f.list(25)->listIndex(), 5);
    QCOMPARE(f.list(45)->listIndex(), 4);
    QCOMPARE(f.textBox(4)->text(), QString("HALL"));
    QVERIFY(!shown(f.list(6))); // "N/A" hides the channel list
    QVERIFY(shown(f.list(8)));  // nothing selected shows it
    QCOMPARE(h.rec().s1, before.s1);
    QCOMPARE(h.rec().led3, before.led3);
    QCOMPARE(h.rec().blpercent, before.blpercent);

    // A long text that came in (a file, a panel) shows its beginning.
    h.session().setBoxText(3, "EXTRACTOR HOOD OVER THE RANGE");
    QCOMPARE(f.textBox(3)->cursorPosition(), 0);
}

void TestWindow::readEndHidesSwitchDesignationsUntilTheNextView() {
    Harness h;
    Form1& f = h.form();
    h.rec().config_flag = 1;
    h.session().ShowSwitchView();
    for (int t = 3; t <= 12; ++t)
        QVERIFY(!shown(f.textBox(t)));
    h.rec().config_flag = 0;
    f.findChild<QAbstractButton*>("Option1")->click(); // already chosen, still a click
    for (int t = 3; t <= 12; ++t)
        QVERIFY(shown(f.textBox(t)));
    h.rec().config_flag = 1;
    h.session().ShowSwitchView();
    h.rec().config_flag = 0;
    h.lightingView();
    QVERIFY(shown(f.textBox(13)));
    h.session().Option1_Click();
    for (int t = 3; t <= 12; ++t)
        QVERIFY(shown(f.textBox(t)));
}

void TestWindow::panelNameTakesTwelveTypedCharacters() {
    Harness h;
    TextBox* name = h.form().textBox(2);
    QTest::keyClicks(name, "ABCDEFGHIJKLM");
    QCOMPARE(name->text(), QString("ABCDEFGHIJKL"));
    name->insert("XY");
    QCOMPARE(name->text(), QString("ABCDEFGHIJKL"));

    // A longer name from a file is kept whole; typing cannot lengthen it.
    name->setText("A NAME LONGER THAN TWELVE");
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, "Z");
    QCOMPARE(name->text(), QString("A NAME LONGER THAN TWELVE"));
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), QString("A NAME LONGER THAN TWELV"));
}

void TestWindow::textBoxesRefuseWhatAFileCannotHold() {
    Harness h;
    for (int t : {2, 3, 22}) {
        TextBox* box = h.form().textBox(t);
        box->clear();
        QTest::keyClicks(box, "A\"B");
        QCOMPARE(box->text(), QString("AB"));
        box->insert(QString::fromUtf8("\xe4\xb8\xad")); // a character outside Windows-1252
        box->insert("C\nD");
        QCOMPARE(box->text(), QString("AB"));
        box->insert(QString::fromUtf8("\xe2\x82\xac,\xc3\xa9")); // euro sign, comma, e acute
        QCOMPARE(box->text(), QString::fromUtf8("AB\xe2\x82\xac,\xc3\xa9"));

        // A text from a file may hold a tab; what the user adds is still judged.
        box->setText("A\tB");
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, "\"C");
        QCOMPARE(box->text(), QString("A\tBC"));
    }
}

void TestWindow::userClickRunsTheListBehaviour() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    ListBox* module = f.list(1);
    module->scrollToItem(module->item(3));
    QTest::mouseClick(module->viewport(), Qt::LeftButton, {},
                      module->visualItemRect(module->item(3)).center());
    QCOMPARE(module->listIndex(), 3);
    QCOMPARE(h.rec().s1m, qint16(20));
    QCOMPARE(h.rec().s1, qint16(20));
    // A Ctrl-click cannot leave a list box without a selection.
    QTest::mouseClick(module->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      module->visualItemRect(module->item(3)).center());
    QCOMPARE(module->listIndex(), 3);
    QCOMPARE(module->selectedItems().size(), 1);
}

// After a read the switch designation boxes are hidden; a click on the
// channel entry already selected brings the box back. A click that changes
// the selection runs the behaviour once, not twice.
void TestWindow::clickOnTheSelectedEntryRunsItsBehaviour() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    h.assign(0, 2, 4);
    h.rec().config_flag = 1;
    h.session().ShowSwitchView();
    h.rec().config_flag = 0;
    QVERIFY(!shown(f.textBox(3)));

    ListBox* channel = f.list(2);
    int runs = 0;
    connect(channel, &ListBox::chosen, [&runs] { ++runs; });
    auto click = [channel](int entry) {
        channel->scrollToItem(channel->item(entry));
        QTest::mouseClick(channel->viewport(), Qt::LeftButton, {},
                          channel->visualItemRect(channel->item(entry)).center());
    };
    click(4);
    QCOMPARE(runs, 1);
    QVERIFY(shown(f.textBox(3)));
    click(5);
    QCOMPARE(runs, 2);
    QCOMPARE(h.rec().s1, qint16(15)); // "B", channel "6"
}

void TestWindow::focusRestsOutsideTheListsDuringATransaction_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("button");
    QTest::newRow("read from its button") << "READ_CONFIG"
                                          << "READ_CONFIG";
    QTest::newRow("write from a designation") << "Text3"
                                              << "WRITE_CONFIG";
}

// Disabling the focused button would hand the focus on to a list, where a
// key pressed during the read changes an assignment: the pressed button
// keeps it, and does nothing meanwhile. From elsewhere (a shortcut) the
// focus rests on the window meanwhile and comes back to where it was.
void TestWindow::focusRestsOutsideTheListsDuringATransaction() {
    QFETCH(QString, start);
    QFETCH(QString, button);
    Harness h;
    h.assignAll();
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QWidget* started = f.findChild<QWidget*>(start);
    started->setFocus();
    QWidget* during = nullptr;
    const int before = h.session().listIndex(1);
    QStringList enabledDuring;
    h.clock.after(300, [&] {
        during = QApplication::focusWidget();
        for (auto* b : f.findChildren<CommandButton*>())
            if (b->isEnabled())
                enabledDuring << b->objectName();
        if (during)
            for (Qt::Key key : {Qt::Key_Space, Qt::Key_End, Qt::Key_Return, Qt::Key_A})
                QTest::keyClick(during, key);
    });
    if (start == button)
        QTest::keyClick(started, Qt::Key_Space); // the button pressed from the keyboard
    else // as its shortcut does, with the focus left where it was
        f.findChild<QPushButton*>(button)->click();
    QCOMPARE(during, start == button ? started : static_cast<QWidget*>(&f));
    // The others are held still; the pressed one only while it has the keyboard.
    QCOMPARE(enabledDuring, start == button ? QStringList{button} : QStringList{});
    QCOMPARE(h.port.opens, 1); // Space on the held button started nothing
    // What the fresh panel holds ("N/A") or what was there, not what a key chose.
    QCOMPARE(h.session().listIndex(1), button == "READ_CONFIG" ? 0 : before);
    QCOMPARE(QApplication::focusWidget(), started);

    // A user who goes to the panel name meanwhile keeps typing there through
    // every message and the end.
    QLineEdit* name = f.textBox(2);
    QString typed;
    h.clock.after(150, [&] {
        name->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(name, "HALL");
    });
    h.clock.after(300, [&] {
        QTest::keyClicks(QApplication::focusWidget(), "WAY");
        typed = name->text();
    });
    f.findChild<QPushButton*>(button)->click();
    QCOMPARE(typed, QString("HALLWAY"));
    QCOMPARE(QApplication::focusWidget(), name);
}

void TestWindow::enteringADesignationSelectsThePlaceholder_data() {
    QTest::addColumn<QString>("before"); // the box's text
    QTest::addColumn<bool>("byClick");   // else by Tab
    QTest::addColumn<QString>("after");  // once "STAIR" is typed
    QTest::newRow("placeholder, click") << "DESIGNATION " << true << "STAIR";
    QTest::newRow("placeholder, Tab") << "DESIGNATION " << false << "STAIR";
    // A name the user gave is edited where the click puts the cursor.
    QTest::newRow("named, click") << "HALLWAY LIGHTS" << true << "HALLWAY LIGHTS";
}

void TestWindow::enteringADesignationSelectsThePlaceholder() {
    QFETCH(QString, before);
    QFETCH(bool, byClick);
    QFETCH(QString, after);
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    TextBox* box = f.textBox(5);
    h.session().setBoxText(5, before);
    f.list(6)->setFocus(Qt::TabFocusReason); // just before it in the Tab chain
    if (byClick) {
        // Into the middle of the text; a little drag keeps the choice.
        const QPoint at(box->width() / 2, box->height() / 2);
        QTest::mousePress(box, Qt::LeftButton, {}, at);
        const QPoint to = at + QPoint(3, 0);
        QMouseEvent drag(QEvent::MouseMove, to, box->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(box, &drag);
        QTest::mouseRelease(box, Qt::LeftButton, {}, to);
    } else {
        QTest::keyClick(f.list(6), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(box, "STAIR");
    if (after != before) {
        QCOMPARE(box->text(), after);
    } else { // typed where the click put the cursor, inside the text
        QCOMPARE(box->text().size(), before.size() + 5);
        QVERIFY(box->text().contains("STAIR"));
        QVERIFY(!box->text().startsWith("STAIR") && !box->text().endsWith("STAIR"));
    }
    QCOMPARE(h.session().boxText(5), box->text());
}

// The whole designation is longer than the box: once the user has left it,
// it shows its beginning, not its end.
void TestWindow::designationShowsItsStartOnceLeft() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    TextBox* box = f.textBox(3);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, "STAIRWELL LIGHTS UPPER LANDING");
    QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) > box->width());
    QCOMPARE(box->cursorPosition(), int(box->text().size()));
    const QImage typing = box->grab().toImage();
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
    QCOMPARE(box->cursorPosition(), 0);
    QVERIFY(box->grab().toImage() != typing);
}

void TestWindow::designationTipCarriesTheWholeText_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    QTest::newRow("placeholder") << 3 << "DESIGNATION "
                                 << "ENTER SW1 FUNCTION";
    QTest::newRow("emptied") << 3 << ""
                             << "ENTER SW1 FUNCTION";
    QTest::newRow("switch, long") << 12 << "STAIRWELL LIGHTS"
                                  << "ENTER SW10 FUNCTION\nSTAIRWELL LIGHTS";
    QTest::newRow("LED") << 13 << "HALL"
                         << "ENTER LED1 FUNCTION\nHALL";
}

void TestWindow::designationTipCarriesTheWholeText() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    Harness h;
    h.session().setBoxText(box, "SOMETHING ELSE");
    h.session().setBoxText(box, text); // from a file, an undo or typing alike
    QCOMPARE(h.form().textBox(box)->toolTip(), tip);
    QCOMPARE(h.form().textBox(box)->accessibleDescription(), text);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
