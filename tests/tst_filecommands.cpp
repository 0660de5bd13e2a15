#include "SessionHarness.h"
#include "StorableAlphabet.h"
#include "Unprivileged.h"
#include "files/ConfigFile.h"
#include "model/Cp1252.h"
#include "ui/Form1.h"
#include "ui/QtDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void roundTripThroughAFreshSession_data();
    void roundTripThroughAFreshSession();
    void saveProposesThePanelNameAndWritesTheLine();
    void saveProposesANameEverySystemAccepts_data();
    void saveProposesANameEverySystemAccepts();
    void saveChecks_data();
    void saveChecks();
    void cancelledSaveIsSilent();
    void saveReplacesAnExistingFileWhole();
    void saveFailureSaysSoAndKeepsTheOldFile_data();
    void saveFailureSaysSoAndKeepsTheOldFile();
    void saveIntoAReadOnlyDirectory_data();
    void saveIntoAReadOnlyDirectory();
    void saveFailsWhenTheDiskFills_data();
    void saveFailsWhenTheDiskFills();
    void saveOnAFullDiskSaysSo();
    void textWithAQuoteEndsThere_data();
    void textWithAQuoteEndsThere();
    void largestSavedFileOpensAgain();
    void openShowsASavedFile();
    void intensitiesAreShownBacklightFirst();
    void codesOutsideTheModulesShowNotAssigned_data();
    void codesOutsideTheModulesShowNotAssigned();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void openDeniedIsSilent_data();
    void openDeniedIsSilent();
    void realDialogsCarryTheNameOver();
    void outputFolderAndFormDialogsAreTheirOwn();
    void typedNameLeavesNothingBehind();
    void saveQuestionAnswersByKey_data();
    void saveQuestionAnswersByKey();
};

