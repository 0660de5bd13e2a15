#include "Harness.h"
#include "files/ConfigFile.h"
#include "files/ConfigFileReader.h"
#include "ui/SiteTool.h"
#include "ui/SiteWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// What the window adds to a site: a row opens its file after the question, a
// write of a site file is saved first, recorded in the log and moves on.
class TestSiteWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void siteAtStartOpensTheFirstStillToDo();
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

private:
    QString file(int n) const { return m_dir->filePath(QString("P%1.zqc").arg(n)); }
    QStringList logLines() const;
    void write(Harness& h);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {
const QString programmed = "SWITCH PANEL HAS BEEN PROGRAMMED";

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
    QFile log(m_dir->filePath("site.log"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(("2026-03-02T09:15:00\t/dev/ttyS0\twrite\tP1.zqc\t" + programmed + "\n").toUtf8());
    log.close();
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    QCOMPARE(h.session().storedPath(), file(2));
    QCOMPARE(h.form().textBox(2)->text(), QString("P2"));
    QCOMPARE(site.currentRow(), 1);
    QVERIFY(site.window()->isVisible());
    QCOMPARE(site.window()->windowTitle(), "SITE - " + QDir(m_dir->path()).dirName());
}

void TestSiteWindow::programmedIsRecordedAndTheNextOpens() {
    Harness h;
    SiteTool site(h.tool);
    QVERIFY(site.openSite(m_dir->path(), true));
    write(h);
    QCOMPARE(logLines(), QStringList{"/dev/fake\twrite\t" + QDir::toNativeSeparators(file(1)) +
                                     "\t" + programmed});
    QCOMPARE(site.site().panels()[0].state, SitePanel::State::Programmed);
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

QTEST_MAIN(TestSiteWindow)
#include "tst_sitewindow.moc"
