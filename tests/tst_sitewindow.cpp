#include "Harness.h"
#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "ui/Announcer.h"
#include "ui/SiteTool.h"
#include "ui/SiteWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// What the window adds to a site: a row opens its file after the question, a
// write of a site file is saved first, recorded in the log and moves on.
class TestSiteWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void siteAtStartOpensTheFirstStillToDo();
    void builtWhenFirstShownWithTheFileOpenMarked();
    void programmedIsRecordedAndTheNextOpens();
    void failureStaysOnThePanel();
    void moveOnCanBeTurnedOff();
    void editedSiteFileIsSavedFirst_data();
    void editedSiteFileIsSavedFirst();
    void choosingARowAsksAboutUnsavedChanges_data();
    void choosingARowAsksAboutUnsavedChanges();
    void fileOutsideTheSiteIsNotRecorded();
    void folderThatCannotBeReadIsSaid();
    void filterListsThePanelsStillToDo();
    void benchWritesEachPanelAsItIsPluggedIn();
    void benchStops_data();
    void benchStops();
    void handoverDocumentFromTheSiteWindow();
    void siteFolderIsAskedThroughTheDialogs();
    void whichPanelSelectsTheFilesItHolds_data();
    void whichPanelSelectsTheFilesItHolds();
    void importScheduleIntoTheSite_data();
    void importScheduleIntoTheSite();
    void movedOnLabelSaysWhoseWriteTheStatusTells();

private:
    QString file(int n) const { return m_dir->filePath(QString("P%1.zqc").arg(n)); }
    QStringList logLines() const;
    // A site log in which a command programmed file's panel.
    void logProgrammed(const QString& file) const;
    void write(Harness& h);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {
const QString programmed = "SWITCH PANEL HAS BEEN PROGRAMMED";
// The fake panel is a 00-00561; a line that read its identity ends with it.
const QString programmedLine = programmed + "\t\t00-00561";

ConfigFileLine siteConfig(const QString& panel, qint16 sw1 = 0) {
    ConfigFileLine config;
    config.model = ConfigFile::modelText;
    config.panel = panel;
    for (int i = 0; i < 20; ++i)
        config.code[size_t(i)] = qint16(i * 7 % 160);
    config.code[0] = sw1;
    config.caption = {"BL", "DIM", "IND", "BLP", "DIMP"};
    config.value = {20, 21, 10, 10, 10};
    return config;
}

void writeConfig(const QString& path, const QString& panel, qint16 sw1) {
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(ConfigFile::format(siteConfig(panel, sw1)));
}

void writeConfig(const QString& path, const QString& panel) {
    ConfigFileLine config;
    config.model = ConfigFile::modelText;
    config.panel = panel;
    for (int i = 0; i < 20; ++i)
        config.code[size_t(i)] = qint16(i * 7 % 160);
    config.caption = {"BL", "DIM", "IND", "BLP", "DIMP"};
    config.value = {20, 21, 10, 10, 10};
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(ConfigFile::format(config));
}
} // namespace

void TestSiteWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    for (int n = 1; n <= 3; ++n)
        writeConfig(file(n), QString("P%1").arg(n));
}