namespace {
const QString modelText = QStringLiteral("00-00561-MDL or 00-00567-MDL");
const QString filter = QStringLiteral("BRIXELON CONFIGURATION FILES (*.zqc)");
const QString readTitle = QStringLiteral("READ CONFIGURATION FILE");
const QString writeTitle = QStringLiteral("WRITE CONFIGURATION FILE");
const QString mismatchTitle = QStringLiteral("FILE/MODEL MIS-MATCH");
const QString mismatchText =
    QStringLiteral("AN ERROR HAS OCCURRED READING THE FILE BECAUSE THE FILE\n"
                   "WAS NOT CREATED FOR THE 00-00561-(MDL) OR 00-00567-(MDL)\n"
                   "-------------THE FILE READ OPERATION IS BEING ABANDONED!--------------");
const QString nameMissing = QStringLiteral("Name must be entered in PANEL NAME field");
const QString switchesIncomplete =
    QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");
const QString ledsIncomplete = QStringLiteral(
    "DATA MUST BE ENTERED (CLICKED) FOR ALL LED's AND BACKLIGHTING BEFORE WRITING DATA");
const QString notSavedTitle = QStringLiteral("FILE NOT SAVED");
const QString notSavedFirstLine = QStringLiteral("THE CONFIGURATION FILE WAS NOT SAVED:");
const QByteArray captionsAndValues = "\"BACKLIGHT\",%1,\"DIMMING\",%2,\"NORMAL INDICATOR (%)\",%3,"
                                     "\"NORMAL BACKLIGHTING (%)\",%4,"
                                     "\"DIMMED BACKLIGHTING AND INDICATOR (%)\",%5\r\n";

// The child that saves under a small file size limit is this program again.
constexpr const char* childPathVariable = "FILECMDS_SAVE_CHILD_PATH";
constexpr const char* childLengthVariable = "FILECMDS_SAVE_CHILD_LENGTH";
constexpr rlim_t childFileSizeLimit = 4096;

bool shown(const QWidget* w) {
    return !w->isHidden();
}

// Every field of the record, named, so a comparison shows which one moved.
QStringList recordState(const ConfigRecord& r) {
    QStringList s;
    const std::pair<const char*, const std::array<RecordInt, 20>*> rows[] = {
        {"code", &Items::code},
        {"outgoing", &Items::outgoing},
        {"module", &Items::modulePart},
        {"channel", &Items::channelPart}};
    for (const auto& [name, fields] : rows) {
        for (size_t i = 0; i < fields->size(); ++i)
            s << QString("%1[%2]=%3").arg(name).arg(i).arg(r.*(*fields)[i]);
    }
    for (size_t i = 0; i < Items::desig.size(); ++i)
        s << QString("desig[%1]=%2").arg(i).arg(r.*Items::desig[i]);
    const std::pair<const char*, RecordInt> ints[] = {{"bl", &ConfigRecord::bl},
                                                      {"blm", &ConfigRecord::blm},
                                                      {"blc", &ConfigRecord::blc},
                                                      {"dimch", &ConfigRecord::dimch},
                                                      {"dimchm", &ConfigRecord::dimchm},
                                                      {"dimchc", &ConfigRecord::dimchc},
                                                      {"blpercent", &ConfigRecord::blpercent},
                                                      {"indpercent", &ConfigRecord::indpercent},
                                                      {"dindpercent", &ConfigRecord::dindpercent},
                                                      {"timer_flag", &ConfigRecord::timer_flag},
                                                      {"error_flag", &ConfigRecord::error_flag},
                                                      {"config_flag", &ConfigRecord::config_flag},
                                                      {"address_l", &ConfigRecord::address_l},
                                                      {"data_l", &ConfigRecord::data_l},
                                                      {"m_index", &ConfigRecord::m_index},
                                                      {"c_index", &ConfigRecord::c_index},
                                                      {"temp1", &ConfigRecord::temp1},
                                                      {"A", &ConfigRecord::A}};
    for (const auto& [name, field] : ints)
        s << QString("%1=%2").arg(name).arg(r.*field);
    const std::pair<const char*, RecordText> texts[] = {
        {"rmodel", &ConfigRecord::rmodel},   {"panel", &ConfigRecord::panel},
        {"blchan", &ConfigRecord::blchan},   {"dimchan", &ConfigRecord::dimchan},
        {"blpct", &ConfigRecord::blpct},     {"indpct", &ConfigRecord::indpct},
        {"dindpct", &ConfigRecord::dindpct}, {"wmodel", &ConfigRecord::wmodel}};
    for (const auto& [name, field] : texts)
        s << QString("%1=%2").arg(name, r.*field);
    return s;
}

// What the user can see of the window: selections, texts, captions and
// which controls are shown.
QStringList windowState(Form1& f) {
    QStringList s;
    for (int n = 1; n <= 49; ++n) {
        if (ListBox* l = f.list(n))
            s << QString("List%1 index=%2 shown=%3").arg(n).arg(l->listIndex()).arg(shown(l));
    }
    for (int n = 2; n <= 22; ++n)
        s << QString("Text%1 '%2' shown=%3")
                 .arg(n)
                 .arg(f.textBox(n)->text())
                 .arg(shown(f.textBox(n)));
    for (int n = 0; n < 20; ++n) {
        if (QLabel* l = f.label(n))
            s << QString("Label%1 '%2' shown=%3").arg(n).arg(l->text()).arg(shown(l));
    }
    s << QString("Text1 '%1' shown=%2 colour=%3")
             .arg(f.statusBox()->text())
             .arg(shown(f.statusBox()))
             .arg(f.statusBox()->background().name());
    for (const char* name : {"Option1", "Option2"})
        s << QString("%1 checked=%2").arg(name).arg(f.findChild<QRadioButton*>(name)->isChecked());
    for (const char* name : {"Frame1", "Frame2"})
        s << QString("%1 shown=%2").arg(name).arg(shown(f.findChild<QGroupBox*>(name)));
    return s;
}

// What a session shows: every list, box and label, the status box and the view.
QStringList sessionState(const Session& s) {
    QStringList out;
    for (int n = 1; n < Session::listCount; ++n)
        out << QString("List%1 %2 shown=%3").arg(n).arg(s.listIndex(n)).arg(s.listVisible(n));
    for (int n = 2; n < Session::boxCount; ++n)
        out << QString("Text%1 '%2' shown=%3").arg(n).arg(s.boxText(n)).arg(s.boxVisible(n));
    for (int n = 1; n < Session::labelCount; ++n)
        out << QString("Label%1 '%2' shown=%3")
                   .arg(n)
                   .arg(s.labelCaption(n))
                   .arg(s.labelVisible(n));
    out << QString("Text1 '%1' shown=%2 colour=%3")
               .arg(s.statusText())
               .arg(s.statusVisible())
               .arg(s.statusColour() ? int(*s.statusColour()) : -1);
    out << QString("view=%1 frames=%2,%3")
               .arg(int(s.view()))
               .arg(s.frameVisible(1))
               .arg(s.frameVisible(2));
    return out;
}

bool inSwitchView(const Session& s) {
    return s.view() == Session::View::Switch && !s.frameVisible(1) && s.listVisible(1) &&
           !s.listVisible(21);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// Intensities chosen without a rule message: backlighting out of the way
// first, then the indicator, then a backlighting no brighter than it.
void setIntensities(SessionHarness& h, int indicatorEntry, int backlightEntry, int dimmedEntry) {
    Session& s = h.session;
    s.selectListEntry(45, 7);
    s.selectListEntry(49, indicatorEntry);
    s.selectListEntry(45, backlightEntry);
    s.selectListEntry(46, dimmedEntry);
}

QString randomText(QRandomGenerator& rng, int minLength, int maxLength) {
    // Commas and blanks given extra weight.
    static const QString alphabet = storableAlphabet() + ",,,,    ";
    QString s;
    const int n = minLength + int(rng.bounded(maxLength - minLength + 1));
    for (int i = 0; i < n; ++i)
        s += alphabet.at(rng.bounded(int(alphabet.size())));
    return s;
}

// A file the tool could have written, unlike what prepareSession shows.
ConfigFileLine fileLine() {
    ConfigFileLine l;
    l.model = modelText;
    l.panel = QStringLiteral("FROM FILE");
    for (int i = 0; i < 20; ++i) {
        l.desig[i] = QString("FILE ITEM %1").arg(i + 1);
        l.code[i] = qint16(150 + i % 11); // P1 ... P10, then "N/A"
    }
    l.caption = {QStringLiteral("BACKLIGHT"), QStringLiteral("DIMMING"),
                 QStringLiteral("NORMAL INDICATOR (%)"), QStringLiteral("NORMAL BACKLIGHTING (%)"),
                 QStringLiteral("DIMMED BACKLIGHTING AND INDICATOR (%)")};
    l.value = {159, 160, 10, 7, 5};
    return l;
}

// A session far from fileLine(): other assignments, texts and intensities,
// shown in the lighting view.
void prepareSession(SessionHarness& h) {
    Session& s = h.session;
    h.assignAll();
    h.assign(3, 0, 4); // SW4 "N/A"
    setIntensities(h, 5, 7, 6);
    s.setBoxText(2, "BEFORE");
    s.setBoxText(3, "KEEP, ME");
    s.setBoxText(22, QString::fromUtf8("LED ÿ"));
    s.Option2_Click();
    h.dialogs.messages.clear();
}

// The bytes of fileLine() with field `index` (1-based) replaced by `token`,
// or cut after field `keep`.
QByteArray fileWithField(int index, const QByteArray& token) {
    QList<QByteArray> fields = ConfigFile::format(fileLine()).chopped(2).split(',');
    fields[index - 1] = token;
    return fields.join(',') + "\r\n";
}
QByteArray fileWithFields(int keep) {
    const QList<QByteArray> fields = ConfigFile::format(fileLine()).chopped(2).split(',');
    return fields.first(keep).join(',') + "\r\n";
}

// Runs the save of a configuration with designations of the given length in
// a child process whose files may not grow beyond childFileSizeLimit bytes.
// The child reports every message it showed as title and text, each ended by
// a zero byte.
int saveInChild(const QString& path, int designationLength) {
    SessionHarness h;
    h.assignAll();
    h.session.setBoxText(2, "BIG");
    if (designationLength > 0) {
        for (int t = 3; t <= 22; ++t)
            h.session.setBoxText(t, QString(designationLength, QChar(u'A' + t)));
    }
    h.dialogs.answers = {path};
    h.files.WRITE_FILE_Click();
    QByteArray report;
    for (const auto& m : h.dialogs.messages)
        report += m.title.toUtf8() + '\0' + m.text.toUtf8() + '\0';
    std::fwrite(report.constData(), 1, size_t(report.size()), stdout);
    std::fflush(stdout);
    return h.dialogs.fileRequests.size() == 1 ? 0 : 3;
}

// Handles the next modal dialog once the event loop of its exec() runs.
void onNextModal(std::function<void(QWidget*)> handle) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, handle = std::move(handle)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        }
    });
    timer->start();
}
} // namespace

void TestFileCommands::roundTripThroughAFreshSession_data() {
    QTest::addColumn<int>("k");
    for (int k = 0; k < 40; ++k)
        QTest::newRow(qPrintable(QString("configuration %1").arg(k))) << k;
}

