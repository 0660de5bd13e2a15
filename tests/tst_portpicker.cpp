#include "Harness.h"
#include "link/ForwardingSerialPort.h"
#include "link/PortNames.h"
#include "link/PortsAhead.h"

#include <atomic>
#include <map>
#include <memory>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// The serial port picker: what it offers, what it remembers, and that the
// transactions use what it shows.
class TestPortPicker : public QObject {
    Q_OBJECT
private slots:
    void offersTheSystemsPortsAndTheFixedOnes();
    void aPortPluggedInAppearsWhenTheListOpens();
    void aTypedDeviceIsUsedAndRemembered();
    void aDeviceIsRememberedOnlyOnceItOpened();
    void anEmptyBoxIsRefused();
    void commandLinePortWinsForThatRunOnly();
    void heldStillDuringATransaction();
    void findPanelMarksThePortsAPanelAnswersOn();
    void aListReadAheadIsShownAtOnceAndReadAfreshLater();
    void aListReadAheadAndNeverUsedIsWaitedFor();

private:
    QTemporaryDir m_dir;
    QString iniFile() const { return m_dir.filePath("settings.ini"); }
};

namespace {
QList<PortNames::Port> ports;

struct PickerHarness : Harness {
    PickerHarness(Settings& settings, const QString& commandLinePort = {}) {
        tool.addPortPicker(settings, commandLinePort, [] { return ports; });
    }
    PortPicker& picker() { return *tool.picker; }
    QStringList entries() {
        QStringList all;
        for (int i = 0; i < picker().count(); ++i)
            all << picker().itemText(i);
        return all;
    }
    void type(const QString& device) {
        picker().lineEdit()->selectAll();
        QTest::keyClicks(picker().lineEdit(), device);
    }
};
} // namespace