void TestSiteWindow::logProgrammed(const QString& file) const {
    QFile log(m_dir->filePath("site.log"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(
        ("2026-03-02T09:15:00\t/dev/ttyS0\twrite\t" + file + "\t" + programmed + "\n").toUtf8());
}

QStringList TestSiteWindow::logLines() const {
    QFile log(m_dir->filePath("site.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    for (QString& l : lines)
        l = l.section('\t', 1); // without the time
    return lines;
}

void TestSiteWindow::write(Harness& h) {
    h.form().findChild<QAbstractButton*>("WRITE_CONFIG")->click();
    QCoreApplication::processEvents(); // the next file opens once the command has ended
}

void TestSiteWindow::siteAtStartOpensTheFirstStillToDo() {
    logProgrammed("P1.zqc");
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    QCOMPARE(h.session().storedPath(), file(2));
    QCOMPARE(h.form().textBox(2)->text(), QString("P2"));
    QCOMPARE(site.currentRow(), 1);
    QVERIFY(site.window()->isVisible());
    QCOMPARE(site.window()->windowTitle(), "SITE - " + QDir(m_dir->path()).dirName());
    // The keyboard starts on the panels, so Enter opens the row it is on.
    QCOMPARE(site.window()->focusWidget(), static_cast<QWidget*>(site.window()->table()));
}

// The window's start does without the site window; built later, it still
// marks the file the main window holds, opened before it existed.
void TestSiteWindow::builtWhenFirstShownWithTheFileOpenMarked() {
    Harness h;
    SiteTool site(h.tool);
    QCOMPARE(h.form().findChild<SiteWindow*>(), nullptr);
    QVERIFY(h.tool.open(file(2)).done());
    h.dialogs.folderAnswers = {m_dir->path()};
    site.button()->click();
    QVERIFY(h.form().findChild<SiteWindow*>());
    QVERIFY(site.window()->isVisible());
    QTreeWidget* table = site.window()->table();
    QCOMPARE(table->topLevelItemCount(), 3);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(table->topLevelItem(row)->font(0).bold(), row == 1);
    QCOMPARE(h.session().storedPath(), file(2)); // showing the site opened nothing
}

void TestSiteWindow::programmedIsRecordedAndTheNextOpens() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    write(h);
    QCOMPARE(logLines(), QStringList{"/dev/fake\twrite\t" + QDir::toNativeSeparators(file(1)) +
                                     "\t" + programmedLine});
    QCOMPARE(site.site().panels()[0].state, SitePanel::State::Programmed);
    QTreeWidget* table = site.window()->table();
    QCOMPARE(table->headerItem()->text(2), QString("MODEL"));
    QCOMPARE(table->topLevelItem(0)->text(2), QString("00-00561"));
    QCOMPARE(table->topLevelItem(0)->text(3), QString("programmed"));
    QCOMPARE(table->topLevelItem(1)->text(2), QString());
    QCOMPARE(h.session().storedPath(), file(2));
    QVERIFY(h.dialogs.questions.isEmpty()); // nothing was unsaved
    write(h);
    write(h);
    QCOMPARE(site.site().summary(), QString("3 OF 3 PROGRAMMED"));
    QCOMPARE(h.session().storedPath(), file(3)); // none left: the last stays
    QCOMPARE(logLines().size(), 3);
}

void TestSiteWindow::failureStaysOnThePanel() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.port.connected = false;
    write(h);
    const QString silent = "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND";
    QCOMPARE(logLines(),
             QStringList{"/dev/fake\twrite\t" + QDir::toNativeSeparators(file(1)) + "\t" + silent});
    QCOMPARE(site.site().panels()[0].stateText(), "failed: " + silent);
    QCOMPARE(h.session().storedPath(), file(1));
    QCOMPARE(site.site().summary(), QString("0 OF 3 PROGRAMMED, 1 FAILED"));
}

void TestSiteWindow::moveOnCanBeTurnedOff() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    site.window()->findChild<QCheckBox*>("MOVE_ON")->setChecked(false);
    write(h);
    QCOMPARE(site.site().panels()[0].state, SitePanel::State::Programmed);
    QCOMPARE(h.session().storedPath(), file(1));
}

void TestSiteWindow::editedSiteFileIsSavedFirst_data() {
    QTest::addColumn<Dialogs::SaveAnswer>("answer");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("inFile");
    QTest::addColumn<int>("logged");
    QTest::addColumn<int>("openAfter");
    QTest::newRow("save") << Dialogs::SaveAnswer::Save << true << "LOBBY" << 1 << 2;
    QTest::newRow("cancel") << Dialogs::SaveAnswer::Cancel << false << "P1" << 0 << 1;
    // The panel takes what the window shows, which no site file holds.
    QTest::newRow("discard") << Dialogs::SaveAnswer::Discard << true << "P1" << 0 << 1;
}

void TestSiteWindow::editedSiteFileIsSavedFirst() {
    QFETCH(Dialogs::SaveAnswer, answer);
    QFETCH(bool, sent);
    QFETCH(QString, inFile);
    QFETCH(int, logged);
    QFETCH(int, openAfter);
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.form().textBox(2)->setText("LOBBY");
    h.assign(0, 5, 5); // SW1 to another channel
    h.dialogs.saveAnswers = {answer};
    write(h);
    QCOMPARE(h.dialogs.questions.size(), 1);
    QVERIFY(h.dialogs.fileRequests.isEmpty()); // saved onto its own file, no dialog
    QCOMPARE(!h.port.sent.isEmpty(), sent);
    QCOMPARE(readConfigFile(file(1)).line->panel, inFile);
    QCOMPARE(logLines().size(), logged);
    QCOMPARE(h.session().storedPath(), file(openAfter));
}

void TestSiteWindow::choosingARowAsksAboutUnsavedChanges_data() {
    QTest::addColumn<Dialogs::SaveAnswer>("answer");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("inFile");
    QTest::newRow("save") << Dialogs::SaveAnswer::Save << 3 << "LOBBY";
    QTest::newRow("discard") << Dialogs::SaveAnswer::Discard << 3 << "P1";
    QTest::newRow("cancel") << Dialogs::SaveAnswer::Cancel << 1 << "P1";
}

void TestSiteWindow::choosingARowAsksAboutUnsavedChanges() {
    QFETCH(Dialogs::SaveAnswer, answer);
    QFETCH(int, shown);
    QFETCH(QString, inFile);
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.form().textBox(2)->setText("LOBBY");
    h.dialogs.saveAnswers = {answer};
    QTreeWidget* table = site.window()->table();
    QTreeWidgetItem* third = table->topLevelItem(2);
    table->setCurrentItem(third);
    emit table->itemActivated(third, 0);
    QCOMPARE(h.dialogs.questions.size(), 1);
    QCOMPARE(h.session().storedPath(), file(shown));
    QCOMPARE(readConfigFile(file(1)).line->panel, inFile);
    QCOMPARE(site.currentRow(), shown - 1);
}

// A file from elsewhere is the window's own affair: no line in the log.
void TestSiteWindow::fileOutsideTheSiteIsNotRecorded() {
    QTemporaryDir elsewhere;
    writeConfig(elsewhere.filePath("P1.zqc"), "OTHER");
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), false));
    QVERIFY(h.tool.open(elsewhere.filePath("P1.zqc")).done());
    h.session().configurationStored(elsewhere.filePath("P1.zqc"));
    QCOMPARE(site.currentRow(), -1);
    write(h);
    QVERIFY(!h.port.sent.isEmpty());
    QVERIFY(logLines().isEmpty());
    QCOMPARE(site.site().panels()[0].state, SitePanel::State::NotYet);
}