// Between them the configurations use every module, channel and intensity.
void TestFileCommands::roundTripThroughAFreshSession() {
    QFETCH(int, k);
    QRandomGenerator rng(quint32(561 + k));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("ROUND.zqc");

    SessionHarness a;
    Session& sa = a.session;
    for (int row = 0; row < 22; ++row) {
        const int module = (k + 5 * row) % 17;
        a.assign(row, module, (3 * k + row) % 10);
        if (module == 0 && rng.bounded(2))
            sa.selectListEntry(2 * row + 2, -1); // "N/A" needs no channel
    }
    const int indicator = k % 8;
    setIntensities(a, indicator, indicator + int(rng.bounded(8 - indicator)), (5 * k + 3) % 8);
    sa.setBoxText(2, randomText(rng, 1, 12));
    for (int t = 3; t <= 22; ++t)
        sa.setBoxText(t, randomText(rng, 0, 40));
    sa.setBoxText(3 + k % 20, " , two, " + randomText(rng, 0, 10));
    if (k % 2)
        sa.Option2_Click();
    QVERIFY(a.dialogs.messages.isEmpty());
    a.dialogs.answers = {path};
    QCOMPARE(a.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QVERIFY(a.dialogs.messages.isEmpty());
    const QByteArray saved = contents(path);
    QVERIFY(saved.endsWith("\r\n"));

    SessionHarness b;
    Session& sb = b.session;
    b.dialogs.answers = {path};
    QCOMPARE(b.files.READ_FILE_Click().kind, FileOutcome::Kind::Shown);
    QVERIFY(b.dialogs.messages.isEmpty());
    for (int t = 2; t <= 22; ++t)
        QCOMPARE(sb.boxText(t), sa.boxText(t));
    QCOMPARE(b.rec().panel, sa.boxText(2));
    for (int row = 0; row < 22; ++row) {
        const int module = sa.listIndex(2 * row + 1);
        QCOMPARE(sb.listIndex(2 * row + 1), module);
        if (module != 0)
            QCOMPARE(sb.listIndex(2 * row + 2), sa.listIndex(2 * row + 2));
        if (row < 20) {
            QCOMPARE(b.rec().*Items::desig[row], sa.boxText(row + 3));
            if (module != 0)
                QCOMPARE(b.rec().*Items::code[row], a.rec().*Items::code[row]);
        }
        if (row < 10)
            QCOMPARE(sb.listVisible(2 * row + 2), module != 0);
    }
    for (int l : {45, 46, 49})
        QCOMPARE(sb.listIndex(l), sa.listIndex(l));
    QCOMPARE(b.rec().blpercent, a.rec().blpercent);
    QCOMPARE(b.rec().indpercent, a.rec().indpercent);
    QCOMPARE(b.rec().dindpercent, a.rec().dindpercent);
    QVERIFY(inSwitchView(sb));
    for (int t = 3; t <= 22; ++t)
        QCOMPARE(sb.boxVisible(t), t <= 12);

    // What the fresh session saves is what the first one saved.
    b.dialogs.answers = {dir.filePath("AGAIN.zqc")};
    QCOMPARE(b.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QVERIFY(b.dialogs.messages.isEmpty());
    QCOMPARE(contents(dir.filePath("AGAIN.zqc")), saved);
}

void TestFileCommands::saveProposesThePanelNameAndWritesTheLine() {
    QTemporaryDir dir;
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    s.setBoxText(2, "LOBBY");
    s.setBoxText(3, "Door, left");
    s.setBoxText(4, QString::fromUtf8("Café €5"));
    s.setBoxText(22, "");
    s.Option2_Click();
    s.setStatusVisible(true);
    const QString path = dir.filePath("LOBBY.zqc");
    h.dialogs.answers = {path};
    const FileOutcome saved = h.files.WRITE_FILE_Click();
    QCOMPARE(saved.kind, FileOutcome::Kind::Saved);
    QCOMPARE(saved.path, path);

    QCOMPARE(h.dialogs.fileRequests.size(), 1);
    const auto& request = h.dialogs.fileRequests[0];
    QVERIFY(request.save);
    QCOMPARE(request.title, writeTitle);
    QCOMPARE(request.filter, filter);
    QCOMPARE(request.fileName, QString("LOBBY.zqc"));
    QVERIFY(h.dialogs.messages.isEmpty());
    QVERIFY(!s.statusVisible());
    QVERIFY(inSwitchView(s));
    QCOMPARE(h.rec().wmodel, modelText);

    QByteArray expected = "\"00-00561-MDL or 00-00567-MDL\",\"LOBBY\"";
    for (int row = 0; row < 20; ++row) {
        const QByteArray desig = row == 0    ? "Door, left"
                                 : row == 1  ? "Caf\xe9 \x80"
                                               "5"
                                 : row == 19 ? ""
                                             : "DESIGNATION ";
        expected += ",\"" + desig + "\"," + QByteArray::number((row % 16) * 10 + row % 10);
    }
    expected += ',' + captionsAndValues;
    expected.replace("%1", "40").replace("%2", "51").replace("%3", "10").replace("%4", "10");
    expected.replace("%5", "10");
    QCOMPARE(contents(path), expected);
    QCOMPARE(entries(dir.path()), QStringList{"LOBBY.zqc"});

    // A cancelled open is silent and changes nothing.
    s.Option2_Click();
    const QStringList before = sessionState(s);
    const QStringList record = recordState(h.rec());
    QCOMPARE(h.files.READ_FILE_Click().kind, FileOutcome::Kind::Cancelled);
    QCOMPARE(h.dialogs.fileRequests.size(), 2);
    const auto& open = h.dialogs.fileRequests[1];
    QVERIFY(!open.save);
    QCOMPARE(open.title, readTitle);
    QCOMPARE(open.filter, filter);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(sessionState(s), before);
    QCOMPARE(recordState(h.rec()), record);
}

void TestFileCommands::saveChecks_data() {
    QTest::addColumn<int>("clearList"); // a list left without a selection, 0 none
    QTest::addColumn<QString>("panelName");
    QTest::addColumn<QString>("status");  // the red status text, empty when hidden
    QTest::addColumn<QString>("message"); // the message text, empty for none
    QTest::addColumn<bool>("saved");

    QTest::newRow("SW3 module without channel")
        << 6 << "LOBBY" << switchesIncomplete << "" << false;
    QTest::newRow("SW10 channel without module")
        << 19 << "LOBBY" << switchesIncomplete << "" << false;
    QTest::newRow("switch gap before an empty name")
        << 6 << "" << switchesIncomplete << "" << false;
    QTest::newRow("LED2 module missing") << 23 << "LOBBY" << ledsIncomplete << "" << false;
    QTest::newRow("backlighting channel missing") << 42 << "LOBBY" << ledsIncomplete << "" << false;
    QTest::newRow("dimming channel missing") << 44 << "LOBBY" << ledsIncomplete << "" << false;
    QTest::newRow("LED gap before an empty name") << 24 << "" << ledsIncomplete << "" << false;
    QTest::newRow("empty name") << 0 << ""
                                << "" << nameMissing << false;
    QTest::newRow("name of blanks passes") << 0 << "   "
                                           << ""
                                           << "" << true;
}

void TestFileCommands::saveChecks() {
    QFETCH(int, clearList);
    QFETCH(QString, panelName);
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    SessionHarness h;
    Session& s = h.session;
    h.assignAll();
    if (clearList)
        s.selectListEntry(clearList, -1);
    s.setBoxText(2, panelName);
    s.Option2_Click();
    s.setStatusVisible(true);
    s.setStatusColour(ConfigScreen::StatusColour::Green);
    s.setStatusText("EARLIER");
    const QString path = dir.filePath("CHOSEN.zqc");
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.WRITE_FILE_Click();

    using K = FileOutcome::Kind;
    QCOMPARE(outcome.kind, saved ? K::Saved : !status.isEmpty() ? K::Incomplete : K::NameMissing);
    if (outcome.kind == K::Incomplete) // the item whose list was left empty
        QCOMPARE(outcome.item, (clearList - 1) / 2);
    QCOMPARE(outcome.path, saved ? path : QString());
    QCOMPARE(s.statusVisible(), !status.isEmpty());
    if (!status.isEmpty()) {
        QCOMPARE(s.statusText(), status);
        QCOMPARE(s.statusColour(), ConfigScreen::StatusColour::Red);
    }
    QCOMPARE(h.dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(h.dialogs.messages[0].text, message);
        QCOMPARE(h.dialogs.messages[0].title, QString("TARNEK561or567"));
    }
    // An assignment gap leaves the view alone; past the collection the
    // session is in the switch view.
    QCOMPARE(s.view() == Session::View::Switch, status.isEmpty());
    QCOMPARE(h.dialogs.fileRequests.size(), saved ? 1 : 0);
    if (saved)
        QCOMPARE(h.dialogs.fileRequests[0].fileName, panelName + ".zqc");
    QCOMPARE(QFile::exists(path), saved);
}

void TestFileCommands::saveProposesANameEverySystemAccepts_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("plain") << "LOBBY 2"
                           << "LOBBY 2.zqc";
    QTest::newRow("letters beyond ASCII")
        << QString::fromUtf8("CAFÉ €") << QString::fromUtf8("CAFÉ €.zqc");
    QTest::newRow("folders") << "HALL/EAST\\2"
                             << "HALL_EAST_2.zqc";
    QTest::newRow("forbidden on Windows") << "A:B*C?D<E>F|G"
                                          << "A_B_C_D_E_F_G.zqc";
    QTest::newRow("device name") << "aux"
                                 << "_aux.zqc";
    QTest::newRow("device name with more") << "COM1.OLD"
                                           << "_COM1.OLD.zqc";
    QTest::newRow("device name inside") << "LOBBY COM1"
                                        << "LOBBY COM1.zqc";
    QTest::newRow("COM10 is no device") << "COM10"
                                        << "COM10.zqc";
    QTest::newRow("superscript port")
        << QString::fromUtf8("COM\u00b9") << QString::fromUtf8("_COM\u00b9.zqc");
}

// The panel name keeps what it is; only the proposed file name changes.
void TestFileCommands::saveProposesANameEverySystemAccepts() {
    QFETCH(QString, panel);
    QFETCH(QString, proposed);
    QTemporaryDir dir;
    SessionHarness h;
    h.assignAll();
    h.session.setBoxText(2, panel);
    const QString path = dir.filePath("CHOSEN.zqc");
    h.dialogs.answers = {path};
    QCOMPARE(h.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QCOMPARE(h.dialogs.fileRequests.size(), 1);
    QCOMPARE(h.dialogs.fileRequests[0].fileName, proposed);
    QVERIFY(contents(path).contains(Cp1252::encode(QString("\"" + panel + "\""))));
}

void TestFileCommands::cancelledSaveIsSilent() {
    QTemporaryDir dir;
    SessionHarness h;
    h.assignAll();
    h.session.ShowSwitchView(); // the LED channel lists chosen above are shown till now
    h.session.setBoxText(2, "LOBBY");
    const QStringList before = sessionState(h.session);
    const FileOutcome outcome = h.files.WRITE_FILE_Click();
    QCOMPARE(outcome.kind, FileOutcome::Kind::Cancelled);
    QVERIFY(outcome.path.isEmpty());
    QCOMPARE(h.dialogs.fileRequests.size(), 1);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(sessionState(h.session), before);
    QVERIFY(entries(dir.path()).isEmpty());
}

void TestFileCommands::saveReplacesAnExistingFileWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath("LOBBY.zqc");
    writeFile(path, QByteArray(5000, 'x'));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    SessionHarness h;
    h.assignAll();
    h.session.setBoxText(2, "LOBBY");
    h.dialogs.answers = {path};
    QCOMPARE(h.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QVERIFY(h.dialogs.messages.isEmpty());
    const QByteArray bytes = contents(path);
    QVERIFY(bytes.startsWith("\"00-00561-MDL or 00-00567-MDL\",\"LOBBY\","));
    QVERIFY(bytes.endsWith("(%)\",10\r\n"));
    QCOMPARE(bytes.count('\n'), 1);
    QCOMPARE(entries(dir.path()), QStringList{"LOBBY.zqc"});
    QCOMPARE(QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::WriteGroup | QFile::ReadOther),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

void TestFileCommands::saveFailureSaysSoAndKeepsTheOldFile_data() {
    QTest::addColumn<QString>("target"); // relative to the directory
    QTest::addColumn<QString>("reason");
    const QString noFolder = "THE FOLDER DOES NOT EXIST";
    const QString notFile = "NOT A REGULAR FILE";
    QTest::newRow("missing directory") << "missing/LOBBY.zqc" << noFolder;
    QTest::newRow("lower-case path") << "missing/lobby.zqc" << noFolder;
    QTest::newRow("path is a directory") << "LOBBY.zqc" << notFile;
    QTest::newRow("name with place markers") << "missing/100%2 %1.zqc" << noFolder;
    QTest::newRow("named pipe") << "PIPE.zqc" << notFile;
}

void TestFileCommands::saveFailureSaysSoAndKeepsTheOldFile() {
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QByteArray old = "\"OLD CONTENT\"\r\n";
    writeFile(dir.filePath("OLD.zqc"), old);
    QVERIFY(QDir(dir.path()).mkdir("LOBBY.zqc"));
    writeFile(dir.filePath("LOBBY.zqc/inside"), old);
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("PIPE.zqc")).constData(), 0600) == 0);
    const QStringList before = entries(dir.path());
    const QString path = dir.filePath(target);

    SessionHarness h;
    h.assignAll();
    h.session.ShowSwitchView(); // the LED channel lists chosen above are shown till now
    h.session.setBoxText(2, "LOBBY");
    const QStringList state = sessionState(h.session);
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.WRITE_FILE_Click();
    QCOMPARE(outcome.kind, FileOutcome::Kind::NotSaved);
    QCOMPARE(outcome.path, path);
    QCOMPARE(outcome.reason, reason);
    QCOMPARE(outcome.shown, h.dialogs.messages.value(0).text);

    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, notSavedTitle);
    const QStringList lines = h.dialogs.messages[0].text.split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], notSavedFirstLine);
    QCOMPARE(lines[1], path);
    QCOMPARE(lines[2], reason);
    QCOMPARE(sessionState(h.session), state);
    QCOMPARE(entries(dir.path()), before);
    QCOMPARE(contents(dir.filePath("OLD.zqc")), old);
    QVERIFY(QFileInfo(dir.filePath("LOBBY.zqc")).isDir());
    QCOMPARE(entries(dir.filePath("LOBBY.zqc")), QStringList{"inside"});
    QVERIFY(!QFileInfo(dir.filePath("PIPE.zqc")).isFile()); // still a pipe
}

