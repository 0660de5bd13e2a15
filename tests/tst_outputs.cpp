#include "Harness.h"
#include "files/ConfigFile.h"
#include "files/OutputGuard.h"
#include "files/RecordFile.h"
#include "link/LinkTrace.h"
#include "link/PortNames.h"
#include "platform/Settings.h"
#include "site/SiteLog.h"
#include "ui/Controls.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

// Where the trace and the site log may go, what happens when a line does not
// reach the disk, and the words that must stay readable: the status box's
// long messages and the order of the ports.
class TestOutputs : public QObject {
    Q_OBJECT
private slots:
    void traceAndLogGoOnlyToALog_data();
    void traceAndLogGoOnlyToALog();
    void lostLineIsReportedOnceAtOnce();
    void cutLineIsTakenOff();
    void configurationReplacesOnlyAConfiguration_data();
    void configurationReplacesOnlyAConfiguration();
    void pdfNameKeepsADevice();
    void longStatusKeepsItsReason_data();
    void longStatusKeepsItsReason();
    void portsInNumberOrderUnderEveryLocale_data();
    void portsInNumberOrderUnderEveryLocale();
};

namespace {
// A full disk, as a file-size limit makes it, while write runs.
void underFileSizeLimit(rlim_t bytes, const std::function<void()>& write) {
    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = bytes;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    write();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}
} // namespace

void TestOutputs::traceAndLogGoOnlyToALog_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // what is there before
    QTest::addColumn<QString>("refusal");
    QTest::newRow("new file") << "site.log"
                              << "none" << QString();
    QTest::newRow("earlier log") << "site.log"
                                 << "log" << QString();
    QTest::newRow("pipe") << "fifo"
                          << "fifo"
                          << "not a regular file";
    QTest::newRow("folder") << "folder"
                            << "folder"
                            << "not a regular file";
    QTest::newRow("device") << "/dev/null"
                            << "device"
                            << "not a regular file";
    QTest::newRow("configuration file") << "lobby.zqc"
                                        << "config"
                                        << "it is a configuration file";
    QTest::newRow("new name of a configuration file") << "lobby.zqc"
                                                      << "none"
                                                      << "it is a configuration file";
    QTest::newRow("configuration file of another name") << "lobby.txt"
                                                        << "config"
                                                        << "it is a configuration file";
    QTest::newRow("PDF") << "sheet.pdf"
                         << "none"
                         << "it is a PDF";
    QTest::newRow("PDF of another name") << "sheet.txt"
                                         << "pdf"
                                         << "it is a PDF";
    QTest::newRow("schedule") << "site.csv"
                              << "none"
                              << "it is a schedule";
    QTest::newRow("schedule of another name") << "site.txt"
                                              << "csv"
                                              << "it is a schedule";
}

// Refused before it is opened: a pipe without a reader would block the
// program for good, and a configuration file would be spoilt.
void TestOutputs::traceAndLogGoOnlyToALog() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString path = name.startsWith('/') ? name : dir.filePath(name);
    QByteArray before;
    ConfigFileLine config;
    config.model = ConfigFile::modelText;
    if (kind == "fifo")
        QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "log" || kind == "config" || kind == "pdf" || kind == "csv") {
        before = kind == "log"      ? QByteArray("2026-12-08T10:00:00\t/dev/ttyUSB0\twrite\n")
                 : kind == "config" ? ConfigFile::format(config)
                 : kind == "csv"    ? QByteArray("\"Panel Name\",\"Item\",\"Module\"\r\n")
                                    : QByteArray("%PDF-1.4\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    for (int which = 0; which < 2; ++which) {
        LinkTrace trace;
        SiteLog log;
        QString error;
        const bool opened = which == 0 ? trace.open(path, &error) : log.open(path, &error);
        QCOMPARE(opened, refusal.isEmpty());
        QCOMPARE(error, refusal);
    }
    if (kind == "config" || kind == "pdf" || kind == "csv") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
}

// A full disk, as a file-size limit makes it: the first line lost is
// reported at once and once, nothing more is written, and the file keeps
// whole lines only.
void TestOutputs::lostLineIsReportedOnceAtOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.log");
    const QByteArray earlier(2048, 'x');

    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    RecordFile record;
    QStringList reports;
    record.setFailureReport([&](const QString& why) { reports << why; });
    QString error;
    QVERIFY(record.open(path, &error));
    bool first = false, second = false;
    int reportsAfterFirst = 0;
    underFileSizeLimit(1024, [&] {
        first = record.append("line one\n");
        reportsAfterFirst = int(reports.size());
        second = record.append("line two\n");
    });
    QVERIFY(!first);
    QCOMPARE(reportsAfterFirst, 1); // at once, not at the end
    QVERIFY(!second);
    QCOMPARE(reports.size(), 1);
    QVERIFY(!reports[0].isEmpty());
    QCOMPARE(record.failure(), std::optional<QString>(reports[0]));
    QVERIFY(!record.append("line three\n")); // the disk has room again: still nothing
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
}

// The limit falls inside the line: what got through is taken off again.
void TestOutputs::cutLineIsTakenOff() {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.log");
    const QByteArray earlier(1000, 'x');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    RecordFile record;
    QVERIFY(record.open(path, nullptr));
    bool written = true;
    underFileSizeLimit(1024, [&] { written = record.append(QByteArray(100, 'y') + '\n'); });
    QVERIFY(!written);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
}

