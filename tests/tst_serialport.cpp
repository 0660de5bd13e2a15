#include "DialogRecorder.h"
#include "Simulator.h"
#include "ui/PanelTool.h"
#include "Unprivileged.h"
#include "link/DeviceAccess.h"
#include "link/LinkTexts.h"
#include "link/LinkTrace.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"

#include <QDir>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

#include <cstdlib>

// The product's serial port wrapper on a real pseudo-terminal: what it
// discards when it opens, how it words the faults of the line, and how a
// refused open is explained.
class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void bytesWaitingBeforeOpenAreDiscarded();
    void lineFaultsInPlainWords_data();
    void lineFaultsInPlainWords();
    void lineFaultEndsTheTransactionRed_data();
    void lineFaultEndsTheTransactionRed();
    void portHeldByAnotherProgram();
    void portThisUserMayNotOpen();
    void portThisUserMayNotOpenForReal();
    void openFailuresSayWhatLiesAtThePath_data();
    void openFailuresSayWhatLiesAtThePath();
    void traceKeepsEachRunAndTheSystemsReasonOnce();
    void deviceThisUserMayReadButNotWrite();
    void remedyNamesTheDevicesGroup_data();
    void remedyNamesTheDevicesGroup();
};

namespace {
// A pseudo-terminal whose line stays up while the port is closed: bytes
// written to it then wait in the device, as noise on a real line does.
struct Line {
    Line() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        device = QString::fromLocal8Bit(ptsname(master));
        keeper = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    }
    ~Line() {
        ::close(keeper);
        ::close(master);
    }
    bool write(const QByteArray& bytes) const {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    int master = -1;
    int keeper = -1;
    QString device;
};

// Raises a line fault on the port at the n-th wait of a transaction.
struct FaultAtWait : EventYield {
    FaultAtWait(QtSerialPort& port, QSerialPort::SerialPortError error, int wait)
        : port(port), error(error), countdown(wait) {}
    void waitForEvents() override {
        if (--countdown == 0)
            emit port.qtPort().errorOccurred(error);
        EventYield::waitForEvents();
    }
    QtSerialPort& port;
    QSerialPort::SerialPortError error;
    int countdown;
};

void addLineFaults() {
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("words");
    QTest::newRow("adapter pulled out")
        << QSerialPort::ResourceError << QString("THE DEVICE WAS DISCONNECTED");
    QTest::newRow("read fails") << QSerialPort::ReadError
                                << QString("THE DEVICE WAS DISCONNECTED OR STOPPED ANSWERING");
    QTest::newRow("write fails") << QSerialPort::WriteError
                                 << QString("THE DEVICE WAS DISCONNECTED OR REFUSED THE DATA");
}
} // namespace

void TestSerialPort::bytesWaitingBeforeOpenAreDiscarded() {
    Line line;
    QVERIFY(line.keeper >= 0);
    QVERIFY(line.write("D000DXYZ"));
    QtSerialPort port(line.device);
    port.setSettings(LinkTexts::settings);
    QVERIFY(port.open());
    QVERIFY(line.write("01600"));
    QTRY_VERIFY_WITH_TIMEOUT(port.waiting() >= 5, 10000);
    QCOMPARE(port.takeAll(), QByteArray("01600"));
    port.close();
}

void TestSerialPort::lineFaultsInPlainWords_data() {
    addLineFaults();
}

void TestSerialPort::lineFaultsInPlainWords() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, words);
    Line line;
    QtSerialPort port(line.device);
    port.setSettings(LinkTexts::settings);
    QVERIFY(port.open());
    emit port.qtPort().errorOccurred(error);
    QCOMPARE(port.fault().value_or(QString()),
             "SERIAL PORT " + line.device + " FAILED DURING COMMUNICATIONS: " + words);
    QVERIFY(!port.qtPort().isOpen());
    QCOMPARE(port.waiting(), 0);
    port.send("A");       // nothing more goes out, nothing breaks
    QVERIFY(port.open()); // the next transaction starts afresh
    QVERIFY(!port.fault());
}