void TestFileCommands::saveIntoAReadOnlyDirectory_data() {
    QTest::addColumn<bool>("readOnlyFile"); // else the directory
    QTest::newRow("read-only directory") << false;
    QTest::newRow("read-only file") << true;
}

void TestFileCommands::saveIntoAReadOnlyDirectory() {
    QFETCH(bool, readOnlyFile);
    const Unprivileged user; // the folder and file are its own
    QVERIFY(user.active());
    QTemporaryDir dir;
    const QString path = dir.filePath(readOnlyFile ? "lobby.zqc" : "LOBBY.zqc");
    const QByteArray old = "\"OLD CONTENT\"\r\n";
    writeFile(path, old);
    QVERIFY(QFile::setPermissions(readOnlyFile ? path : dir.path(),
                                  QFile::ReadOwner | QFile::ExeOwner));
    SessionHarness h;
    h.assignAll();
    h.session.setBoxText(2, "LOBBY");
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.WRITE_FILE_Click();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, notSavedTitle);
    QCOMPARE(h.dialogs.messages[0].text,
             QString("%1\n%2\nACCESS DENIED").arg(notSavedFirstLine, path));
    QCOMPARE(outcome.kind, FileOutcome::Kind::NotSaved);
    QCOMPARE(outcome.reason, QString("ACCESS DENIED"));
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), QStringList{QFileInfo(path).fileName()});
}