void TestOutputs::configurationReplacesOnlyAConfiguration_data() {
    QTest::addColumn<QString>("kind"); // what is at the path before
    QTest::addColumn<QString>("refusal");
    QTest::newRow("nothing") << "none" << QString();
    QTest::newRow("empty file") << "empty" << QString();
    QTest::newRow("configuration") << "config" << QString();
    QTest::newRow("text") << "text"
                          << "exists and is not a configuration file";
    QTest::newRow("schedule") << "csv"
                              << "exists and is not a configuration file";
    QTest::newRow("folder") << "folder"
                            << "is not a regular file";
    QTest::newRow("link to a configuration") << "link"
                                             << "is a link";
    QTest::newRow("link to nothing") << "dangling"
                                     << "is a link";
}

// What the commands and the import may write a configuration over without
// asking anyone.
void TestOutputs::configurationReplacesOnlyAConfiguration() {
    QFETCH(QString, kind);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString path = dir.filePath("LOBBY.zqc");
    ConfigFileLine config;
    config.model = ConfigFile::modelText;
    auto write = [](const QString& at, const QByteArray& bytes) {
        QFile file(at);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    if (kind == "empty")
        write(path, {});
    else if (kind == "config")
        write(path, ConfigFile::format(config));
    else if (kind == "text")
        write(path, "notes\n");
    else if (kind == "csv")
        write(path, "\"PANEL NAME\",\"ITEM\"\r\n");
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "link" || kind == "dangling") {
        const QString target = dir.filePath("elsewhere.zqc");
        if (kind == "link")
            write(target, ConfigFile::format(config));
        QVERIFY(QFile::link(target, path));
    }
    QCOMPARE(OutputGuard::configurationRefusal(path).value_or(QString()), refusal);
}

// "-o /dev/full" is refused as the device it is, not written beside it.
void TestOutputs::pdfNameKeepsADevice() {
    QCOMPARE(OutputGuard::pdfPath("/dev/full"), QString("/dev/full"));
    QCOMPARE(OutputGuard::pdfPath("/tmp/site"), QString("/tmp/site.pdf"));
    QCOMPARE(OutputGuard::pdfRefusal(OutputGuard::pdfPath("/dev/full")),
             std::optional<QString>(OutputGuard::notRegularFile));
}

void TestOutputs::longStatusKeepsItsReason_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("by-id path, line fault")
        << "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
        << "FAILED DURING COMMUNICATIONS: THE DEVICE WAS DISCONNECTED OR STOPPED ANSWERING" << true;
    QTest::newRow("short path fits whole")
        << "/dev/ttyUSB0"
        << "FAILED DURING COMMUNICATIONS: THE DEVICE WAS DISCONNECTED" << false;
}

// The box holds three lines: a long device path gives way in its middle,
// the reason at the end is always seen.
void TestOutputs::longStatusKeepsItsReason() {
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QFETCH(bool, shortened);
    Harness h;
    h.form().show();
    const QString text = "SERIAL PORT " + device + " " + reason;
    StatusBox* box = h.form().statusBox();
    box->setDevice(device);
    h.session().setStatusVisible(true);
    h.session().setStatusText(text);
    QCOMPARE(box->text(), text); // the commands and the trace get it whole
    const QString shown = box->toPlainText();
    QVERIFY2(shown.endsWith(reason), qPrintable(shown));
    QVERIFY(shown.startsWith("SERIAL PORT " + device.left(4)));
    QCOMPARE(shown.contains(QChar(0x2026)), shortened);
    QCOMPARE(shown == text, !shortened);
    if (!shortened) // a message that fits keeps about the window's letters
        QVERIFY2(box->font().pointSizeF() >= 7.5, qPrintable(box->font().toString()));
    QTRY_VERIFY(box->document()->firstBlock().layout()->lineCount() > 0);
    const QTextLayout* layout = box->document()->firstBlock().layout();
    qreal height = 0; // every line whole, with a pixel clear of the lower border
    for (int i = 0; i < layout->lineCount(); ++i)
        height += layout->lineAt(i).height();
    QVERIFY2(height <= box->viewport()->height() - 1,
             qPrintable(QString("%1 lines, %2 px in %3 px (%4 %5)")
                            .arg(layout->lineCount())
                            .arg(height)
                            .arg(box->viewport()->height())
                            .arg(box->contentsRect().height())
                            .arg(box->frameWidth())));
}

void TestOutputs::portsInNumberOrderUnderEveryLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("de_DE") << "de_DE";
}

void TestOutputs::portsInNumberOrderUnderEveryLocale() {
    QFETCH(QString, locale);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    QList<PortNames::Port> ports;
    for (const char* device : {"/dev/ttyUSB10", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyUSB1",
                               "/dev/ttyS02x", "/dev/ttyACM0", "/dev/ttyUSB2"})
        ports.append(PortNames::Port{QString::fromLatin1(device), QString()});
    QList<PortNames::Port> listed = ports;
    Harness h;
    QTemporaryDir dir;
    Settings settings(dir.filePath("settings.ini"));
    h.tool.addPortPicker(settings, {}, [&] { return listed; });
    QStringList entries;
    for (int i = 0; i < h.tool.picker->count(); ++i)
        entries << h.tool.picker->itemData(i).toString();
    QCOMPARE(h.tool.picker->itemText(int(entries.size()) - 1), PortPicker::findEntry); // last
    entries.removeLast();
    QLocale::setDefault(previous);
    QCOMPARE(entries,
             QStringList({"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS02x", "/dev/ttyS10",
                          "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
}

QTEST_MAIN(TestOutputs)
#include "tst_outputs.moc"
