// Undo and redo of the configuration, and the question before unsaved
// changes are lost: the steps at the session, the keys and the close at the
// window.

#include "Harness.h"
#include "SessionHarness.h"
#include "model/AssignmentTable.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void eachChoiceIsOneStep_data();
    void eachChoiceIsOneStep();
    void typingIsOneStepPerBox();
    void undoingAReadBringsBackTheDesignations();
    void undoingAnOpenLeavesTheFileAlone();
    void redoPutsBackWhatWasOpenedOrRead_data();
    void redoPutsBackWhatWasOpenedOrRead();
    void noUndoDuringATransaction();
    void aNewStepEndsRedo();
    void undoAndRedoNameTheStep_data();
    void undoAndRedoNameTheStep();

    void closeAsksOnlyWhenSomethingWouldBeLost_data();
    void closeAsksOnlyWhenSomethingWouldBeLost();
    void readAndOpenAskFirst_data();
    void readAndOpenAskFirst();
    void writeLeavesOnlyTheNamesUnsaved();
    void keysUndoAndRedo_data();
    void keysUndoAndRedo();
};

namespace {
// The configuration and the record's editor fields, in one comparable text.
QString state(Session& s) {
    QStringList parts;
    for (int l = 1; l < Session::listCount; ++l)
        parts << QString::number(s.listIndex(l));
    for (int b = 2; b < Session::boxCount; ++b)
        parts << s.boxText(b) + (s.boxVisible(b) ? "+" : "-");
    const ConfigRecord& r = s.record();
    for (const AssignmentRow& row : assignmentRows())
        parts
            << QString("%1/%2/%3").arg(r.*row.code).arg(r.*row.modulePart).arg(r.*row.channelPart);
    parts << QString("%1/%2/%3").arg(r.blpercent).arg(r.indpercent).arg(r.dindpercent);
    return parts.join(',');
}

QString savedFile(const QString& path) {
    Harness h;
    h.assignAll();
    h.form().textBox(2)->setText("LOBBY");
    h.form().textBox(3)->setText("HALL");
    h.dialogs.answers = {path};
    h.tool.writeFile();
    return path;
}

void click(Form1& f, const char* button) {
    f.findChild<QAbstractButton*>(button)->click();
}
} // namespace

void TestUndo::eachChoiceIsOneStep_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("messages");
    QTest::newRow("module") << 1 << 4 << 0;
    QTest::newRow("module N/A hides the channel list") << 5 << 0 << 0;
    QTest::newRow("channel shows the designation") << 2 << 7 << 0;
    QTest::newRow("intensity") << 46 << 5 << 0;
    // The rule's message and its lowering of the backlighting belong to the choice.
    QTest::newRow("indicator below the backlighting") << 49 << 4 << 1;
    QTest::newRow("backlighting above the indicator") << 45 << 0 << 1;
}

void TestUndo::eachChoiceIsOneStep() {
    QFETCH(int, list);
    QFETCH(int, entry);
    QFETCH(int, messages);
    DialogRecorder dialogs;
    Session s(dialogs);
    s.selectListEntry(45, 3); // backlighting 70 %, indicator 80 %
    s.selectListEntry(49, 2);
    s.selectListEntry(2, 2);
    QVERIFY(dialogs.messages.isEmpty());
    const QString before = state(s);
    s.selectListEntry(list, entry);
    QCOMPARE(dialogs.messages.size(), messages);
    const QString after = state(s);
    QVERIFY(after != before);
    QVERIFY(s.undo());
    QCOMPARE(state(s), before);
    QVERIFY(s.redo());
    QCOMPARE(state(s), after);
    QCOMPARE(dialogs.messages.size(), messages); // nothing runs again
}