void TestFileCommands::saveFailsWhenTheDiskFills_data() {
    QTest::addColumn<int>("designationLength");
    QTest::addColumn<bool>("fits");
    QTest::newRow("line fits under the limit") << 0 << true;
    QTest::newRow("line held in the write buffer overflows") << 300 << false;
    QTest::newRow("line beyond the write buffer overflows") << 1000 << false;
}

void TestFileCommands::saveFailsWhenTheDiskFills() {
    QFETCH(int, designationLength);
    QFETCH(bool, fits);
    QTemporaryDir dir;
    const QString path = dir.filePath("BIG.zqc");
    const QByteArray old = QByteArray("\"OLD CONTENT\"").repeated(100) + "\r\n";
    writeFile(path, old);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(childPathVariable, path);
    env.insert(childLengthVariable, QString::number(designationLength));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setChildProcessModifier([] {
        const rlimit limit{childFileSizeLimit, childFileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing
    });
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, child.readAllStandardError());
    QCOMPARE(child.exitCode(), 0);
    const QList<QByteArray> report = child.readAllStandardOutput().split('\0');

    QCOMPARE(entries(dir.path()), QStringList{"BIG.zqc"});
    if (!fits)
        QCOMPARE(contents(path), old);
    if (fits) {
        QCOMPARE(report, QList<QByteArray>{""});
        const QByteArray bytes = contents(path);
        QVERIFY(bytes.startsWith("\"00-00561-MDL or 00-00567-MDL\",\"BIG\","));
        QVERIFY(bytes.endsWith("\r\n"));
        return;
    }
    QCOMPARE(report.size(), 3); // title, text and what follows the last zero
    QCOMPARE(QString::fromUtf8(report[0]), notSavedTitle);
    const QStringList lines = QString::fromUtf8(report[1]).split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], notSavedFirstLine);
    QCOMPARE(lines[1], path);
    QVERIFY(!lines[2].isEmpty());
    QVERIFY2(!lines[2].contains("unknown", Qt::CaseInsensitive), qPrintable(lines[2]));
}

// A real full disk: a small tmpfs, mounted in a mount namespace of its own
// around the child that saves. Skipped where namespaces are not allowed.
void TestFileCommands::saveOnAFullDiskSaysSo() {
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        QSKIP("no unshare");
    QTemporaryDir dir;
    const QString path = dir.filePath("Lobby.zqc");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(childPathVariable, path);
    env.insert(childLengthVariable, "2000"); // 40 KB into 16 KB
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(unshare, {"--map-root-user", "--mount", "sh", "-c",
                          "mount -t tmpfs -o size=16k tmpfs \"$0\" && exec \"$1\"", dir.path(),
                          QCoreApplication::applicationFilePath()});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    if (child.exitCode() != 0 && out.isEmpty())
        QSKIP(qPrintable("no tmpfs in a namespace here: " + child.readAllStandardError()));
    QCOMPARE(child.exitCode(), 0);
    const QList<QByteArray> report = out.split('\0');
    QCOMPARE(report.size(), 3);
    QCOMPARE(QString::fromUtf8(report[0]), notSavedTitle);
    QCOMPARE(QString::fromUtf8(report[1]),
             QString("%1\n%2\nTHE DISK IS FULL").arg(notSavedFirstLine, path));
}

void TestFileCommands::textWithAQuoteEndsThere_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("box");
    QTest::newRow("SW1 designation") << 3 << 3;
    QTest::newRow("panel name") << 2 << 2;
}

// What a save wrote from a text with a quote inside: the text ends at that
// quote, the rest of it is skipped, and every other field reads as written.
void TestFileCommands::textWithAQuoteEndsThere() {
    QFETCH(int, field);
    QFETCH(int, box);
    QTemporaryDir dir;
    const QString path = dir.filePath("QUOTE.zqc");
    writeFile(path, fileWithField(field, "\"12\" SPOTS\""));
    SessionHarness h;
    Session& s = h.session;
    h.dialogs.answers = {path};
    QCOMPARE(h.files.READ_FILE_Click().kind, FileOutcome::Kind::Shown);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(s.boxText(box), QString("12"));
    const ConfigFileLine l = fileLine();
    QCOMPARE(s.boxText(box == 2 ? 3 : 2), box == 2 ? l.desig[0] : l.panel);
    QCOMPARE(s.boxText(4), l.desig[1]);
    QCOMPARE(h.rec().s1, l.code[0]);
    QCOMPARE(h.rec().dindpercent, l.value[4]);
}

