// Undo and redo of the configuration, and the question before unsaved
// changes are lost: the steps, their names and the bookkeeping on a bare
// session; at the window only the keys, the close and what its commands
// tell the session.

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
    void aNewStepEndsRedo();
    void noUndoDuringATransaction();
    void undoAndRedoNameTheStep_data();
    void undoAndRedoNameTheStep();
    void undoAndRedoOfAnOpenOrARead_data();
    void undoAndRedoOfAnOpenOrARead();
    void saveQuestionOnlyWhenSomethingWouldBeLost_data();
    void saveQuestionOnlyWhenSomethingWouldBeLost();
    void writeLeavesOnlyTheNamesUnsaved();

    // The window.
    void closeAsksFirst_data();
    void closeAsksFirst();
    void readAndOpenAskFirst_data();
    void readAndOpenAskFirst();
    void commandsTellTheSessionWhatIsStored_data();
    void commandsTellTheSessionWhatIsStored();
    void keysUndoAndRedo_data();
    void keysUndoAndRedo();
};

namespace {
const QString saveQuestion = QStringLiteral("SAVE CHANGES TO THIS CONFIGURATION?");

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

// A complete configuration named panelName, saved to path.
QString savedFile(const QString& path, const QString& panelName = "LOBBY") {
    SessionHarness h;
    h.assignAll();
    h.session.setBoxText(2, panelName);
    h.session.setBoxText(3, "HALL");
    h.dialogs.answers = {path};
    const FileOutcome saved = h.writeFile();
    [&] { QCOMPARE(saved.kind, FileOutcome::Kind::Saved); }();
    return path;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The name of the step an undo takes back.
QString undoneStep(Session& s) {
    QString what;
    const auto told = QObject::connect(&s, &Session::undone, [&](const QString& w) { what = w; });
    s.undo();
    QObject::disconnect(told);
    return what;
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

void TestUndo::noUndoDuringATransaction() {
    SessionHarness h;
    Session& s = h.session;
    h.assign(0, 2, 2);
    s.selectListEntry(46, 2);
    bool undone = true, redone = true, offered = true;
    QVERIFY(s.runTransaction([&] {
        offered = s.canUndo();
        undone = s.undo();
        s.redo();
        redone = s.redo();
    }));
    QVERIFY(!offered);
    QVERIFY(!undone);
    QVERIFY(!redone);
    QCOMPARE(s.listIndex(46), 2);
    QVERIFY(s.undo()); // offered again once it has ended
    QCOMPARE(s.listIndex(46), 0);
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

// Undo and redo tell what they took back, so a window can say it.
void TestUndo::undoAndRedoNameTheStep() {
    QFETCH(QString, step);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = savedFile(dir.filePath("LOBBY.zqc"));
    LinkedSession h;
    Session& s = h.session;
    s.step([&] { s.selectListEntry(1, 2); }); // an earlier step, not the one named
    if (step == "module")
        s.step([&] { s.selectListEntry(5, 4); });
    else if (step == "channel")
        s.step([&] { s.selectListEntry(40, 4); });
    else if (step == "typing")
        for (const char* typed : {"A", "AB"})
            s.setBoxText(4, typed);
    else if (step == "name")
        s.setBoxText(2, "LOBBY");
    else if (step == "intensity")
        s.step([&] { s.selectListEntry(45, 3); });
    else if (step == "rule")
        s.step([&] { s.selectListEntry(49, 3); });
    else if (step == "open")
        QCOMPARE(h.open(path).kind, FileOutcome::Kind::Shown);
    else if (step == "read")
        QCOMPARE(h.read(), PanelLink::Outcome::Done);
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

void TestUndo::undoAndRedoOfAnOpenOrARead_data() {
    QTest::addColumn<bool>("open");     // else a read
    QTest::addColumn<QString>("named"); // in the question once edited again
    // The file's name before the panel name typed.
    QTest::newRow("open: the file") << true << "OTHER.zqc";
    QTest::newRow("read: the panel name") << false << "HALL";
}

// The session on FIRST.zqc with an edit, then an open of OTHER.zqc (or a
// read): undone, the screen is as it was, with the edit unsaved against
// FIRST.zqc; done again, it is on what it opened or read, with nothing
// unsaved. Neither touches the file or the panel again.
void TestUndo::undoAndRedoOfAnOpenOrARead() {
    QFETCH(bool, open);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString first = savedFile(dir.filePath("FIRST.zqc"), "FIRST");
    const QString other = savedFile(dir.filePath("OTHER.zqc"), "OTHER");
    const QByteArray otherBytes = contents(other);
    LinkedSession h;
    Session& s = h.session;
    for (int a = 0; a < 22; ++a)
        h.port.panel.setValue(a, 10 * a % 160 + 3);
    h.port.panel.setValue(22, 4);
    QCOMPARE(h.open(first).kind, FileOutcome::Kind::Shown);
    h.assign(0, 3, 3);
    s.setBoxText(4, "KITCHEN");
    s.setStatusVisible(false);
    const QString before = state(s);

    if (open) {
        QCOMPARE(h.open(other).kind, FileOutcome::Kind::Shown);
        QCOMPARE(s.boxText(2), QString("OTHER"));
    } else {
        QCOMPARE(h.read(), PanelLink::Outcome::Done);
        QCOMPARE(s.listIndex(1), 1);
        QVERIFY(s.boxText(4).isEmpty());
        QVERIFY(!s.boxVisible(5)); // the switch designations, till the next view
        QVERIFY(s.statusVisible());
    }
    QVERIFY(!s.unsavedChanges());
    const QString opened = state(s);
    const QByteArray sent = h.port.sent;
    const int opens = h.port.opens;
    const qsizetype fileRequests = h.dialogs.fileRequests.size();

    QVERIFY(s.undo());
    QCOMPARE(state(s), before);
    QVERIFY(!s.statusVisible()); // not over SW1's designation
    QCOMPARE(h.rec().blpercent, qint16(10));
    QVERIFY(s.unsavedChanges());
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer::Cancel, Dialogs::SaveAnswer::Cancel};
    QVERIFY(!s.mayDiscard({}));
    QCOMPARE(h.dialogs.questions.last().text, saveQuestion + "\nFIRST.zqc");

    QVERIFY(s.redo());
    QCOMPARE(state(s), opened);
    QVERIFY(!s.unsavedChanges());
    QCOMPARE(s.storedPath(), open ? other : QString());
    s.setBoxText(2, "HALL");
    QVERIFY(!s.mayDiscard({}));
    QCOMPARE(h.dialogs.questions.size(), 2);
    QCOMPARE(h.dialogs.questions.last().text, saveQuestion + '\n' + named);

    // Open of FIRST, SW1, KITCHEN, the open or read, the name.
    int undos = 0;
    while (s.undo())
        ++undos;
    QCOMPARE(undos, 6);
    QCOMPARE(h.port.sent, sent); // no word to the panel
    QCOMPARE(h.port.opens, opens);
    QCOMPARE(h.dialogs.fileRequests.size(), fileRequests); // nor a file dialog
    QCOMPARE(contents(other), otherBytes);
}

void TestUndo::saveQuestionOnlyWhenSomethingWouldBeLost_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QList<int>>("answers"); // Dialogs::SaveAnswer
    QTest::addColumn<QString>("savePath");   // empty: the save dialog is cancelled
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("mayGo");
    using A = Dialogs::SaveAnswer;
    QTest::newRow("nothing edited") << "" << QList<int>{} << "" << 0 << true;
    QTest::newRow("view only") << "view" << QList<int>{} << "" << 0 << true;
    QTest::newRow("edited, then undone") << "undone" << QList<int>{} << "" << 0 << true;
    QTest::newRow("edited, then put back") << "back" << QList<int>{} << "" << 0 << true;
    QTest::newRow("discard") << "name" << QList<int>{int(A::Discard)} << "" << 1 << true;
    QTest::newRow("cancel") << "name" << QList<int>{int(A::Cancel)} << "" << 1 << false;
    QTest::newRow("save") << "name" << QList<int>{int(A::Save)} << "S.zqc" << 1 << true;
    QTest::newRow("save, dialog cancelled")
        << "name" << QList<int>{int(A::Save)} << "" << 1 << false;
    QTest::newRow("save refused: no panel name")
        << "list" << QList<int>{int(A::Save)} << "S.zqc" << 1 << false;
}

// The question names the file the configuration came from; a save from it
// lets the configuration go only once it is on disk.
void TestUndo::saveQuestionOnlyWhenSomethingWouldBeLost() {
    QFETCH(QString, edit);
    QFETCH(QList<int>, answers);
    QFETCH(QString, savePath);
    QFETCH(int, questions);
    QFETCH(bool, mayGo);
    QTemporaryDir dir;
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.setBoxText(2, "LOBBY");
    h.dialogs.answers = {dir.filePath("FIRST.zqc")};
    QCOMPARE(h.writeFile().kind, FileOutcome::Kind::Saved);
    if (edit == "view")
        s.Option2_Click();
    if (edit == "undone" || edit == "name" || edit == "back") {
        s.setBoxText(3, "HALL");
        if (edit == "undone")
            QVERIFY(s.undo());
        if (edit == "back")
            s.setBoxText(3, Session::designationPlaceholder);
    }
    if (edit == "list") {
        s.setBoxText(2, QString());
        s.selectListEntry(1, 5);
    }
    for (int a : answers)
        h.dialogs.saveAnswers << Dialogs::SaveAnswer(a);
    h.dialogs.answers = {savePath.isEmpty() ? std::optional<QString>() : dir.filePath(savePath)};
    const int messages = h.dialogs.messages.size();
    FileOutcome saved;

    QCOMPARE(s.mayDiscard([&] { saved = h.writeFile(); }), mayGo);
    QCOMPARE(h.dialogs.questions.size(), questions);
    if (questions) {
        QCOMPARE(h.dialogs.questions[0].text, saveQuestion + "\nFIRST.zqc");
        QCOMPARE(h.dialogs.questions[0].title, QString("TARNEK561or567"));
    }
    const bool onDisk = QFile::exists(dir.filePath("S.zqc"));
    QCOMPARE(onDisk, edit == "name" && !savePath.isEmpty());
    QCOMPARE(saved.kind, onDisk           ? FileOutcome::Kind::Saved
                         : edit == "list" ? FileOutcome::Kind::NameMissing
                                          : FileOutcome::Kind::Cancelled);
    QCOMPARE(s.unsavedChanges(), questions > 0 && !onDisk);
    if (edit == "list") // the save's own message, as a click on SAVE shows it
        QCOMPARE(h.dialogs.messages.mid(messages).size(), 1);
    else
        QCOMPARE(h.dialogs.messages.size(), messages);
}

void TestUndo::writeLeavesOnlyTheNamesUnsaved() {
    LinkedSession h;
    Session& s = h.session;
    h.assignAll();
    QVERIFY(s.unsavedChanges());
    QCOMPARE(h.write(), PanelLink::Outcome::Done);
    QVERIFY(!s.unsavedChanges()); // the panel holds the assignments
    s.setBoxText(3, "HALL");
    QCOMPARE(h.write(), PanelLink::Outcome::Done);
    QVERIFY(s.unsavedChanges()); // a designation lives only in a file
    s.setBoxText(3, Session::designationPlaceholder);
    QVERIFY(!s.unsavedChanges());
    s.selectListEntry(1, 9);
    QVERIFY(s.unsavedChanges());
    QCOMPARE(h.write(), PanelLink::Outcome::Done);
    QVERIFY(!s.unsavedChanges());
}

void TestUndo::closeAsksFirst_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer"); // Dialogs::SaveAnswer
    QTest::addColumn<bool>("closed");
    using A = Dialogs::SaveAnswer;
    QTest::newRow("nothing edited") << false << int(A::Cancel) << true;
    QTest::newRow("discard") << true << int(A::Discard) << true;
    QTest::newRow("cancel") << true << int(A::Cancel) << false;
    QTest::newRow("save") << true << int(A::Save) << true;
}

// The window asks as it closes, and saves with its own save command.
void TestUndo::closeAsksFirst() {
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QTemporaryDir dir;
    Harness h;
    h.assignAll();
    h.form().textBox(2)->setText("LOBBY");
    h.dialogs.answers = {dir.filePath("FIRST.zqc")};
    click(h.form(), "WRITE_FILE");
    h.form().show();
    if (edited)
        h.form().textBox(3)->setText("HALL");
    h.dialogs.saveAnswers = {Dialogs::SaveAnswer(answer)};
    h.dialogs.answers = {dir.filePath("S.zqc")};

    QCOMPARE(h.form().close(), closed);
    QCOMPARE(h.dialogs.questions.size(), edited ? 1 : 0);
    if (edited)
        QCOMPARE(h.dialogs.questions[0].text, saveQuestion + "\nFIRST.zqc");
    QCOMPARE(QFile::exists(dir.filePath("S.zqc")), answer == int(Dialogs::SaveAnswer::Save));
    QVERIFY(h.dialogs.messages.isEmpty());
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
    QCOMPARE(h.dialogs.questions[0].text, saveQuestion);
    if (command == "READ_CONFIG")
        QCOMPARE(h.port.opens > opens, ran);
    else
        QCOMPARE(h.dialogs.fileRequests.size() > fileRequests, ran);
    QCOMPARE(h.form().textBox(3)->text().isEmpty(), ran && command == "READ_CONFIG");
}

void TestUndo::commandsTellTheSessionWhatIsStored_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("panel");   // else no panel answers
    QTest::addColumn<bool>("unsaved"); // after the command
    QTest::addColumn<QString>("step"); // the command's, empty for none
    QTest::newRow("read") << "READ_CONFIG" << true << false << "READ FROM PANEL";
    // The read empties the panel name before it finds no panel.
    QTest::newRow("read, no panel") << "READ_CONFIG" << false << true << "PANEL NAME";
    QTest::newRow("open") << "READ_FILE" << true << false << "OPEN LOBBY.zqc";
    QTest::newRow("save") << "WRITE_FILE" << true << false << "";
    QTest::newRow("write") << "WRITE_CONFIG" << true << false << "";
    QTest::newRow("write, no panel") << "WRITE_CONFIG" << false << true << "";
}

// Each command button runs as one step, and what it read, opened, saved or
// wrote is what the session is then on.
void TestUndo::commandsTellTheSessionWhatIsStored() {
    QFETCH(QString, command);
    QFETCH(bool, panel);
    QFETCH(bool, unsaved);
    QFETCH(QString, step);
    QTemporaryDir dir;
    const QString lobby = savedFile(dir.filePath("LOBBY.zqc"));
    Harness h;
    Session& s = h.session();
    h.assignAll();
    if (command != "WRITE_CONFIG") // the panel keeps no name
        s.setBoxText(2, "HALL");
    const QString edit = undoneStep(s);
    QVERIFY(s.redo());
    QVERIFY(s.unsavedChanges());
    h.port.connected = panel;
    h.dialogs.answers = {command == "WRITE_FILE" ? dir.filePath("HALL.zqc") : lobby};

    click(h.form(), command.toLatin1());
    QCOMPARE(s.unsavedChanges(), unsaved);
    QCOMPARE(s.storedPath(), command == "READ_FILE"    ? lobby
                             : command == "WRITE_FILE" ? dir.filePath("HALL.zqc")
                                                       : QString());
    QCOMPARE(undoneStep(s), step.isEmpty() ? edit : step);
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestUndo test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_undo.moc"