void TestSiteWindow::folderThatCannotBeReadIsSaid() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(!site.openSite(m_dir->filePath("missing"), true));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, QString("SITE"));
    QVERIFY(h.dialogs.messages[0].text.startsWith("THE SITE FOLDER CANNOT BE READ:\n"));
    QVERIFY(h.dialogs.messages[0].text.endsWith("\nNO SUCH FOLDER"));
    QVERIFY(h.session().storedPath().isEmpty());
}

void TestSiteWindow::filterListsThePanelsStillToDo() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    write(h); // P1 programmed, P2 opened
    QCOMPARE(site.window()->listedRows(), (QList<int>{0, 1, 2}));
    site.window()->findChild<QCheckBox*>("SITE_FILTER")->setChecked(true);
    QCOMPARE(site.window()->listedRows(), (QList<int>{1, 2}));
    QCOMPARE(site.window()->table()->currentItem()->text(0), QString("P2.zqc"));
}

namespace {
// The bench's waits on the test's clock, its sounds written down.
void onTheClock(SiteTool& site, Harness& h, QList<BenchLoop::Step>* sounds) {
    site.setBenchTiming([&h] { h.clock.waitForEvents(); },
                        [&h](int ms, std::function<void()> done) { h.clock.after(ms, done); });
    site.sound = [sounds](BenchLoop::Step step) { *sounds << step; };
}
// A panel on the line from in to out, in ms of the clock.
void plug(Harness& h, int in, int out) {
    h.clock.after(in, [&h] { h.port.connected = true; });
    h.clock.after(out, [&h] { h.port.connected = false; });
}
} // namespace

