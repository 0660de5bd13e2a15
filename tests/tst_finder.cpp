#include "FakeSerialPort.h"
#include "Simulator.h"
#include "VirtualClock.h"
#include "cli/FindCommand.h"
#include "link/ForwardingSerialPort.h"
#include "link/PanelFinder.h"
#include "link/PanelProtocol.h"
#include "link/PortHolders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

// Finding the port a panel is on: each port probed with the handshake and
// the identity read only, side by side on one clock, a held port left alone.
class TestFinder : public QObject {
    Q_OBJECT
private slots:
    void probeOfOnePort_data();
    void probeOfOnePort();
    void portsAreProbedSideBySide();
    void findPrintsOneLinePerPanel_data();
    void findPrintsOneLinePerPanel();
    void autoPortChoosesTheOnePanel_data();
    void autoPortChoosesTheOnePanel();
    void lockFileOfALiveProgramHoldsThePort_data();
    void lockFileOfALiveProgramHoldsThePort();
    void lockLeftByAProgramThatClosedThePort_data();
    void lockLeftByAProgramThatClosedThePort();
};

namespace {
using Kind = PanelFinder::Found::Kind;

// Ports by device name, kept by the test so that what was sent and how
// often a port was opened can be looked at after the finder let go.
struct Rig {
    VirtualClock clock;
    std::map<QString, std::unique_ptr<FakeSerialPort>> ports;
    QStringList held;

    FakeSerialPort& add(const QString& device) {
        auto& port = ports[device];
        port = std::make_unique<FakeSerialPort>(clock);
        return *port;
    }
    QList<PanelFinder::Found> probe(const QStringList& devices) {
        PanelFinder::Platform platform;
        platform.port = [this](const QString& device) {
            return std::make_unique<ForwardingSerialPort>(*ports.at(device));
        };
        platform.timer = [this] { return std::make_unique<VirtualTimer>(clock); };
        platform.heldElsewhere = [this](const QString& device) { return held.contains(device); };
        platform.yield = &clock;
        QList<PanelFinder::Candidate> candidates;
        for (const QString& d : devices)
            candidates.append({d, QStringLiteral("adapter of ") + d});
        return PanelFinder(platform).probe(candidates);
    }
};

enum class Setup {
    Answers61,
    Answers67,
    Identity12,
    Silent,
    Garbage,
    SixCharacters,
    WithTheTick,
    GarbledIdentity,
    Busy,
    Held
};

const QByteArray identityRead = PanelProtocol::readCommand(63);

struct Lines {
    QStringList said, table;
    CommandConsole console() {
        return {
            [this](const QString& l) { said << l; }, [this](const QString& l) { table << l; }, {}};
    }
};

PanelFinder::Found found(const QString& device, Kind kind, std::optional<qint16> identity = {}) {
    return {device, QStringLiteral("FT232R USB UART"), kind, identity, {}};
}
} // namespace

void TestFinder::probeOfOnePort_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("opens");

    QTest::newRow("a 00-00561 answers")
        << Setup::Answers61 << Kind::Panel << "00-00561" << QByteArray("A") + identityRead << 1;
    QTest::newRow("a 00-00567 answers")
        << Setup::Answers67 << Kind::Panel << "00-00567" << QByteArray("A") + identityRead << 1;
    QTest::newRow("another identity")
        << Setup::Identity12 << Kind::Panel << "identity 12: not a supported model"
        << QByteArray("A") + identityRead << 1;
    QTest::newRow("silent: six A, nothing else")
        << Setup::Silent << Kind::Silent << QString() << QByteArray("AAAAAA") << 1;
    QTest::newRow("garbage ends the handshake")
        << Setup::Garbage << Kind::Silent << QString() << QByteArray("A") << 1;
    QTest::newRow("D000D and more is no panel")
        << Setup::SixCharacters << Kind::Silent << QString() << QByteArray("A") << 1;
    QTest::newRow("noise in the identity")
        << Setup::GarbledIdentity << Kind::Panel << "identity unreadable: not a supported model"
        << QByteArray("A") + identityRead << 1;
    QTest::newRow("answer completing with the tick")
        << Setup::WithTheTick << Kind::Silent << QString() << QByteArray("A") << 1;
    QTest::newRow("busy when opened")
        << Setup::Busy << Kind::Held << QString() << QByteArray() << 1;
    QTest::newRow("held by another program: never opened")
        << Setup::Held << Kind::Held << QString() << QByteArray() << 0;
}

