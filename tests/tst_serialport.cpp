#include "DialogRecorder.h"
#include "Simulator.h"
#include "ui/PanelTool.h"
#include "link/LinkTexts.h"
#include "link/QtSerialPort.h"

#include <QSerialPort>
#include <QTest>

#include <fcntl.h>
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
    if (geteuid() == 0)
        QSKIP("permissions do not bind root");
    Line line;
    QVERIFY(QFile::setPermissions(line.device, {}));
    QtSerialPort port(line.device);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port);
    tool.link.READ_CONFIG_Click();
    QCOMPARE(tool.session.statusText(),
             "SERIAL PORT " + line.device + " CANNOT BE OPENED: ACCESS DENIED");
    QCOMPARE(dialogs.messages.size(), 1);
}

QTEST_MAIN(TestSerialPort)
#include "tst_serialport.moc"