void TestSiteWindow::benchWritesEachPanelAsItIsPluggedIn() {
    Harness h;
    SiteTool site(h.tool);
    QList<BenchLoop::Step> sounds;
    onTheClock(site, h, &sounds);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.port.connected = false;
    plug(h, 500, 20000);
    h.clock.after(20000, [&h] { h.port.panel = PanelEngine(PanelFaults{}); });
    plug(h, 25000, 45000);
    plug(h, 50000, 70000);
    h.clock.after(200000, [&site] { site.stopBench(); });
    QCOMPARE(site.runBench(), BenchLoop::Step::Done);
    QCOMPARE(
        logLines(),
        (QStringList{
            "/dev/fake\twrite\t" + QDir::toNativeSeparators(file(1)) + "\t" + programmedLine,
            "/dev/fake\twrite\t" + QDir::toNativeSeparators(file(2)) + "\t" + programmedLine,
            "/dev/fake\twrite\t" + QDir::toNativeSeparators(file(3)) + "\t" + programmedLine}));
    QCOMPARE(sounds, QList<BenchLoop::Step>(3, BenchLoop::Step::Programmed));
    QVERIFY(h.clock.now() >= 70000); // the last panel was unplugged before the end
    QCOMPARE(site.window()->benchText(), QString("EVERY PANEL OF THE SITE IS PROGRAMMED"));
    QCOMPARE(site.site().summary(), QString("3 OF 3 PROGRAMMED"));
    QCOMPARE(h.session().storedPath(), file(3));
    QVERIFY(site.window()->table()->isEnabled());
}

void TestSiteWindow::benchStops_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("duringWrite");
    QTest::addColumn<QStringList>("logged");
    QTest::newRow("STOP while waiting") << "STOP" << false << QStringList{};
    QTest::newRow("Escape in the site window") << "site" << false << QStringList{};
    QTest::newRow("Escape in the main window") << "main" << false << QStringList{};
    // The write ends at its next wait, and is logged as the commands log it.
    QTest::newRow("STOP during the write") << "STOP" << true << QStringList{"INTERRUPTED"};
}

