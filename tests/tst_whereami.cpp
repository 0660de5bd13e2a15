// Where the user is: the label naming the file and its unsaved changes, the
// list of recent files, and the help that opens the manual and tells the
// version.

#include "Harness.h"

#include "platform/AppInfo.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestWhereAmI : public QObject {
    Q_OBJECT
private slots:
    void fileLabelFollowsTheFile_data();
    void fileLabelFollowsTheFile();
    void recentFilesKeepTheLatestTen_data();
    void recentFilesKeepTheLatestTen();
    void recentFileOpensAsTheOpenCommand();
    void manualOpensWhereItIsInstalled_data();
    void manualOpensWhereItIsInstalled();
    void aboutTellsVersionLicenceAndWhereToReport();
};

namespace {
void click(Form1& f, const char* button) {
    f.findChild<QAbstractButton*>(button)->click();
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

void TestWhereAmI::fileLabelFollowsTheFile_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    QTest::newRow("start") << ""
                           << "";
    QTest::newRow("an edit") << "edit"
                             << "UNSAVED CHANGES";
    QTest::newRow("an edit undone") << "edit undo"
                                    << "";
    QTest::newRow("saved") << "edit save"
                           << "SAVED AS HALL.zqc";
    QTest::newRow("saved, a while later") << "edit save expire"
                                          << "HALL.zqc";
    QTest::newRow("saved, then edited") << "edit save edit"
                                        << "HALL.zqc \u2013 UNSAVED CHANGES";
    // The notice of the first save ends with the edit; its time up changes nothing more.
    QTest::newRow("edit after the save, then its time up") << "edit save edit expire"
                                                           << "HALL.zqc \u2013 UNSAVED CHANGES";
    QTest::newRow("save refused") << "refuse"
                                  << "UNSAVED CHANGES";
    QTest::newRow("opened") << "edit save new open"
                            << "HALL.zqc";
    // Back on the file it was on, with the change made since.
    QTest::newRow("open undone") << "edit save expire new open undo"
                                 << "HALL.zqc \u2013 UNSAVED CHANGES";
    QTest::newRow("read from a panel") << "edit save expire read"
                                       << "";
}

// A save needs every item assigned and a name; "new" discards the window's
// configuration for an empty one, as a start shows it.
void TestWhereAmI::fileLabelFollowsTheFile() {
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString path = dir.filePath("HALL.zqc");
    Harness h;
    Form1& f = h.form();
    std::vector<std::function<void()>> pending;
    h.tool.fileLabel->setLater([&](int ms, std::function<void()> action) {
        QCOMPARE(ms, FileLabel::savedNoticeMs);
        pending.push_back(std::move(action));
    });
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step == "edit") {
            h.session().step([&] {
                h.assignAll();
                h.session().setBoxText(2, "HALL");
                h.session().setBoxText(3, h.session().boxText(3) + "X");
            });
        } else if (step == "undo") {
            QVERIFY(h.session().undo());
        } else if (step == "save") {
            h.dialogs.answers << path;
            click(f, "WRITE_FILE");
        } else if (step == "refuse") {
            h.session().setBoxText(2, "HALL");
            click(f, "WRITE_FILE"); // nothing assigned: refused, nothing saved
        } else if (step == "new") {
            h.session().step([&] { h.session().selectListEntry(1, 0); });
        } else if (step == "open") {
            h.dialogs.answers << path;
            click(f, "READ_FILE");
        } else if (step == "read") {
            click(f, "READ_CONFIG");
        } else if (step == "expire") {
            for (auto& action : std::exchange(pending, {}))
                action();
        }
    }
    QCOMPARE(h.tool.fileLabel->message(), shown);
    QCOMPARE(h.tool.fileLabel->accessibleName(), shown);
    QVERIFY(!h.tool.fileLabel->geometry().intersects(f.findChild<QWidget*>("Image1")->geometry()));
}

void TestWhereAmI::recentFilesKeepTheLatestTen_data() {
    QTest::addColumn<QString>("steps"); // a number adds that file; -n deletes it
    QTest::addColumn<QString>("offered");
    QTest::newRow("latest first") << "1 2 3"
                                  << "3 2 1";
    QTest::newRow("again moves to the front") << "1 2 3 1"
                                              << "1 3 2";
    QTest::newRow("a file gone") << "1 2 3 -2"
                                 << "3 1";
    QTest::newRow("only one, gone") << "1 -1"
                                    << "";
    QTest::newRow("at most ten") << "1 2 3 4 5 6 7 8 9 10 11 12"
                                 << "12 11 10 9 8 7 6 5 4 3";
    QTest::newRow("a gone file frees no place for an older one") << "1 2 3 4 5 6 7 8 9 10 11 -11"
                                                                 << "10 9 8 7 6 5 4 3 2";
}