void TestUndo::typingIsOneStepPerBox() {
    DialogRecorder dialogs;
    Session s(dialogs);
    const QString start = state(s);
    for (const char* t : {"L", "LO", "LOB"})
        s.setBoxText(2, t);
    s.setBoxText(3, "HALL");
    s.setBoxText(3, "HALLS");
    s.selectListEntry(1, 2);
    s.setBoxText(3, "HALL");
    QVERIFY(s.undo());
    QCOMPARE(s.boxText(3), QString("HALLS"));
    QVERIFY(s.undo());
    QCOMPARE(s.listIndex(1), -1);
    QVERIFY(s.undo());
    QCOMPARE(s.boxText(3), QString("DESIGNATION "));
    QCOMPARE(s.boxText(2), QString("LOB"));
    QVERIFY(s.undo());
    QCOMPARE(state(s), start);
    QVERIFY(!s.undo());
    // After an undo the next key starts a step of its own.
    QVERIFY(s.redo());
    s.setBoxText(2, "LOBBY");
    QVERIFY(s.undo());
    QCOMPARE(s.boxText(2), QString("LOB"));
}

void TestUndo::undoingAReadBringsBackTheDesignations() {
    Harness h;
    for (int a = 0; a < 22; ++a)
        h.port.panel.setValue(a, 10 * a % 160 + 3);
    h.port.panel.setValue(22, 4);
    h.assign(0, 3, 3);
    h.session().setBoxText(2, "LOBBY");
    h.session().setBoxText(3, "HALL");
    h.session().setBoxText(5, "STAIRS");
    const QString before = state(h.session());
    QVERIFY(h.session().runTransaction([&] { h.tool.link.READ_CONFIG_Click(); }));
    QCOMPARE(h.form().list(1)->listIndex(), 1);
    QVERIFY(h.form().textBox(3)->text().isEmpty());
    const QString read = state(h.session());
    const QByteArray sent = h.port.sent;
    const int opens = h.port.opens;

    QWidget* status = h.form().findChild<QWidget*>("Text1");
    QVERIFY(!status->isHidden());
    QVERIFY(h.session().undo());
    QCOMPARE(state(h.session()), before);
    QVERIFY(status->isHidden()); // not over SW1's designation
    QCOMPARE(h.form().textBox(2)->text(), QString("LOBBY"));
    QCOMPARE(h.form().textBox(3)->text(), QString("HALL"));
    QVERIFY(!h.form().textBox(5)->isHidden());
    QCOMPARE(h.form().list(1)->listIndex(), 3);
    QCOMPARE(h.rec().blpercent, qint16(10));
    QVERIFY(h.session().redo());
    QCOMPARE(state(h.session()), read);
    QCOMPARE(h.port.sent, sent); // no word to the panel
    QCOMPARE(h.port.opens, opens);
}

void TestUndo::undoingAnOpenLeavesTheFileAlone() {
    QTemporaryDir dir;
    const QString path = savedFile(dir.filePath("LOBBY.zqc"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();

    const QString other = savedFile(dir.filePath("OTHER.zqc"));
    Harness h;
    h.dialogs.answers = {other};
    click(h.form(), "READ_FILE");
    h.session().setBoxText(4, "KITCHEN");
    const QString before = state(h.session());
    h.dialogs.answers = {path};
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer::Discard};
    click(h.form(), "READ_FILE");
    QCOMPARE(h.form().textBox(2)->text(), QString("LOBBY"));
    const QString opened = state(h.session());
    // Undone, the window is on the file it was on, with the edit unsaved.
    QVERIFY(h.session().undo());
    QCOMPARE(state(h.session()), before);
    QVERIFY(h.session().unsavedChanges());
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer::Cancel};
    QVERIFY(!h.session().mayDiscard({}));
    QVERIFY2(h.dialogs.questions.last().text.endsWith("\nOTHER.zqc"),
             qPrintable(h.dialogs.questions.last().text));
    QVERIFY(h.session().redo());
    QCOMPARE(state(h.session()), opened);
    QVERIFY(!h.session().unsavedChanges());
    QVERIFY(h.session().undo());
    QVERIFY(h.session().undo());
    QVERIFY(h.session().undo());
    QVERIFY(!h.session().canUndo());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
    QCOMPARE(h.dialogs.fileRequests.size(), 2);
}

void TestUndo::redoPutsBackWhatWasOpenedOrRead_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("named"); // in the question once edited again
    QTest::newRow("open") << true << "OTHER.zqc";
    QTest::newRow("read: the panel name") << false << "HALL";
}