void TestSerialPort::lineFaultEndsTheTransactionRed_data() {
    addLineFaults();
}

void TestSerialPort::lineFaultEndsTheTransactionRed() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, words);
    Simulator sim({});
    QVERIFY(sim.started());
    QtSerialPort port(sim.device());
    FaultAtWait yield(port, error, 3);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port, 100, &yield);
    tool.link.READ_CONFIG_Click();
    QCOMPARE(tool.session.statusText(),
             "SERIAL PORT " + sim.device() + " FAILED DURING COMMUNICATIONS: " + words);
    QCOMPARE(tool.form.statusBox()->background(), QColor(255, 0, 0));
    QVERIFY(!port.qtPort().isOpen());
    QVERIFY(dialogs.messages.isEmpty());
}

// The platform calls both "permission denied"; the device's permissions
// tell a busy port from a forbidden one.
void TestSerialPort::portHeldByAnotherProgram() {
    Line line;
    QSerialPort holder(line.device);
    QVERIFY(holder.open(QIODevice::ReadWrite));
    QtSerialPort port(line.device);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port);
    tool.link.READ_CONFIG_Click();
    QCOMPARE(tool.session.statusText(),
             "SERIAL PORT " + line.device + " CANNOT BE OPENED: IN USE BY ANOTHER PROGRAM");
    QCOMPARE(tool.form.statusBox()->background(), QColor(255, 0, 0));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestSerialPort::portThisUserMayNotOpen() {
    Line line;
    QSerialPort holder(line.device); // the platform refuses the open
    QVERIFY(holder.open(QIODevice::ReadWrite));
    QtSerialPort port(line.device);
    port.setAccessCheck([](const QString&) { return false; }); // as for a user outside the group
    DialogRecorder dialogs;
    QString statusWhenShown;
    PanelTool tool(dialogs, port);
    dialogs.onMessage = [&](const DialogRecorder::Shown&) {
        statusWhenShown = tool.session.statusText();
    };
    tool.link.READ_CONFIG_Click();
    const QString status = "SERIAL PORT " + line.device + " CANNOT BE OPENED: ACCESS DENIED";
    QCOMPARE(tool.session.statusText(), status);
    QCOMPARE(statusWhenShown, status); // the box comes after the red status
    QCOMPARE(dialogs.messages.size(), 1);
    const QString remedy = dialogs.messages[0].text;
    QVERIFY2(remedy.contains("sudo usermod -aG ") && remedy.contains(line.device) &&
                 remedy.contains("log in again"),
             qPrintable(remedy));
}

void TestSerialPort::portThisUserMayNotOpenForReal() {
    Line line;
    QVERIFY(QFile::setPermissions(line.device, {}));
    const Unprivileged user;
    QVERIFY(user.active());
    QtSerialPort port(line.device);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port);
    tool.link.READ_CONFIG_Click();
    QCOMPARE(tool.session.statusText(),
             "SERIAL PORT " + line.device + " CANNOT BE OPENED: ACCESS DENIED");
    QCOMPARE(dialogs.messages.size(), 1);
}

void TestSerialPort::openFailuresSayWhatLiesAtThePath_data() {
    QTest::addColumn<QString>("device"); // in the test's folder unless absolute
    QTest::addColumn<QString>("words");
    QTest::newRow("no such device") << "/dev/no-such-serial-port" << "NOT FOUND";
    QTest::newRow("path too long for the system")
        << QString(300, 'x') << "NOT FOUND"; // not "IN USE BY ANOTHER PROGRAM"
    QTest::newRow("device that is no terminal")
        << "/dev/null" << "CANNOT BE OPENED: NOT A SERIAL PORT"; // not "INAPPROPRIATE IOCTL"
    QTest::newRow("regular file") << "file" << "CANNOT BE OPENED: NOT A SERIAL PORT";
    QTest::newRow("folder") << "folder" << "CANNOT BE OPENED: NOT A SERIAL PORT";
}