void TestSiteWindow::benchStops() {
    QFETCH(QString, how);
    QFETCH(bool, duringWrite);
    QFETCH(QStringList, logged);
    Harness h;
    SiteTool site(h.tool);
    QList<BenchLoop::Step> sounds;
    onTheClock(site, h, &sounds);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.port.connected = false;
    plug(h, duringWrite ? 500 : 60000, 90000);
    auto stop = [&] {
        if (how == "STOP") {
            site.window()->findChild<QPushButton*>("BENCH_STOP")->click();
            return;
        }
        QWidget* w = how == "site" ? static_cast<QWidget*>(site.window()) : &h.form();
        w->show();
        QApplication::setActiveWindow(w);
        QTest::keyClick(w, Qt::Key_Escape);
    };
    if (duringWrite)
        connect(&h.session(), &Session::transactionRunningChanged, this, [&](bool running) {
            if (running)
                h.clock.after(100, stop);
        });
    else
        h.clock.after(2500, stop);
    h.clock.after(200000, [&site] { site.stopBench(); }); // a stop missed fails, not hangs
    QCOMPARE(site.runBench(), BenchLoop::Step::Ended);
    QStringList outcomes;
    for (const QString& line : logLines())
        outcomes << line.section('\t', 3, 3);
    QCOMPARE(outcomes, logged);
    QVERIFY(sounds.isEmpty()); // a stop is the technician's, neither outcome
    QCOMPARE(site.window()->benchText(), QString("BENCH STOPPED"));
    QCOMPARE(h.session().storedPath(), file(1));
    QVERIFY(h.clock.now() < 60000);
    QVERIFY(site.window()->findChild<QPushButton*>("BENCH_MODE")->isEnabled());
    QVERIFY(!site.window()->findChild<QPushButton*>("BENCH_STOP")->isEnabled());
    QCOMPARE(site.window()->focusWidget(), static_cast<QWidget*>(site.window()->table()));
}

// The name and who configured it are the folder's, kept across runs; the
// document's cover says what the log says.
void TestSiteWindow::handoverDocumentFromTheSiteWindow() {
    QTemporaryDir other;
    Settings settings(other.filePath("settings.ini"));
    const QString pdf = other.filePath("handover.pdf");
    {
        Harness h;
        SiteTool site(h.tool);
        site.setSettings(settings);
        QVERIFY(site.openSite(m_dir->path(), true));
        QCOMPARE(site.window()->siteNameBox()->text(), QDir(m_dir->path()).dirName());
        site.window()->siteNameBox()->setText("HALL");
        site.window()->configuredByBox()->setText("J. DOE");
        emit site.window()->configuredByBox()->editingFinished();
        write(h); // P1 programmed
        h.dialogs.outputAnswers = {other.filePath("missing/handover.pdf"), pdf};
        QVERIFY(!site.saveHandover()); // a folder that is not there: said, nothing lost
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(h.dialogs.messages[0].title, QString("SITE DOCUMENT NOT SAVED"));
        QVERIFY(site.saveHandover());
        QCOMPARE(h.dialogs.outputRequests.last().fileName, QString("HALL.pdf"));
        // Where it went is said, and the configuration file dialog is not used.
        QCOMPARE(h.dialogs.messages.last().title, QString("SITE DOCUMENT SAVED"));
        QVERIFY(h.dialogs.messages.last().text.contains(QDir::toNativeSeparators(pdf)));
        QVERIFY(h.dialogs.fileRequests.isEmpty());
    }
    QProcess extract;
    extract.start("pdftotext", {"-layout", "-f", "1", "-l", "1", pdf, "-"});
    QVERIFY(extract.waitForFinished(60000));
    const QString cover = QString::fromUtf8(extract.readAllStandardOutput());
    for (const char* text : {"HALL", "J. DOE", "COMMISSIONING", "programmed", "not yet"})
        QVERIFY2(cover.contains(text), qPrintable(QString(text) + " not in:\n" + cover));

    Harness h;
    SiteTool site(h.tool);
    site.setSettings(settings);
    QVERIFY(site.openSite(m_dir->path(), false));
    QCOMPARE(site.window()->siteNameBox()->text(), QString("HALL"));
    QCOMPARE(site.window()->configuredByBox()->text(), QString("J. DOE"));
    QVERIFY(site.openSite(other.path(), false)); // another folder, its own
    QCOMPARE(site.window()->siteNameBox()->text(), QDir(other.path()).dirName());
    QCOMPARE(site.window()->configuredByBox()->text(), QString());
}