// The window on FIRST.zqc with an edit, then an open of OTHER.zqc (or a
// read): undone, the edit is unsaved against FIRST.zqc; done again, the
// window is on what it opened or read, with nothing unsaved.
void TestUndo::redoPutsBackWhatWasOpenedOrRead() {
    QFETCH(bool, open);
    QFETCH(QString, named);
    SessionHarness h;
    Session& s = h.session;
    s.step([&] {
        h.assign(0, 1, 1);
        s.configurationStored("/site/FIRST.zqc");
    });
    s.setBoxText(4, "KITCHEN");
    s.step([&] {
        h.assign(1, 2, 2);
        s.setBoxText(2, "HALL");
        if (open)
            s.configurationStored("/site/OTHER.zqc");
        else
            s.configurationRead();
    });
    QVERIFY(!s.unsavedChanges());
    const QString question = "SAVE CHANGES TO THIS CONFIGURATION?\n";
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer::Cancel, Dialogs::SaveAnswer::Cancel};

    QVERIFY(s.undo());
    QVERIFY(s.unsavedChanges());
    QVERIFY(!s.mayDiscard({}));
    QCOMPARE(h.dialogs.questions.last().text, question + "FIRST.zqc");

    QVERIFY(s.redo());
    QVERIFY(!s.unsavedChanges());
    QCOMPARE(s.storedPath(), open ? QString("/site/OTHER.zqc") : QString());
    s.setBoxText(5, "STAIRS");
    QVERIFY(!s.mayDiscard({}));
    QCOMPARE(h.dialogs.questions.size(), 2);
    QCOMPARE(h.dialogs.questions.last().text, question + named);
}

void TestUndo::noUndoDuringATransaction() {
    Harness h;
    h.assign(0, 2, 2);
    h.session().selectListEntry(46, 2);
    bool undone = true, redone = true, offered = true;
    QVERIFY(h.session().runTransaction([&] {
        offered = h.session().canUndo();
        undone = h.session().undo();
        h.session().redo();
        redone = h.session().redo();
    }));
    QVERIFY(!offered);
    QVERIFY(!undone);
    QVERIFY(!redone);
    QCOMPARE(h.form().list(46)->listIndex(), 2);
    QVERIFY(h.session().undo()); // offered again once it has ended
    QCOMPARE(h.form().list(46)->listIndex(), 0);
}

void TestUndo::aNewStepEndsRedo() {
    DialogRecorder dialogs;
    Session s(dialogs);
    s.selectListEntry(1, 2);
    s.selectListEntry(1, 2); // the same entry again changes nothing: no step
    QVERIFY(s.undo());
    QVERIFY(!s.canUndo());
    QVERIFY(s.canRedo());
    s.selectListEntry(3, 4);
    QVERIFY(!s.redo());
    QVERIFY(s.undo());
    QCOMPARE(s.listIndex(3), -1);
    QCOMPARE(s.listIndex(1), -1);
}

void TestUndo::closeAsksOnlyWhenSomethingWouldBeLost_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QList<int>>("answers"); // Dialogs::SaveAnswer
    QTest::addColumn<QString>("savePath");   // empty: the save dialog is cancelled
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closed");
    using A = Dialogs::SaveAnswer;
    QTest::newRow("nothing edited") << "" << QList<int>{} << "" << 0 << true;
    QTest::newRow("view only") << "view" << QList<int>{} << "" << 0 << true;
    QTest::newRow("edited, then undone") << "undone" << QList<int>{} << "" << 0 << true;
    QTest::newRow("discard") << "name" << QList<int>{int(A::Discard)} << "" << 1 << true;
    QTest::newRow("cancel") << "name" << QList<int>{int(A::Cancel)} << "" << 1 << false;
    QTest::newRow("save") << "name" << QList<int>{int(A::Save)} << "S.zqc" << 1 << true;
    QTest::newRow("save, dialog cancelled")
        << "name" << QList<int>{int(A::Save)} << "" << 1 << false;
    QTest::newRow("save refused: no panel name")
        << "list" << QList<int>{int(A::Save)} << "S.zqc" << 1 << false;
}