// Texts as long as the boxes hold: saved, opened in a fresh session and saved
// again, byte for byte.
void TestFileCommands::largestSavedFileOpensAgain() {
    QTemporaryDir dir;
    const QString first = dir.filePath("FIRST.zqc"), second = dir.filePath("SECOND.zqc");
    SessionHarness h;
    h.assignAll();
    const QString longest(ConfigFile::maxTextLength, QChar(0x20AC));
    for (int t = 2; t <= 22; ++t)
        h.session.setBoxText(t, longest);
    h.dialogs.answers = {first};
    QCOMPARE(h.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    const QByteArray saved = contents(first);
    QVERIFY(saved.size() > 21 * ConfigFile::maxTextLength);

    SessionHarness again;
    again.dialogs.answers = {first, second};
    QCOMPARE(again.files.READ_FILE_Click().kind, FileOutcome::Kind::Shown);
    QVERIFY(again.dialogs.messages.isEmpty());
    for (int t = 2; t <= 22; ++t)
        QCOMPARE(again.session.boxText(t), longest);
    QCOMPARE(again.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QVERIFY(again.dialogs.messages.isEmpty());
    QCOMPARE(contents(second), saved);
}

void TestFileCommands::openShowsASavedFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("FILE.zqc");
    writeFile(path, ConfigFile::format(fileLine()));
    SessionHarness h;
    Session& s = h.session;
    prepareSession(h);
    setIntensities(h, 7, 7, 7); // all at 30 %: the file's 90 % backlighting is brighter
    s.setStatusVisible(true);
    h.dialogs.messages.clear();
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.READ_FILE_Click();

    QCOMPARE(outcome.kind, FileOutcome::Kind::Shown);
    QCOMPARE(outcome.path, path);
    QCOMPARE(ConfigFile::format(*outcome.line), ConfigFile::format(fileLine()));
    QVERIFY(h.dialogs.messages.isEmpty());
    QVERIFY(!s.statusVisible());
    QVERIFY(inSwitchView(s));
    QCOMPARE(s.boxText(2), QString("FROM FILE"));
    const ConfigFileLine l = fileLine();
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(s.boxText(i + 3), l.desig[i]);
        QCOMPARE(s.boxVisible(i + 3), i < 10);
        QCOMPARE(h.rec().*Items::desig[i], l.desig[i]);
        const bool assigned = l.code[i] < 160;
        QCOMPARE(s.listIndex(2 * i + 1), assigned ? 16 : 0);
        if (assigned) {
            QCOMPARE(s.listIndex(2 * i + 2), l.code[i] - 150);
            QCOMPARE(h.rec().*Items::code[i], l.code[i]);
        }
        if (i < 10)
            QCOMPARE(s.listVisible(2 * i + 2), assigned);
    }
    QCOMPARE(s.listIndex(41), 16); // backlighting P10
    QCOMPARE(s.listIndex(42), 9);
    QCOMPARE(h.rec().bl, qint16(159));
    QCOMPARE(s.listIndex(43), 0); // dimming "N/A"
    QCOMPARE(s.listIndex(49), 0); // indicator 100 %
    QCOMPARE(s.listIndex(45), 1); // backlighting 90 %
    QCOMPARE(s.listIndex(46), 3); // dimmed 70 %
    QCOMPARE(h.rec().indpercent, qint16(10));
    QCOMPARE(h.rec().blpercent, qint16(7));
    QCOMPARE(h.rec().dindpercent, qint16(5));
    QCOMPARE(h.rec().rmodel, modelText);
    QCOMPARE(h.rec().panel, QString("FROM FILE"));
    QCOMPARE(h.rec().dindpct, QString("DIMMED BACKLIGHTING AND INDICATOR (%)"));
}

// A file the tool did not write may hold a backlighting brighter than the
// indicator. The backlighting is shown first, while the indicator list still
// shows its old entry, so the rule lowers it to that entry.
void TestFileCommands::intensitiesAreShownBacklightFirst() {
    QTemporaryDir dir;
    const QString path = dir.filePath("BRIGHT.zqc");
    writeFile(path, fileWithField(48, "5")); // indicator 70 %, backlighting 90 %
    SessionHarness h;
    prepareSession(h);
    setIntensities(h, 7, 7, 0);
    h.dialogs.answers = {path};
    QCOMPARE(h.files.READ_FILE_Click().kind, FileOutcome::Kind::Shown);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QString("NORMAL INDICATOR INTENSITY must be set equal to\n"
                                                 "or greater than NORMAL BACKLIGHTING INTENSITY."));
    QCOMPARE(h.dialogs.messages[0].title, QString("TARNEK561or567"));
    QCOMPARE(h.session.listIndex(49), 3); // 70 %, from the file
    QCOMPARE(h.rec().indpercent, qint16(5));
    QCOMPARE(h.session.listIndex(45), 7); // 30 %, the indicator's old entry
    QCOMPARE(h.rec().blpercent, qint16(1));
    QVERIFY(inSwitchView(h.session));
}

void TestFileCommands::codesOutsideTheModulesShowNotAssigned_data() {
    QTest::addColumn<int>("field"); // the code's field in the file
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("moduleList");
    QTest::newRow("SW1 at 160") << 4 << QByteArray("160") << 1;
    QTest::newRow("SW1 at 200") << 4 << QByteArray("200") << 1;
    QTest::newRow("SW1 at 32767") << 4 << QByteArray("32767") << 1;
    QTest::newRow("LED10 at 161") << 42 << QByteArray("161") << 39;
    QTest::newRow("backlighting at 200") << 44 << QByteArray("200") << 41;
}

void TestFileCommands::codesOutsideTheModulesShowNotAssigned() {
    QFETCH(int, field);
    QFETCH(QByteArray, code);
    QFETCH(int, moduleList);
    QTemporaryDir dir;
    const QString path = dir.filePath("NA.zqc");
    writeFile(path, fileWithField(field, code));
    SessionHarness h;
    Session& s = h.session;
    prepareSession(h);
    h.dialogs.answers = {path, dir.filePath("AGAIN.zqc")};
    QCOMPARE(h.files.READ_FILE_Click().kind, FileOutcome::Kind::Shown);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(s.listIndex(moduleList), 0);
    QCOMPARE(s.listEntries(moduleList).value(0), QString("N/A"));
    if (moduleList == 1)
        QVERIFY(!s.listVisible(2));

    // Saved again, the item is "N/A" and nothing else moved.
    QCOMPARE(h.files.WRITE_FILE_Click().kind, FileOutcome::Kind::Saved);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(contents(dir.filePath("AGAIN.zqc")), fileWithField(field, "160"));
}