// The folder dialog is the window's own, answered in tests as any other.
void TestSiteWindow::siteFolderIsAskedThroughTheDialogs() {
    Harness h;
    SiteTool site(h.tool);
    site.showWindow(); // cancelled: no site, no window
    QCOMPARE(h.dialogs.folderRequests, QStringList{"SITE FOLDER OF CONFIGURATION FILES"});
    QVERIFY(!site.site().isOpen());
    QVERIFY(!site.window()->isVisible());

    h.dialogs.folderAnswers = {m_dir->path()};
    site.showWindow();
    QCOMPARE(site.site().folder(), QDir(m_dir->path()).absolutePath());
    QVERIFY(site.window()->isVisible());
    site.showWindow(); // open: shown, nothing asked
    QCOMPARE(h.dialogs.folderRequests.size(), 2);

    QTemporaryDir other;
    writeConfig(other.filePath("Q1.zqc"), "Q1");
    emit site.window()->openFolderAsked(); // cancelled: the site stays
    QCOMPARE(site.site().folder(), QDir(m_dir->path()).absolutePath());
    h.dialogs.folderAnswers = {other.path()};
    emit site.window()->openFolderAsked();
    QCOMPARE(h.dialogs.folderRequests.size(), 4);
    QCOMPARE(site.site().folder(), QDir(other.path()).absolutePath());
    QVERIFY(h.dialogs.fileRequests.isEmpty() && h.dialogs.messages.isEmpty());
}

// The panel is read through the main window's link and matched against
// every file of the site; the main window keeps its configuration.
void TestSiteWindow::whichPanelSelectsTheFilesItHolds_data() {
    QTest::addColumn<QString>("panel"); // what it holds: "P2", "P2 and P3", "none", "silent"
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail"); // a line under it, or empty
    QTest::addColumn<int>("logged");
    QTest::newRow("one file, listed though done")
        << "P2" << QList<int>{1} << "THE SWITCH PANEL HOLDS P2.zqc"
        << "" << 1;
    QTest::newRow("two files") << "P2 and P3" << QList<int>{1, 2}
                               << "THE SWITCH PANEL HOLDS P2.zqc, P3.zqc"
                               << "" << 2;
    QTest::newRow("none: the nearest")
        << "none" << QList<int>{} << "NO FILE MATCHES THE SWITCH PANEL; NEAREST: 1 ITEM DIFFERS"
        << "P2.zqc: SW1 (panel B 10, file A 2)" << 0;
    QTest::newRow("no panel") << "silent" << QList<int>{}
                              << "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND"
                              << "" << 0;
}