void TestUndo::closeAsksOnlyWhenSomethingWouldBeLost() {
    QFETCH(QString, edit);
    QFETCH(QList<int>, answers);
    QFETCH(QString, savePath);
    QFETCH(int, questions);
    QFETCH(bool, closed);
    QTemporaryDir dir;
    Harness h;
    h.assignAll();
    h.form().textBox(2)->setText("LOBBY");
    h.dialogs.answers = {dir.filePath("FIRST.zqc")};
    click(h.form(), "WRITE_FILE");
    h.form().show();
    if (edit == "view")
        h.lightingView();
    if (edit == "undone" || edit == "name") {
        h.form().textBox(3)->setText("HALL");
        if (edit == "undone")
            QVERIFY(h.session().undo());
    }
    if (edit == "list") {
        h.form().textBox(2)->setText(QString());
        h.form().list(1)->setListIndex(5);
    }
    for (int a : answers)
        h.dialogs.saveAnswers << Dialogs::SaveAnswer(a);
    h.dialogs.answers = {savePath.isEmpty() ? std::optional<QString>() : dir.filePath(savePath)};
    const int messages = h.dialogs.messages.size();

    QCOMPARE(h.form().close(), closed);
    QCOMPARE(h.dialogs.questions.size(), questions);
    if (questions) {
        // Named after the file it came from.
        QCOMPARE(h.dialogs.questions[0].text,
                 QString("SAVE CHANGES TO THIS CONFIGURATION?\nFIRST.zqc"));
        QCOMPARE(h.dialogs.questions[0].title, QString("TARNEK561or567"));
    }
    const bool saved = QFile::exists(dir.filePath("S.zqc"));
    QCOMPARE(saved, edit == "name" && !savePath.isEmpty());
    if (edit == "list") // the save's own message, as a click on SAVE shows it
        QCOMPARE(h.dialogs.messages.mid(messages).size(), 1);
    else
        QCOMPARE(h.dialogs.messages.size(), messages);
}

void TestUndo::readAndOpenAskFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ran");
    using A = Dialogs::SaveAnswer;
    QTest::newRow("read, cancel") << "READ_CONFIG" << int(A::Cancel) << false;
    QTest::newRow("read, discard") << "READ_CONFIG" << int(A::Discard) << true;
    QTest::newRow("open, cancel") << "READ_FILE" << int(A::Cancel) << false;
    QTest::newRow("open, discard") << "READ_FILE" << int(A::Discard) << true;
    // The save needs a panel name: its message, and the command does not run.
    QTest::newRow("read, save refused") << "READ_CONFIG" << int(A::Save) << false;
}

void TestUndo::readAndOpenAskFirst() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, ran);
    Harness h;
    click(h.form(), command.toLatin1());
    QVERIFY(h.dialogs.questions.isEmpty()); // nothing to lose at start
    const int opens = h.port.opens;
    const qsizetype fileRequests = h.dialogs.fileRequests.size();

    h.assignAll();
    h.form().textBox(3)->setText("HALL");
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer(answer)};
    click(h.form(), command.toLatin1());
    QCOMPARE(h.dialogs.questions.size(), 1);
    QCOMPARE(h.dialogs.questions[0].text, QString("SAVE CHANGES TO THIS CONFIGURATION?"));
    if (command == "READ_CONFIG")
        QCOMPARE(h.port.opens > opens, ran);
    else
        QCOMPARE(h.dialogs.fileRequests.size() > fileRequests, ran);
    QCOMPARE(h.form().textBox(3)->text().isEmpty(), ran && command == "READ_CONFIG");
}

void TestUndo::writeLeavesOnlyTheNamesUnsaved() {
    Harness h;
    h.assignAll();
    click(h.form(), "WRITE_CONFIG");
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::Done);
    QVERIFY(!h.session().unsavedChanges()); // the panel holds the assignments
    h.form().textBox(3)->setText("HALL");
    click(h.form(), "WRITE_CONFIG");
    QVERIFY(h.session().unsavedChanges()); // a designation lives only in a file
    h.port.connected = false;
    h.form().textBox(3)->setText("DESIGNATION ");
    h.form().list(1)->setListIndex(9);
    click(h.form(), "WRITE_CONFIG");
    QVERIFY(h.tool.link.lastOutcome() != PanelLink::Outcome::Done);
    QVERIFY(h.session().unsavedChanges());
}