void TestFileCommands::failedOpenChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("special"); // "missing", "directory", "sparse" or a path

    QByteArray noise(100 * 1024, '\0');
    QRandomGenerator rng(67);
    for (char& c : noise)
        c = char(rng.bounded(256));

    QTest::newRow("another model") << fileWithField(1, "\"00-00561-MDL\"") << "";
    QTest::newRow("model in other case")
        << fileWithField(1, "\"00-00561-mdl or 00-00567-mdl\"") << "";
    QTest::newRow("stops after field 30") << fileWithFields(30) << "";
    QTest::newRow("51 fields") << fileWithFields(51) << "";
    QTest::newRow("unreadable integer") << fileWithField(4, "12x") << "";
    QTest::newRow("integer beyond 16 bits") << fileWithField(48, "40000") << "";
    QTest::newRow("empty integer") << fileWithField(52, "") << "";
    QTest::newRow("negative switch code") << fileWithField(12, "-1") << "";
    QTest::newRow("negative LED code") << fileWithField(42, "-160") << "";
    QTest::newRow("negative backlighting code") << fileWithField(44, "-10") << "";
    QTest::newRow("negative dimming code") << fileWithField(46, "-32768") << "";
    const QByteArray tooLong = '"' + QByteArray(ConfigFile::maxTextLength + 1, 'x') + '"';
    QTest::newRow("panel name longer than its box holds") << fileWithField(2, tooLong) << "";
    QTest::newRow("designation longer than its box holds") << fileWithField(41, tooLong) << "";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("binary noise") << noise << "";
    QTest::newRow("missing file") << QByteArray() << "missing";
    QTest::newRow("path is a directory") << QByteArray() << "directory";
    QTest::newRow("huge sparse file") << QByteArray() << "sparse";
    QTest::newRow("endless device") << QByteArray() << "/dev/zero";
    QTest::newRow("named pipe without a writer") << QByteArray() << "fifo";
}

void TestFileCommands::failedOpenChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, special);
    QTemporaryDir dir;
    QString path = dir.filePath("BAD.zqc");
    if (special.isEmpty()) {
        writeFile(path, bytes);
    } else if (special == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("BAD.zqc"));
    } else if (special == "sparse") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(1) << 32));
    } else if (special == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (special != "missing") {
        path = special;
    }
    SessionHarness h;
    prepareSession(h);
    const QStringList before = sessionState(h.session);
    const QStringList record = recordState(h.rec());
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.READ_FILE_Click();

    QCOMPARE(outcome.kind, FileOutcome::Kind::Refused);
    QVERIFY(outcome.failure != ConfigFileRead::Failure::AccessDenied);
    QCOMPARE(outcome.path, path);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, mismatchTitle);
    QCOMPARE(h.dialogs.messages[0].text, mismatchText);
    QCOMPARE(sessionState(h.session), before);
    QCOMPARE(recordState(h.rec()), record);
}

void TestFileCommands::openDeniedIsSilent_data() {
    QTest::addColumn<bool>("lockDirectory"); // else the file itself
    QTest::newRow("file not readable") << false;
    QTest::newRow("directory not searchable") << true;
}

void TestFileCommands::openDeniedIsSilent() {
    QFETCH(bool, lockDirectory);
    const Unprivileged user; // the folder and file are its own
    QVERIFY(user.active());
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    const QString path = dir.filePath("sub/LOCKED.zqc");
    writeFile(path, ConfigFile::format(fileLine()));
    const QString locked = lockDirectory ? dir.filePath("sub") : path;
    const auto permissions = QFile::permissions(locked);
    QVERIFY(QFile::setPermissions(locked, QFile::WriteOwner));
    SessionHarness h;
    prepareSession(h);
    const QStringList before = sessionState(h.session);
    const QStringList record = recordState(h.rec());
    h.dialogs.answers = {path};
    const FileOutcome outcome = h.files.READ_FILE_Click();
    QFile::setPermissions(locked, permissions);
    QCOMPARE(outcome.kind, FileOutcome::Kind::Refused);
    QCOMPARE(outcome.failure, ConfigFileRead::Failure::AccessDenied);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(sessionState(h.session), before);
    QCOMPARE(recordState(h.rec()), record);
}

// The product's own dialogs: one file dialog for both commands, with the
// filter and titles, the proposed name, and the name carried to the open.
void TestFileCommands::realDialogsCarryTheNameOver() {
    QTemporaryDir dir;
    auto dialogs = std::make_unique<QtDialogs>();
    Session session(*dialogs);
    Form1 form(session);
    dialogs->setParent(&form);
    FileCommands files(session, *dialogs);
    // The window, and with it the file dialog, goes before the dialogs object.
    for (int row = 0; row < 22; ++row) {
        form.list(2 * row + 1)->setListIndex(1 + row % 16);
        form.list(2 * row + 2)->setListIndex(row % 10);
    }
    session.setBoxText(2, "");

    QString title, text;
    bool plain = false;
    onNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        plain = box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok;
        box->button(QMessageBox::Ok)->click();
    });
    files.WRITE_FILE_Click();
    QCOMPARE(title, QString("TARNEK561or567"));
    QCOMPARE(text, nameMissing);
    QVERIFY(plain);

    session.setBoxText(2, "LOBBY");
    const QString path = dir.filePath("LOBBY.zqc");
    QFileDialog* used = nullptr;
    QString proposed;
    QStringList filters;
    onNextModal([&](QWidget* w) {
        used = qobject_cast<QFileDialog*>(w);
        QVERIFY(used);
        title = used->windowTitle();
        filters = used->nameFilters();
        proposed = used->findChild<QLineEdit*>("fileNameEdit")->text();
        QCOMPARE(used->acceptMode(), QFileDialog::AcceptSave);
        used->selectFile(path);
        static_cast<QDialog*>(used)->accept(); // QFileDialog::accept, as OK does
    });
    files.WRITE_FILE_Click();
    QCOMPARE(title, writeTitle);
    QCOMPARE(filters, QStringList{filter});
    QCOMPARE(proposed, QString("LOBBY.zqc"));
    QVERIFY(contents(path).startsWith("\"00-00561-MDL or 00-00567-MDL\",\"LOBBY\","));

    QFileDialog* reused = nullptr;
    QString folder;
    onNextModal([&](QWidget* w) {
        reused = qobject_cast<QFileDialog*>(w);
        QVERIFY(reused);
        title = reused->windowTitle();
        filters = reused->nameFilters();
        proposed = reused->findChild<QLineEdit*>("fileNameEdit")->text();
        folder = reused->directory().absolutePath();
        QCOMPARE(reused->acceptMode(), QFileDialog::AcceptOpen);
        reused->reject();
    });
    const QStringList window = windowState(form);
    files.READ_FILE_Click();
    QCOMPARE(reused, used);
    QCOMPARE(title, readTitle);
    QCOMPARE(filters, QStringList{filter});
    QCOMPARE(proposed, QString("LOBBY.zqc"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath()); // where it was saved
    QCOMPARE(windowState(form), window);
}