void TestFinder::probeOfOnePort() {
    QFETCH(Setup, setup);
    QFETCH(Kind, kind);
    QFETCH(QString, model);
    QFETCH(QByteArray, sent);
    QFETCH(int, opens);

    Rig rig;
    FakeSerialPort& port = rig.add("/dev/ttyUSB0");
    switch (setup) {
    case Setup::Answers61:
        break;
    case Setup::Answers67:
        port.panel.setValue(63, 67);
        break;
    case Setup::Identity12:
        port.panel.setValue(63, 12);
        break;
    case Setup::Silent:
        port.connected = false;
        break;
    case Setup::Garbage:
        port.script = {"XYZZY"};
        break;
    case Setup::SixCharacters:
        port.script = {"D000DD"};
        break;
    case Setup::GarbledIdentity:
        port.script = {"D000D", "0X610"};
        break;
    case Setup::WithTheTick:
        port.replyDelayMs = 100; // the reply and the tick arrive in one turn of the loop
        break;
    case Setup::Busy:
        port.refuseOpen =
            QStringLiteral("SERIAL PORT /dev/ttyUSB0 CANNOT BE OPENED: IN USE BY ANOTHER PROGRAM");
        break;
    case Setup::Held:
        rig.held << "/dev/ttyUSB0";
        break;
    }
    const QList<PanelFinder::Found> result = rig.probe({"/dev/ttyUSB0"});
    QCOMPARE(result.size(), 1);
    QCOMPARE(result[0].kind, kind);
    QCOMPARE(result[0].device, QStringLiteral("/dev/ttyUSB0"));
    if (kind == Kind::Panel)
        QCOMPARE(PanelFinder::modelText(result[0]), model);
    QCOMPARE(port.sent, sent);
    QCOMPARE(port.opens, opens);
    QCOMPARE(port.closes, port.opens); // closed after its probe
    QVERIFY(!port.isOpen);
    QVERIFY(port.sentWhileClosed.isEmpty());
}

// Four silent ports and two panels cost the time of one silent probe (six
// handshake ticks), not the sum of the probes.
void TestFinder::portsAreProbedSideBySide() {
    Rig rig;
    QStringList devices;
    for (int i = 0; i < 6; ++i) {
        const QString device = QStringLiteral("/dev/ttyUSB%1").arg(i);
        FakeSerialPort& port = rig.add(device);
        port.connected = i >= 4;
        devices << device;
    }
    rig.ports.at("/dev/ttyUSB5")->panel.setValue(63, 67);
    const int start = rig.clock.now();
    const QList<PanelFinder::Found> result = rig.probe(devices);
    const int elapsed = rig.clock.now() - start;
    QVERIFY2(elapsed <= 6 * 100 + 50, qPrintable(QString::number(elapsed)));
    QCOMPARE(PanelFinder::panels(result), (QStringList{"/dev/ttyUSB4", "/dev/ttyUSB5"}));
    QCOMPARE(PanelFinder::modelText(result[5]), QStringLiteral("00-00567"));
    for (const auto& [device, port] : rig.ports) {
        QCOMPARE(port->closes, 1);
        QCOMPARE(port->sent.count('A'), port->connected ? 1 : 6);
    }
}

void TestFinder::findPrintsOneLinePerPanel_data() {
    QTest::addColumn<QList<PanelFinder::Found>>("found");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("status");

    QTest::newRow("two panels") << QList<PanelFinder::Found>{found("/dev/ttyUSB0", Kind::Panel, 61),
                                                             found("/dev/ttyS0", Kind::Silent),
                                                             found("/dev/ttyUSB1", Kind::Panel, 7)}
                                << QStringList{"/dev/ttyUSB0\t00-00561\tFT232R USB UART",
                                               "/dev/ttyUSB1\tidentity 7: not a supported "
                                               "model\tFT232R USB UART"}
                                << QStringList{} << 0;
    QTest::newRow("none answers, a held port named")
        << QList<PanelFinder::Found>{found("/dev/ttyS0", Kind::Silent),
                                     found("/dev/ttyUSB0", Kind::Held)}
        << QStringList{}
        << QStringList{"/dev/ttyUSB0: skipped, in use by another program",
                       "no panel answered on 2 ports: /dev/ttyS0, /dev/ttyUSB0"}
        << 5;
    QTest::newRow("no port at all") << QList<PanelFinder::Found>{} << QStringList{}
                                    << QStringList{"no serial port to probe"} << 5;
}