void TestUndo::keysUndoAndRedo_data() {
    QTest::addColumn<QKeySequence>("redoKeys");
    QTest::newRow("Ctrl+Shift+Z") << QKeySequence("Ctrl+Shift+Z");
    QTest::newRow("Ctrl+Y") << QKeySequence("Ctrl+Y");
}

// In a text box too, the keys undo the window's steps, not the box's keys.
void TestUndo::keysUndoAndRedo() {
    QFETCH(QKeySequence, redoKeys);
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.list(1)->setListIndex(4);
    TextBox* box = f.textBox(3);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "HALL");
    QCOMPARE(box->text(), QString("HALL"));
    QTest::keySequence(box, QKeySequence("Ctrl+Z"));
    QCOMPARE(box->text(), QString("DESIGNATION "));
    QCOMPARE(f.list(1)->listIndex(), 4);
    QTest::keySequence(box, QKeySequence("Ctrl+Z"));
    QCOMPARE(f.list(1)->listIndex(), -1);
    QTest::keySequence(box, redoKeys);
    QTest::keySequence(box, redoKeys);
    QCOMPARE(f.list(1)->listIndex(), 4);
    QCOMPARE(box->text(), QString("HALL"));
    QCOMPARE(h.session().boxText(3), QString("HALL"));
}

void TestUndo::undoAndRedoNameTheStep_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("named");
    QTest::newRow("module") << "module"
                            << "SW3 MODULE";
    QTest::newRow("channel") << "channel"
                             << "LED10 CHANNEL";
    QTest::newRow("typing") << "typing"
                            << "SW2 DESIGNATION";
    QTest::newRow("panel name") << "name"
                                << "PANEL NAME";
    QTest::newRow("intensity") << "intensity"
                               << "NORMAL BACKLIGHTING";
    // The indicator below the backlighting: the rule lowers that too.
    QTest::newRow("intensity and its rule") << "rule"
                                            << "NORMAL INDICATOR AND 1 MORE";
    QTest::newRow("open") << "open"
                          << "OPEN LOBBY.zqc";
    QTest::newRow("read") << "read"
                          << "READ FROM PANEL";
}

// Undo and redo tell what they took back, so the window can say it.
void TestUndo::undoAndRedoNameTheStep() {
    QFETCH(QString, step);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = savedFile(dir.filePath("LOBBY.zqc"));
    Harness h;
    Session& s = h.session();
    s.step([&] { s.selectListEntry(1, 2); }); // an earlier step, not the one named
    if (step == "module")
        s.step([&] { s.selectListEntry(5, 4); });
    else if (step == "channel")
        s.step([&] { s.selectListEntry(40, 4); });
    else if (step == "typing")
        QTest::keyClicks(h.form().textBox(4), "AB");
    else if (step == "name")
        s.setBoxText(2, "LOBBY");
    else if (step == "intensity")
        s.step([&] { s.selectListEntry(45, 3); });
    else if (step == "rule")
        s.step([&] { s.selectListEntry(49, 3); });
    else if (step == "open")
        s.step([&] { h.tool.open(path); });
    else if (step == "read")
        click(h.form(), "READ_CONFIG");
    QStringList told;
    connect(&s, &Session::undone, this, [&](const QString& what) { told << "UNDO " + what; });
    connect(&s, &Session::redone, this, [&](const QString& what) { told << "REDO " + what; });
    QVERIFY(s.undo());
    QVERIFY(s.redo());
    QVERIFY(s.undo());
    QVERIFY(s.undo());
    QCOMPARE(told,
             QStringList({"UNDO " + named, "REDO " + named, "UNDO " + named, "UNDO SW1 MODULE"}));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestUndo test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_undo.moc"