void TestSiteWindow::whichPanelSelectsTheFilesItHolds() {
    QFETCH(QString, panel);
    QFETCH(QList<int>, rows);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(int, logged);
    // Each file its own SW1: A 1 ... A 3; P3 as P2 for two matches.
    writeConfig(file(1), "P1", 0);
    writeConfig(file(2), "P2", 1);
    writeConfig(file(3), "P3", panel == "P2 and P3" ? 1 : 2);
    // P2 programmed: under the filter its row is listed only as the one found.
    logProgrammed("P2.zqc");
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    site.window()->findChild<QCheckBox*>("SITE_FILTER")->setChecked(true);
    const PanelValues values = ConfigFile::panelValues(siteConfig("", panel == "none" ? 19 : 1));
    for (size_t k = 0; k < values.size(); ++k)
        h.port.panel.setValue(int(k), values[k]);
    h.port.connected = panel != "silent";
    const ConfigRecord before = h.rec();
    const int linesBefore = int(logLines().size());

    site.window()->findChild<QPushButton*>("WHICH_PANEL")->click();

    // None found: the row of the main window's file stays the one chosen.
    QCOMPARE(site.window()->selectedRows(), rows.isEmpty() ? QList<int>{0} : rows);
    const QString shown = site.window()->identifiedText();
    QCOMPARE(shown.section('\n', 0, 0), text);
    if (!detail.isEmpty())
        QVERIFY2(shown.section('\n', 1).split('\n').contains(detail), qPrintable(shown));
    QCOMPARE(h.session().statusText(), text);
    QTRY_COMPARE(site.window()->announcer()->text().section(". ", 0, 0), text);
    // The main window is on the file it was on, as it was.
    QCOMPARE(h.session().storedPath(), file(1));
    QVERIFY(!h.session().unsavedChanges());
    QCOMPARE(h.rec().s1, before.s1);
    QVERIFY(!h.port.sent.contains('S')); // nothing written
    // Each file found is recorded with the model, and shows it.
    const QStringList lines = logLines().mid(linesBefore);
    QCOMPARE(lines.size(), logged);
    for (int i = 0; i < logged; ++i) {
        QCOMPARE(lines[i].section('\t', 1, 1), QString("identify"));
        QCOMPARE(lines[i].section('\t', 2, 2), QDir::toNativeSeparators(file(rows[i] + 1)));
        QCOMPARE(lines[i].section('\t', -1), QString("00-00561"));
        QCOMPARE(site.site().panels()[rows[i]].model, QString("00-00561"));
    }
    QCOMPARE(site.site().panels()[1].state,
             SitePanel::State::Programmed); // identify programs nothing
    // Another row chosen ends the selection; the filter lists the done row no more.
    QVERIFY(site.window()->listedRows().contains(1) == rows.contains(1));
    site.window()->table()->setCurrentItem(site.window()->table()->topLevelItem(0));
    site.window()->findChild<QCheckBox*>("SITE_FILTER")->setChecked(false);
    site.window()->findChild<QCheckBox*>("SITE_FILTER")->setChecked(true);
    QVERIFY(!site.window()->listedRows().contains(1));
}

namespace {
// A schedule of whole panels, every item "N/A"; a module per panel may be
// given for SW3.
QByteArray schedule(const QList<QPair<QString, QString>>& panels) {
    QStringList rows{"Panel Name,Item,Module,Channel,Designation,Normal Backlighting (%),"
                     "Normal Indicator (%),Dimmed Backlighting and Indicator (%)"};
    for (const auto& [panel, sw3] : panels) {
        QStringList items;
        for (int n = 1; n <= 10; ++n)
            items << QString("SW%1").arg(n);
        for (int n = 1; n <= 10; ++n)
            items << QString("LED%1").arg(n);
        items << "BACKLIGHTING"
              << "DIMMING";
        for (const QString& item : items)
            rows << QString("%1,%2,%3,,,%4")
                        .arg(panel, item, item == "SW3" ? sw3 : "N/A",
                             item == "SW1" ? "100,100,100" : ",,");
    }
    return (rows.join("\r\n") + "\r\n").toUtf8();
}
} // namespace

// The import command's own rules; the window adds the chooser, the message
// with each refusal where it stands, and the site's new rows.
void TestSiteWindow::importScheduleIntoTheSite_data() {
    QTest::addColumn<QByteArray>("csv"); // empty: the dialog is cancelled
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("said"); // lines of the message, in order
    const QStringList site{"P1.zqc", "P2.zqc", "P3.zqc"};
    QTest::newRow("two panels") << schedule({{"HALL", "N/A"}, {"KITCHEN", "N/A"}}) << true
                                << QStringList{"HALL.zqc", "KITCHEN.zqc"} + site
                                << QStringList{"2 OF 2 PANELS WRITTEN INTO %1"};
    QTest::newRow("a refusal with its row and column")
        << schedule({{"HALL", "N/A"}, {"KITCHEN", "Q"}}) << false << QStringList{"HALL.zqc"} + site
        << QStringList{"1 OF 2 PANELS WRITTEN INTO %1",
                       "row 26, column C (MODULE): \"Q\" is not a module (A ... P, or N/A)",
                       "PANEL KITCHEN NOT WRITTEN"};
    QTest::newRow("a file of the site is kept")
        << schedule({{"P2", "N/A"}}) << false << site
        << QStringList{"0 OF 1 PANELS WRITTEN INTO %1", "row 2: %1/P2.zqc exists; it is kept",
                       "PANEL P2 NOT WRITTEN"};
    QTest::newRow("not a schedule") << QByteArray("\xFF\xFEP\0a\0", 6) << false << site
                                    << QStringList{"THE SCHEDULE CANNOT BE IMPORTED:", "%2"};
    QTest::newRow("cancelled") << QByteArray() << false << site << QStringList{};
}