void TestFinder::findPrintsOneLinePerPanel() {
    QFETCH(QList<PanelFinder::Found>, found);
    QFETCH(QStringList, table);
    QFETCH(QStringList, said);
    QFETCH(int, status);
    Lines lines;
    QCOMPARE(FindCommand::run(found, lines.console()), status);
    QCOMPARE(lines.table, table);
    QCOMPARE(lines.said, said);
}

void TestFinder::autoPortChoosesTheOnePanel_data() {
    QTest::addColumn<QList<PanelFinder::Found>>("found");
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");

    QTest::newRow("one") << QList<PanelFinder::Found>{found("/dev/ttyS0", Kind::Silent),
                                                      found("/dev/ttyUSB0", Kind::Panel, 61)}
                         << "/dev/ttyUSB0" << 0 << "--port auto: the panel is on /dev/ttyUSB0";
    QTest::newRow("several: usage, named")
        << QList<PanelFinder::Found>{found("/dev/ttyUSB0", Kind::Panel, 61),
                                     found("/dev/ttyUSB1", Kind::Panel, 67)}
        << QString() << 2
        << "--port auto: panels answer on /dev/ttyUSB0, /dev/ttyUSB1; choose one with --port "
           "DEVICE";
    QTest::newRow("none") << QList<PanelFinder::Found>{found("/dev/ttyS0", Kind::Silent)}
                          << QString() << 5 << "--port auto: no panel answered on any serial port";
}

void TestFinder::autoPortChoosesTheOnePanel() {
    QFETCH(QList<PanelFinder::Found>, found);
    QFETCH(QString, device);
    QFETCH(int, status);
    QFETCH(QString, said);
    Lines lines;
    const FindCommand::Choice choice = FindCommand::choose(found, lines.console());
    QCOMPARE(choice.device, device);
    QCOMPARE(choice.exitStatus, status);
    QCOMPARE(lines.said.last(), said);
}

void TestFinder::lockFileOfALiveProgramHoldsThePort_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("device"); // one lock, LCK..ttyUSB7, in every row

    const QByteArray parent = QByteArray::number(qint64(QCoreApplication::applicationPid())) + "\n";
    QTest::newRow("a live program (the init process)")
        << QByteArray("      1\n") << true << "/dev/ttyUSB7";
    QTest::newRow("another device's lock") << QByteArray("      1\n") << false << "/dev/ttyUSB8";
    QTest::newRow("our own lock") << parent << false << "/dev/ttyUSB7";
    QTest::newRow("a stale lock") << QByteArray("2147483000\n") << false << "/dev/ttyUSB7";
    QTest::newRow("unreadable content") << QByteArray("garbage") << false << "/dev/ttyUSB7";
}

void TestFinder::lockFileOfALiveProgramHoldsThePort() {
    QFETCH(QByteArray, content);
    QFETCH(bool, held);
    QFETCH(QString, device);
    QTemporaryDir locks;
    QFile lock(locks.filePath("LCK..ttyUSB7"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(content);
    lock.close();
    QCOMPARE(PortHolders::heldByAnotherProgram(device, {locks.path()}), held);
}

void TestFinder::lockLeftByAProgramThatClosedThePort_data() {
    QTest::addColumn<bool>("open"); // the lock's program has the device open
    QTest::newRow("still open: held") << true;
    QTest::newRow("closed, the lock left behind: free") << false;
}

// A program that closed a device without removing its lock (or one whose
// number another program now has) must not hide a panel for good.
void TestFinder::lockLeftByAProgramThatClosedThePort() {
#ifndef Q_OS_LINUX
    QSKIP("the descriptors of a process are read from /proc");
#else
    QFETCH(bool, open);
    Simulator sim({});
    QVERIFY(sim.started());
    QProcess program;
    if (open)
        program.setStandardInputFile(sim.device());
    program.start("sleep", {"30"});
    QVERIFY(program.waitForStarted());
    QTemporaryDir locks;
    const QString name = QFileInfo(sim.device()).canonicalFilePath().mid(5).replace('/', '_');
    QFile lock(locks.filePath("LCK.." + name));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(program.processId()) + "\nsleep\n");
    lock.close();
    QCOMPARE(PortHolders::heldByAnotherProgram(sim.device(), {locks.path()}), open);
    program.kill();
    program.waitForFinished();
#endif
}

QTEST_GUILESS_MAIN(TestFinder)
#include "tst_finder.moc"