void TestSerialPort::openFailuresSayWhatLiesAtThePath() {
    QFETCH(QString, device);
    QFETCH(QString, words);
    QTemporaryDir dir;
    if (!device.startsWith('/')) {
        device = dir.filePath(device);
        if (device.endsWith("file")) {
            QFile file(device);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (device.endsWith("folder")) {
            QVERIFY(QDir().mkdir(device));
        }
    }
    QtSerialPort port(device);
    port.setSettings("9600,N,8,1");
    QVERIFY(!port.open());
    QCOMPARE(port.fault().value_or(QString()), "SERIAL PORT " + device + " " + words);
    QVERIFY(!port.faultDetail().isEmpty()); // the system's words, for the trace
}

// Each run appends; a failed open is traced once, with the system's words
// beside the tool's.
void TestSerialPort::traceKeepsEachRunAndTheSystemsReasonOnce() {
    QTemporaryDir dir;
    const QString tracePath = dir.filePath("trace.txt");
    for (int run = 0; run < 2; ++run) {
        LinkTrace trace;
        QString error;
        QVERIFY2(trace.open(tracePath, &error), qPrintable(error));
        QtSerialPort port("/dev/null");
        TracingSerialPort traced(port, trace);
        DialogRecorder dialogs;
        PanelTool tool(dialogs, traced);
        tool.link.setTrace(&trace);
        tool.link.READ_CONFIG_Click();
        QCOMPARE(tool.session.statusText(), "SERIAL PORT /dev/null CANNOT BE OPENED: NOT A SERIAL PORT");
    }
    QFile file(tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QString noted = "SERIAL PORT /dev/null CANNOT BE OPENED: NOT A SERIAL PORT (system: ";
    QCOMPARE(text.count(noted), 2);
    QCOMPARE(text.count("(system: "), 2);
    QCOMPARE(text.count("read started"), 2); // the first run's lines are kept
    QtSerialPort probe("/dev/null");
    probe.setSettings("9600,N,8,1");
    probe.open();
    QVERIFY2(text.contains(noted + probe.faultDetail() + ")"), qPrintable(text));
}

// Read access alone does not make a port usable: the user is told the remedy.
void TestSerialPort::deviceThisUserMayReadButNotWrite() {
    Line line;
    QVERIFY(QFile::setPermissions(line.device, QFile::ReadOwner | QFile::ReadGroup |
                                                   QFile::ReadOther));
    const Unprivileged user;
    QVERIFY(user.active());
    QtSerialPort port(line.device);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port);
    tool.link.READ_CONFIG_Click();
    QCOMPARE(tool.session.statusText(),
             "SERIAL PORT " + line.device + " CANNOT BE OPENED: ACCESS DENIED");
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains("sudo usermod -aG "));
}

void TestSerialPort::remedyNamesTheDevicesGroup_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("named");
    QTest::newRow("the device's own group") << "uucp" << "uucp";
    QTest::newRow("root's group is no remedy") << "root" << "dialout";
    QTest::newRow("tty's group is no remedy") << "tty" << "dialout";
}

void TestSerialPort::remedyNamesTheDevicesGroup() {
    QFETCH(QString, group);
    QFETCH(QString, named);
    const ::group* entry = ::getgrnam(qPrintable(group));
    if (!entry)
        QFAIL(qPrintable("no group " + group + " on this system"));
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyUSB9");
    QFile file(device);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (::chown(qPrintable(device), uid_t(-1), entry->gr_gid) != 0)
        QSKIP("this user may not give the file that group");
    const QString remedy = DeviceAccess::permissionRemedy(device);
    QVERIFY2(remedy.contains("sudo usermod -aG " + named + " $USER"), qPrintable(remedy));
    QVERIFY(remedy.contains("\"" + named + "\""));
}

QTEST_MAIN(TestSerialPort)
#include "tst_serialport.moc"