void TestPortPicker::offersTheSystemsPortsAndTheFixedOnes() {
    ports = {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyACM0", ""}};
    Settings settings(iniFile());
    PickerHarness h(settings, "/dev/pts/7");
    QCOMPARE(h.entries(), QStringList({"/dev/pts/7", "/dev/ttyACM0", PortNames::numbered(1),
                                       "ttyUSB0 \u2013 FT232R USB UART", "FIND PANEL"}));
    QCOMPARE(h.picker().device(), QString("/dev/pts/7"));
    QCOMPARE(h.form().textBox(2)->nextInFocusChain(), &h.picker()); // Tab from the panel name
    // The lighting view's controls, built once it is first shown, go before
    // the panel name and leave the picker after it.
    h.session().Option2_Click();
    QWidget* afterLast = h.form().list(46)->nextInFocusChain(); // past its scroll bars
    while (!(afterLast->focusPolicy() & Qt::TabFocus))
        afterLast = afterLast->nextInFocusChain();
    QCOMPARE(afterLast, h.form().textBox(2));
    QCOMPARE(h.form().textBox(2)->nextInFocusChain(), &h.picker());
    QCOMPARE(h.picker().accessibleName(), QString("SERIAL PORT"));
    h.picker().setCurrentIndex(3);
    QCOMPARE(h.picker().device(), QString("/dev/ttyUSB0")); // the adapter's name is not sent
}

void TestPortPicker::aPortPluggedInAppearsWhenTheListOpens() {
    ports = {};
    Settings settings(iniFile());
    PickerHarness h(settings);
    QCOMPARE(h.entries(), QStringList({PortNames::numbered(1), "FIND PANEL"}));
    ports = {{"/dev/ttyUSB3", "CP2102"}};
    QCOMPARE(h.picker().count(), 2); // nothing polls meanwhile
    h.picker().showPopup();
    QVERIFY(h.entries().contains("ttyUSB3 \u2013 CP2102"));
    QCOMPARE(h.picker().device(), PortNames::numbered(1)); // the choice stays
    h.picker().hidePopup();
}

void TestPortPicker::aTypedDeviceIsUsedAndRemembered() {
    ports = {};
    QFile::remove(iniFile());
    {
        Settings settings(iniFile());
        PickerHarness h(settings);
        QCOMPARE(h.picker().device(), PortNames::numbered(1)); // nothing remembered yet
        h.type("/dev/serial/by-id/usb-FTDI-if00");
        h.form().findChild<QPushButton*>("READ_CONFIG")->click();
        QCOMPARE(h.port.namedDevice, QString("/dev/serial/by-id/usb-FTDI-if00"));
    }
    Settings settings(iniFile());
    PickerHarness restarted(settings);
    QCOMPARE(restarted.picker().device(), QString("/dev/serial/by-id/usb-FTDI-if00"));
}

// Typing is not choosing: what the next start shows is the last device a
// transaction could open, not a half-typed path or one that would not open.
void TestPortPicker::aDeviceIsRememberedOnlyOnceItOpened() {
    ports = {};
    QFile::remove(iniFile());
    Settings settings(iniFile());
    PickerHarness h(settings);
    h.type("/dev/ttyUSB");
    QCOMPARE(settings.serialPort(), QString()); // typed, never used
    h.port.refuseOpen = "SERIAL PORT /dev/ttyUSB NOT FOUND";
    h.form().findChild<QPushButton*>("READ_CONFIG")->click();
    QCOMPARE(settings.serialPort(), QString()); // used, but it would not open
    h.type("/dev/ttyUSB0");
    h.port.refuseOpen.reset();
    h.form().findChild<QPushButton*>("READ_CONFIG")->click();
    QCOMPARE(settings.serialPort(), QString("/dev/ttyUSB0"));
}

void TestPortPicker::anEmptyBoxIsRefused() {
    ports = {};
    Settings settings(iniFile());
    PickerHarness h(settings);
    h.type("  ");
    h.assignAll();
    h.form().findChild<QPushButton*>("WRITE_CONFIG")->click();
    QCOMPARE(h.port.opens, 0);
    QVERIFY(h.port.sent.isEmpty());
    QCOMPARE(h.session().statusText(),
             QString("NO SERIAL PORT CHOSEN: A DEVICE MUST BE CHOSEN IN THE SERIAL PORT BOX"));
    QCOMPARE(h.session().statusColour(), ConfigScreen::StatusColour::Red);
    QVERIFY(h.form().statusBox()->isVisible() || !h.form().isVisible());
}

void TestPortPicker::commandLinePortWinsForThatRunOnly() {
    ports = {};
    QFile::remove(iniFile());
    Settings settings(iniFile());
    settings.setSerialPort("/dev/ttyUSB1");
    {
        PickerHarness h(settings, "/dev/pts/4");
        QCOMPARE(h.picker().device(), QString("/dev/pts/4"));
        h.form().findChild<QPushButton*>("READ_CONFIG")->click();
        QCOMPARE(h.port.namedDevice, QString("/dev/pts/4"));
    }
    PickerHarness next(settings);
    QCOMPARE(next.picker().device(), QString("/dev/ttyUSB1"));
}

void TestPortPicker::heldStillDuringATransaction() {
    ports = {};
    Settings settings(iniFile());
    PickerHarness h(settings, "/dev/pts/4");
    bool enabledDuring = true;
    h.clock.after(50, [&] { enabledDuring = h.picker().isEnabled(); });
    h.form().findChild<QPushButton*>("READ_CONFIG")->click();
    QVERIFY(!enabledDuring);
    QVERIFY(h.picker().isEnabled());
    QCOMPARE(h.port.namedDevice, QString("/dev/pts/4"));
}

// FIND PANEL probes the listed ports on fakes and marks the panels' ports;
// the choice shown stays until the user picks one of them.
void TestPortPicker::findPanelMarksThePortsAPanelAnswersOn() {
    ports = {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyUSB1", "CP2102"}};
    QFile::remove(iniFile());
    Settings settings(iniFile());
    Harness h;
    std::map<QString, std::unique_ptr<FakeSerialPort>> fakes;
    for (const QString& device :
         {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"), PortNames::numbered(1)}) {
        fakes[device] = std::make_unique<FakeSerialPort>(h.clock);
        fakes[device]->connected = device == "/dev/ttyUSB1";
    }
    fakes["/dev/ttyUSB1"]->panel.setValue(63, 67);
    PanelFinder::Platform finding;
    finding.port = [&fakes](const QString& device) {
        return std::make_unique<ForwardingSerialPort>(*fakes.at(device));
    };
    finding.timer = [&h] { return std::make_unique<VirtualTimer>(h.clock); };
    finding.heldElsewhere = [](const QString& device) { return device == "/dev/ttyUSB0"; };
    finding.yield = &h.clock;
    h.tool.addPortPicker(
        settings, {}, [] { return ports; }, finding);
    PortPicker& picker = *h.tool.picker;
    const int find = picker.count() - 1;
    QCOMPARE(picker.itemText(find), PortPicker::findEntry);
    picker.setCurrentIndex(find);
    emit picker.activated(find);
    picker.hidePopup();
    QCOMPARE(picker.device(), PortNames::numbered(1)); // still the one shown before
    QCOMPARE(picker.itemText(1), QStringLiteral("ttyUSB0 \u2013 FT232R USB UART \u2013 IN USE BY "
                                                "ANOTHER PROGRAM"));
    QCOMPARE(picker.itemText(2), QStringLiteral("ttyUSB1 \u2013 CP2102 \u2013 PANEL 00-00567"));
    QCOMPARE(fakes["/dev/ttyUSB0"]->opens, 0);
    QVERIFY(!h.session().transactionRunning());
    picker.setCurrentIndex(2);
    emit picker.activated(2);
    QCOMPARE(picker.device(), QStringLiteral("/dev/ttyUSB1"));
    h.tool.link.READ_CONFIG_Click();
    QCOMPARE(h.tool.link.lastOutcome(), PanelLink::Outcome::Done);
}

// The window's start reads the ports on a thread of its own; the picker must
// still show the adapter by its name from the start, and the list it opens
// later is read then, not the one from the start.
void TestPortPicker::aListReadAheadIsShownAtOnceAndReadAfreshLater() {
    std::atomic<int> reads = 0;
    std::atomic<QThread*> firstReadOn = nullptr;
    PortNames::Enumeration enumerate = [&] {
        const int n = ++reads;
        if (n == 1)
            firstReadOn = QThread::currentThread();
        return QList<PortNames::Port>{{QString("/dev/ttyUSB%1").arg(n - 1), "FT232R USB UART"}};
    };
    QFile::remove(iniFile());
    Settings settings(iniFile());
    settings.setSerialPort("/dev/ttyUSB0");
    Harness h;
    h.tool.addPortPicker(settings, {}, PortNames::ahead(enumerate));
    QCOMPARE(reads.load(), 1);
    QVERIFY(firstReadOn.load() != QThread::currentThread());
    QCOMPARE(h.tool.picker->currentText(), QString("ttyUSB0 \u2013 FT232R USB UART"));
    QCOMPARE(h.tool.picker->device(), QString("/dev/ttyUSB0"));

    h.tool.picker->showPopup();
    QCOMPARE(reads.load(), 2);
    QVERIFY(h.tool.picker->findText("ttyUSB1 \u2013 FT232R USB UART") >= 0);
    QCOMPARE(h.tool.picker->device(), QString("/dev/ttyUSB0")); // unplugged since: kept, as typed
    h.tool.picker->hidePopup();
}

// A window that never got as far as its picker (no display, a refused
// --port) ends only once the read has: it uses what the read captured.
void TestPortPicker::aListReadAheadAndNeverUsedIsWaitedFor() {
    auto finished = std::make_unique<std::atomic<bool>>(false);
    {
        const PortNames::Enumeration unused = PortNames::ahead([flag = finished.get()] {
            QThread::msleep(50); // still reading when the enumeration is dropped
            *flag = true;
            return QList<PortNames::Port>{};
        });
    }
    QVERIFY(finished->load());
    QVERIFY(!PortNames::ahead({})); // nothing to read: nothing started
}

QTEST_MAIN(TestPortPicker)
#include "tst_portpicker.moc"