void TestSiteWindow::importScheduleIntoTheSite() {
    QFETCH(QByteArray, csv);
    QFETCH(bool, done);
    QFETCH(QStringList, files);
    QFETCH(QStringList, said);
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("site.csv");
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(csv);
    out.close();
    const QByteArray p2 = [this] {
        QFile f(file(2));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    h.dialogs.inputAnswers = {std::nullopt}; // the button asks; a cancel does nothing
    site.window()->findChild<QPushButton*>("IMPORT_SCHEDULE")->click();
    QCOMPARE(h.dialogs.inputRequests.size(), 1);
    h.dialogs.inputAnswers = {csv.isEmpty() ? std::nullopt : std::optional(path)};
    QCOMPARE(site.importSchedule(), done);
    QCOMPARE(h.dialogs.inputRequests.size(), 2);
    QCOMPARE(h.dialogs.inputRequests[0].filter.section(";;", 0, 0),
             QString("CSV SCHEDULE (*.csv)"));
    // The configuration file's own dialog keeps its folder and name.
    QVERIFY(h.dialogs.fileRequests.isEmpty());
    QStringList listed;
    for (const SitePanel& p : site.site().panels())
        listed << p.file;
    QCOMPARE(listed, files);
    QCOMPARE(site.window()->table()->topLevelItemCount(), files.size());
    if (said.isEmpty()) {
        QVERIFY(h.dialogs.messages.isEmpty());
        return;
    }
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, QString("IMPORT SCHEDULE"));
    const QString folder = QDir::toNativeSeparators(QDir(m_dir->path()).absolutePath());
    QStringList expected;
    for (const QString& line : said)
        expected << QString(line).replace("%1", line.startsWith("row") ? m_dir->path() : folder);
    QStringList lines = h.dialogs.messages[0].text.split('\n');
    if (expected.last() == "%2") { // the file's name, and why
        expected.last() = QDir::toNativeSeparators(path);
        expected << lines.value(2);
        QVERIFY(!lines.value(2).isEmpty());
    }
    QCOMPARE(lines, expected);
    QFile again(file(2));
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), p2); // a file of the site is never replaced
}

// After the write the window opens the next file; the status box still says
// the write's outcome, and the file label says whose it was.
void TestSiteWindow::movedOnLabelSaysWhoseWriteTheStatusTells() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    write(h);
    QCOMPARE(h.session().storedPath(), file(2));
    QCOMPARE(h.session().statusText(), programmed);
    QCOMPARE(h.tool.fileLabel->message(), QString("P2.zqc \u2013 P1.zqc PROGRAMMED"));
    QTRY_VERIFY(h.form().announcer()->text().contains("P2.zqc \u2013 P1.zqc PROGRAMMED"));
    // The next transaction's status ends it.
    h.port.connected = false;
    write(h);
    QCOMPARE(h.tool.fileLabel->message(), QString("P2.zqc"));
    // So does an edit.
    h.port.connected = true;
    write(h); // P2 programmed: P3 opens
    QCOMPARE(h.tool.fileLabel->message(), QString("P3.zqc \u2013 P2.zqc PROGRAMMED"));
    h.form().textBox(2)->setText("LOBBY");
    QCOMPARE(h.tool.fileLabel->message(), QString("P3.zqc \u2013 UNSAVED CHANGES"));
}

QTEST_MAIN(TestSiteWindow)
#include "tst_sitewindow.moc"