// A sheet's or a site document's PDF, a folder and the site document's form
// go through dialogs of their own: the open and save commands' dialog keeps
// its name and folder.
void TestFileCommands::outputFolderAndFormDialogsAreTheirOwn() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    QVERIFY(QDir(dir.path()).mkdir("site"));
    QtDialogs dialogs;
    Dialogs& asked = dialogs;
    QWidget window;
    dialogs.setParent(&window);
    auto answer = [](const QString& path) {
        onNextModal([path](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            d->selectFile(path);
            static_cast<QDialog*>(d)->accept();
        });
    };
    answer(dir.filePath("LOBBY.zqc"));
    QCOMPARE(asked.chooseSavePath(writeTitle, filter, "LOBBY.zqc"), dir.filePath("LOBBY.zqc"));

    QString title, proposed;
    QStringList filters;
    onNextModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        title = d->windowTitle();
        filters = d->nameFilters();
        proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        d->selectFile(dir.filePath("out/handover")); // typed without ".pdf"
        static_cast<QDialog*>(d)->accept();
    });
    QCOMPARE(asked.chooseOutputPath("SAVE SITE DOCUMENT AS PDF", "PDF FILES (*.pdf)", "HALL.pdf"),
             dir.filePath("out/handover.pdf"));
    QCOMPARE(title, QString("SAVE SITE DOCUMENT AS PDF"));
    QCOMPARE(filters, QStringList{"PDF FILES (*.pdf)"});
    QCOMPARE(proposed, QString("HALL.pdf"));

    QFile schedule(dir.filePath("out/site.csv"));
    QVERIFY(schedule.open(QIODevice::WriteOnly));
    schedule.close();
    onNextModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        title = d->windowTitle();
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
        d->selectFile(schedule.fileName());
        static_cast<QDialog*>(d)->accept();
    });
    QCOMPARE(asked.chooseInputPath("IMPORT A SCHEDULE", "CSV SCHEDULE (*.csv)"),
             schedule.fileName());
    QCOMPARE(title, QString("IMPORT A SCHEDULE"));

    QString folder;
    onNextModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        title = d->windowTitle();
        proposed = d->findChild<QLineEdit*>("fileNameEdit")->text();
        folder = d->directory().absolutePath();
        d->reject();
    });
    QCOMPARE(asked.chooseOpenPath(readTitle, filter), std::nullopt);
    QCOMPARE(title, readTitle);
    QCOMPARE(proposed, QString("LOBBY.zqc"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath());

    onNextModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        title = d->windowTitle();
        folder = d->directory().absolutePath();
        QCOMPARE(d->fileMode(), QFileDialog::Directory);
        d->selectFile(dir.filePath("site"));
        static_cast<QDialog*>(d)->accept();
    });
    QCOMPARE(asked.chooseFolder("FOLDER FOR THE SITE DOCUMENT"), dir.filePath("site"));
    QCOMPARE(title, QString("FOLDER FOR THE SITE DOCUMENT"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath()); // where the configuration was

    QStringList names, started;
    onNextModal([&](QWidget* w) {
        title = w->windowTitle();
        const QList<QLineEdit*> boxes = w->findChildren<QLineEdit*>();
        for (QLineEdit* box : boxes) {
            names << box->accessibleName();
            started << box->text();
        }
        QCOMPARE(boxes.size(), 2);
        boxes[1]->setText("A. SMITH");
        w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(asked.askTexts("SITE DOCUMENT", {"SITE &NAME", "CONFIGURED &BY"}, {"HALL", "J. DOE"}),
             QStringList({"HALL", "A. SMITH"}));
    QCOMPARE(title, QString("SITE DOCUMENT"));
    QCOMPARE(names, QStringList({"SITE NAME", "CONFIGURED BY"}));
    QCOMPARE(started, QStringList({"HALL", "J. DOE"}));
    onNextModal([](QWidget* w) {
        w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(asked.askTexts("SITE DOCUMENT", {"SITE &NAME"}, {"HALL"}), std::nullopt);
}

void TestFileCommands::saveQuestionAnswersByKey_data() {
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<int>("answer");
    QTest::newRow("Alt+S") << QKeySequence("Alt+S") << int(Dialogs::SaveAnswer::Save);
    QTest::newRow("Alt+D") << QKeySequence("Alt+D") << int(Dialogs::SaveAnswer::Discard);
    QTest::newRow("Alt+C") << QKeySequence("Alt+C") << int(Dialogs::SaveAnswer::Cancel);
    QTest::newRow("Enter") << QKeySequence(Qt::Key_Return) << int(Dialogs::SaveAnswer::Save);
    QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape) << int(Dialogs::SaveAnswer::Cancel);
}

// The question before edits are lost is answered from the keyboard alone.
void TestFileCommands::saveQuestionAnswersByKey() {
    QFETCH(QKeySequence, key);
    QFETCH(int, answer);
    QtDialogs dialogs;
    QString text;
    bool closedByKey = false;
    onNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowActive(box));
        text = box->text();
        QTest::keySequence(box, key);
        closedByKey = QTest::qWaitFor([box] { return !box->isVisible(); }, 5000);
        if (!closedByKey)
            box->reject();
    });
    Dialogs& asked = dialogs;
    QCOMPARE(int(asked.askToSave("SAVE CHANGES TO THIS CONFIGURATION?\nLOBBY.zqc")), answer);
    QVERIFY(closedByKey);
    QCOMPARE(text, QString("SAVE CHANGES TO THIS CONFIGURATION?\nLOBBY.zqc"));
}

// A name typed into the open dialog and Enter pressed: once the file is
// open, no window but the main window is left on the screen (the completion
// list of the name box once stayed, and swallowed the next click). The next
// dialog starts in the folder of that file, with its name.
void TestFileCommands::typedNameLeavesNothingBehind() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("site"));
    const QString folder = dir.filePath("site");
    for (const char* name : {"LOBBY.zqc", "LOBBY-OLD.zqc", "LOFT.zqc"})
        writeFile(folder + '/' + name, ConfigFile::format(fileLine()));
    QtDialogs dialogs;
    Session session(dialogs);
    Form1 form(session);
    dialogs.setParent(&form);
    FileCommands files(session, dialogs);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    bool completed = false;
    onNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        const auto close = qScopeGuard([dialog] {
            if (dialog->isVisible())
                dialog->reject();
        });
        dialog->setDirectory(folder);
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        // Completions come once the folder has been read.
        auto* view = dialog->findChild<QAbstractItemView*>("listView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
        edit->setFocus();
        QTest::keyClicks(edit, "LOB");
        QTRY_VERIFY(QApplication::activePopupWidget());
        completed = true;
        QTest::keyClicks(QApplication::activePopupWidget(), "BY.zqc");
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        if (dialog->isVisible())
            QTest::keyClick(edit, Qt::Key_Return);
    });
    files.READ_FILE_Click();
    QVERIFY(completed);
    QCOMPARE(form.textBox(2)->text(), QString("FROM FILE"));
    QTest::qWait(50);
    QStringList left;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != &form)
            left << w->metaObject()->className();
    QCOMPARE(left, QStringList());
    QCOMPARE(QApplication::activePopupWidget(), nullptr);

    QString startFolder, startName;
    onNextModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        startFolder = dialog->directory().absolutePath();
        startName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        dialog->reject();
    });
    files.READ_FILE_Click();
    QCOMPARE(startFolder, QDir(folder).absolutePath());
    QCOMPARE(startName, QString("LOBBY.zqc"));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childPathVariable))
        return saveInChild(qEnvironmentVariable(childPathVariable),
                           qEnvironmentVariableIntValue(childLengthVariable));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestFileCommands test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filecommands.moc"