void TestWhereAmI::recentFilesKeepTheLatestTen() {
    QFETCH(QString, steps);
    QFETCH(QString, offered);
    QTemporaryDir dir;
    Settings settings(dir.filePath("settings.ini"));
    QWidget window;
    RecentFiles recent(window, settings, [](const QString&) {});
    const auto file = [&](const QString& n) { return dir.filePath(n + ".zqc"); };
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step.startsWith('-')) {
            QVERIFY(QFile::remove(file(step.mid(1))));
        } else {
            touch(file(step));
            recent.add(dir.path() + "/./" + step + ".zqc"); // the same file, however named
        }
    }
    QStringList expected;
    for (const QString& n : offered.split(' ', Qt::SkipEmptyParts))
        expected << file(n);
    QCOMPARE(recent.files(), expected);
    // The menu offers them in that order; a file gone is dropped for good.
    emit recent.menu()->aboutToShow();
    QStringList inMenu;
    for (QAction* action : recent.menu()->actions())
        if (action->isEnabled())
            inMenu << action->data().toString();
    QCOMPARE(inMenu, expected);
    QCOMPARE(recent.menu()->actions().size(), std::max<qsizetype>(1, expected.size()));
    QCOMPARE(Settings(dir.filePath("settings.ini")).recentFiles(), expected);
}

// A file saved is offered; choosing it runs the open command, with its
// question about unsaved changes first and one step of undo.
void TestWhereAmI::recentFileOpensAsTheOpenCommand() {
    QTemporaryDir dir;
    Settings settings(dir.filePath("settings.ini"));
    const QString path = dir.filePath("HALL.zqc");
    Harness h;
    h.tool.addRecentFiles(settings);
    h.assignAll();
    h.session().setBoxText(2, "HALL");
    h.dialogs.answers << path;
    click(h.form(), "WRITE_FILE");
    QCOMPARE(h.tool.recent->files(), QStringList{path});

    h.session().setBoxText(2, "OTHER");
    h.dialogs.saveAnswers << Dialogs::SaveAnswer::Cancel << Dialogs::SaveAnswer::Discard;
    emit h.tool.recent->menu()->aboutToShow();
    QAction* entry = h.tool.recent->menu()->actions().value(0);
    QVERIFY(entry);
    entry->trigger(); // cancelled: the window keeps what it has
    QCOMPARE(h.session().boxText(2), QString("OTHER"));
    entry->trigger();
    QCOMPARE(h.dialogs.questions.size(), 2);
    QCOMPARE(h.session().boxText(2), QString("HALL"));
    QCOMPARE(h.tool.fileLabel->message(), QString("HALL.zqc"));
    QVERIFY(h.session().undo());
    QCOMPARE(h.session().boxText(2), QString("OTHER"));

    // Opened files are offered too, and a file gone since says so on opening.
    QVERIFY(QFile::remove(path));
    h.dialogs.answers << path;
    entry->trigger();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.tool.recent->files(), QStringList());
}

void TestWhereAmI::manualOpensWhereItIsInstalled_data() {
    QTest::addColumn<bool>("readme");
    QTest::addColumn<bool>("manPage");
    QTest::addColumn<bool>("opens"); // the desktop could hand it to a viewer
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("README") << true << true << true << "README.md"
                            << "";
    QTest::newRow("manual page only") << false << true << true << "man:panelconfig(1)"
                                      << "";
    QTest::newRow("neither") << false << false << true << ""
                             << "THE MANUAL IS NOT INSTALLED";
    QTest::newRow("no viewer") << true << false << false << "README.md"
                               << "THE MANUAL COULD NOT BE OPENED";
}

void TestWhereAmI::manualOpensWhereItIsInstalled() {
    QFETCH(bool, readme);
    QFETCH(bool, manPage);
    QFETCH(bool, opens);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    QTemporaryDir dir;
    if (readme)
        touch(dir.filePath("README.md"));
    if (manPage)
        touch(dir.filePath("panelconfig.1.gz"));
    DialogRecorder dialogs;
    QWidget window;
    QList<QUrl> urls;
    Help help(window, dialogs, [&](const QUrl& url) {
        urls << url;
        return opens;
    });
    help.setManualPlaces(dir.filePath("README.md"), dir.filePath("panelconfig.1.gz"));
    help.showManual();
    if (opened.isEmpty())
        QVERIFY(urls.isEmpty());
    else if (opened.startsWith("man:"))
        QCOMPARE(urls, QList<QUrl>{QUrl(opened)});
    else
        QCOMPARE(urls, QList<QUrl>{QUrl::fromLocalFile(dir.filePath(opened))});
    QCOMPARE(dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY2(dialogs.messages[0].text.startsWith(message),
                 qPrintable(dialogs.messages[0].text));
        QCOMPARE(dialogs.messages[0].title, QString("MANUAL"));
    }
}

// F1 is the manual's key, the window's own; the About box is in HELP's menu.
void TestWhereAmI::aboutTellsVersionLicenceAndWhereToReport() {
    Harness h;
    Form1& f = h.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    h.tool.help->setManualPlaces("/nonexistent/README.md", "/nonexistent/panelconfig.1.gz");
    QTest::keyClick(&f, Qt::Key_F1);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, QString("MANUAL"));
    QAction* about = h.tool.help->button()->menu()->findChild<QAction*>("HELP_ABOUT");
    QVERIFY(about);
    about->trigger();
    QCOMPARE(h.dialogs.messages.size(), 2);
    const auto& box = h.dialogs.messages[1];
    QCOMPARE(box.title, QString("ABOUT PANELCONFIG"));
    QVERIFY(box.text.contains(QString("VERSION %1\n").arg(AppInfo::version)));
    QVERIFY(box.text.contains("LICENCE: "));
    QVERIFY(box.text.endsWith(QString("REPORT PROBLEMS AT:\n%1").arg(AppInfo::bugTracker)));
}

QTEST_MAIN(TestWhereAmI)
#include "tst_whereami.moc"
