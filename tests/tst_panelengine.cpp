#include "FaultTarget.h"
#include "PanelEngine.h"
#include "SimOptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using Kind = PanelCommand::Kind;

namespace {
const QByteArray handshake = QByteArrayLiteral("A");
QByteArray writeCommand(int address, int value) {
    return QByteArray("S") + char(0) + char(address) + char(0) + char(value) + 'D';
}
QByteArray readCommand(int address) {
    return QByteArray("V") + char(0) + char(address) + "00V";
}

// The engine's answer to each command, fed one command at a time; "HUP" for a hang-up.
QList<QByteArray> talk(PanelEngine& engine, const QList<QByteArray>& commands) {
    QList<QByteArray> answers;
    for (const QByteArray& c : commands) {
        QByteArray answer;
        for (const PanelEngine::Reply& r : engine.receive(c))
            answer += r.hangUp ? QByteArray("HUP") : r.bytes;
        answers.append(answer);
    }
    return answers;
}

QByteArray allReplies(const std::vector<PanelEngine::Reply>& replies) {
    QByteArray all;
    for (const PanelEngine::Reply& r : replies)
        all += r.bytes;
    return all;
}

// A client of the simulated device that uses nothing of the tool's own code.
class RawDevice {
public:
    explicit RawDevice(const QByteArray& path) : m_fd(::open(path, O_RDWR | O_NOCTTY)) {
        termios tio{};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~RawDevice() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    // Sends a command and collects up to `count` bytes within the time given.
    QByteArray exchange(const QByteArray& command, int count = 5, int withinMs = 1000) {
        if (::write(m_fd, command.constData(), size_t(command.size())) != command.size())
            return "write failed";
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count && clock.elapsed() < withinMs) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN))
                continue;
            char buffer[64];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return got + "<closed>";
            got.append(buffer, n);
        }
        return got;
    }

private:
    int m_fd;
};

QByteArray startSimulator(QProcess& sim, const QStringList& arguments) {
    sim.start(QStringLiteral(PANELSIM_PATH), arguments);
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return {};
    return sim.readLine().trimmed();
}
} // namespace

class TestPanelEngine : public QObject {
    Q_OBJECT
private slots:
    void readReplyFormat_data();
    void readReplyFormat();
    void freshPanelAndWriteBack();
    void splitOrJoinedCommands_data();
    void splitOrJoinedCommands();
    void resynchronises_data();
    void resynchronises();
    void faults_data();
    void faults();
    void faultTarget_data();
    void faultTarget();
    void options_data();
    void options();
    void optionValues();
    void programRoundTrip();
    void programLosesRepliesWhileClosed();
    void programHangsUp();
};

void TestPanelEngine::readReplyFormat_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("not assigned") << 160 << QByteArray("01600");
    QTest::newRow("zero") << 0 << QByteArray("00000");
    QTest::newRow("one") << 1 << QByteArray("00010");
    QTest::newRow("D8") << 37 << QByteArray("00370");
    QTest::newRow("negative") << -5 << QByteArray("-0050");
    QTest::newRow("most negative in five") << -999 << QByteArray("-9990");
    QTest::newRow("largest in five") << 9999 << QByteArray("99990");
    QTest::newRow("six characters") << 10000 << QByteArray("100000");
    QTest::newRow("int max") << INT_MAX << QByteArray("21474836470");
    QTest::newRow("int min") << INT_MIN << QByteArray("-21474836480");
}

void TestPanelEngine::readReplyFormat() {
    QFETCH(int, value);
    QFETCH(QByteArray, reply);
    PanelEngine engine;
    engine.setValue(9, value);
    QCOMPARE(talk(engine, {readCommand(9)}), QList<QByteArray>{reply});
}

void TestPanelEngine::freshPanelAndWriteBack() {
    PanelEngine engine;
    QCOMPARE(talk(engine, {handshake, readCommand(0), readCommand(21), readCommand(22),
                           readCommand(24), readCommand(63)}),
             (QList<QByteArray>{"D000D", "01600", "01600", "00100", "00100", "00610"}));
    QCOMPARE(talk(engine, {writeCommand(20, 37), readCommand(20), writeCommand(21, 160)}),
             (QList<QByteArray>{"D000D", "00370", "D000D"}));
    QCOMPARE(engine.value(20), 37);
    QCOMPARE(int(engine.commands().size()), 9);
    QCOMPARE(engine.commands().at(6), (PanelCommand{Kind::Write, 20, 37}));
    QCOMPARE(engine.commands().at(7), (PanelCommand{Kind::Read, 20, 0}));
    QCOMPARE(engine.commands().at(0), (PanelCommand{Kind::Handshake, -1, 0}));

    // Nothing lies beyond the memory: understood, not stored, not answered.
    QCOMPARE(talk(engine, {writeCommand(64, 1), readCommand(200)}), (QList<QByteArray>{"", ""}));
    QCOMPARE(engine.commands().last(), (PanelCommand{Kind::Read, 200, 0}));
}

void TestPanelEngine::splitOrJoinedCommands_data() {
    QTest::addColumn<int>("chunk");
    for (int n : {1, 2, 3, 4, 5, 6, 7, 11, 100})
        QTest::addRow("%d bytes a chunk", n) << n;
}

void TestPanelEngine::splitOrJoinedCommands() {
    QFETCH(int, chunk);
    // Address and value bytes that look like command letters must not start a
    // command (a read at 'A' lies beyond the memory and goes unanswered).
    const QByteArray stream = handshake + writeCommand(3, 'V') + readCommand(3) +
                              writeCommand(0, 'S') + readCommand('A') + handshake;
    PanelEngine engine;
    QByteArray replies;
    for (qsizetype at = 0; at < stream.size(); at += chunk)
        replies += allReplies(engine.receive(QByteArrayView(stream).sliced(at).first(
            std::min<qsizetype>(chunk, stream.size() - at))));
    QCOMPARE(replies, QByteArray("D000D") + "D000D" + "00860" + "D000D" + "D000D");
    QCOMPARE(engine.value(0), int('S'));
    QCOMPARE(engine.commands().at(4), (PanelCommand{Kind::Read, 'A', 0}));
    QCOMPARE(engine.received(), stream);
    QCOMPARE(int(engine.commands().size()), 6);
}

void TestPanelEngine::resynchronises_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("replies");
    QTest::addColumn<int>("commands");
    QTest::newRow("noise before") << QByteArray("xyz\xff\x00", 5) + handshake << QByteArray("D000D")
                                  << 1;
    QTest::newRow("noise between")
        << readCommand(0) + "\r\n" + readCommand(63) << QByteArray("0160000610") << 2;
    QTest::newRow("write with high address byte")
        << QByteArray("S\x01\x05\x00\x05") + "D" + handshake << QByteArray("D000D") << 1;
    QTest::newRow("write without its D")
        << QByteArray("S\x00\x05\x00\x05X", 6) + handshake << QByteArray("D000D") << 1;
    QTest::newRow("read with bytes 00")
        << QByteArray("V\x00\x05\x00\x00V", 6) + readCommand(63) << QByteArray("00610") << 1;
    QTest::newRow("broken read then a read")
        << QByteArray("V\x00", 2) + readCommand(5) << QByteArray("01600") << 1;
    QTest::newRow("unfinished read stays pending") << readCommand(5).first(5) << QByteArray() << 0;
}

void TestPanelEngine::resynchronises() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, replies);
    QFETCH(int, commands);
    PanelEngine engine;
    QCOMPARE(allReplies(engine.receive(bytes)), replies);
    QCOMPARE(int(engine.commands().size()), commands);
    QCOMPARE(engine.value(5), 160);
}

void TestPanelEngine::faults_data() {
    QTest::addColumn<PanelFaults>("faults");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QList<QByteArray>>("answers");
    const QList<QByteArray> session = {handshake, writeCommand(5, 37), readCommand(5),
                                       readCommand(63)};
    auto with = [](auto change) {
        PanelFaults f;
        change(f);
        return f;
    };

    QTest::newRow("handshake from the third")
        << with([](PanelFaults& f) { f.answerHandshakeFrom = 3; })
        << QList<QByteArray>{handshake, readCommand(5), handshake, handshake, handshake}
        << QList<QByteArray>{"", "01600", "", "D000D", "D000D"};
    QTest::newRow("garbled at 5") << with([](PanelFaults& f) {
        f.garbled = FaultTarget::address(5);
    }) << session << QList<QByteArray>{"D000D", "D0?0D", "0X370", "00610"};
    QTest::newRow("extra after handshake and read at 5")
        << with([](PanelFaults& f) { f.extraChar = *FaultTarget::parse(u"handshake,read:5"); })
        << session << QList<QByteArray>{"D000DX", "D000D", "00370X", "00610"};
    QTest::newRow("short and extra together") << with([](PanelFaults& f) {
        f.shortReply = FaultTarget::reads(63, 63);
        f.extraChar = FaultTarget::reads(63, 63);
    }) << session << QList<QByteArray>{"D000D", "D000D", "00370", "006X"};
    QTest::newRow("hang-up on the third command")
        << with([](PanelFaults& f) { f.hangUpAfter = 3; }) << session
        << QList<QByteArray>{"D000D", "D000D", "HUP", ""};
}

void TestPanelEngine::faults() {
    QFETCH(PanelFaults, faults);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QList<QByteArray>, answers);
    PanelEngine engine(faults);
    QCOMPARE(talk(engine, commands), answers);
    // Whatever went wrong with the reply, a write that arrived is stored.
    if (commands.contains(writeCommand(5, 37)))
        QCOMPARE(engine.value(5), 37);
    QCOMPARE(engine.hungUp(), faults.hangUpAfter > 0);
    QCOMPARE(int(engine.commands().size()),
             faults.hangUpAfter > 0 ? faults.hangUpAfter : int(commands.size()));
}

void TestPanelEngine::faultTarget_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    // Handshake, read 5, write 5, read 9.
    QTest::addColumn<QString>("matches");
    QTest::newRow("handshake") << "handshake" << true << "H...";
    QTest::newRow("address") << "5" << true << ".RW.";
    QTest::newRow("reads at 5") << "read:5" << true << ".R..";
    QTest::newRow("all writes") << "write:all" << true << "..W.";
    QTest::newRow("range") << "4-9" << true << ".RWR";
    QTest::newRow("list") << "read:all, handshake" << true << "HR.R";
    QTest::newRow("all") << "all" << true << ".RWR";
    for (const char* bad : {"", "foo", "read:", "7-3", "256", "-1", "5,", "write:x", "5-"})
        QTest::addRow("bad %s", bad) << bad << false << "";
}

void TestPanelEngine::faultTarget() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, matches);
    const auto target = FaultTarget::parse(text);
    QCOMPARE(target.has_value(), valid);
    if (!target)
        return;
    QString seen;
    seen += target->matches({Kind::Handshake}) ? u'H' : u'.';
    seen += target->matches({Kind::Read, 5}) ? u'R' : u'.';
    seen += target->matches({Kind::Write, 5, 1}) ? u'W' : u'.';
    seen += target->matches({Kind::Read, 9}) ? u'R' : u'.';
    QCOMPARE(seen, matches);
}

void TestPanelEngine::options_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    // Answers to a handshake, a write of 37 at 5, reads of 5 and 63.
    QTest::addColumn<QList<QByteArray>>("answers");
    auto valid = [](const char* name, const QStringList& arguments, QList<QByteArray> answers) {
        QTest::newRow(name) << arguments << true << answers;
    };
    auto invalid = [](const char* name, const QStringList& arguments) {
        QTest::newRow(name) << arguments << false << QList<QByteArray>{};
    };
    valid("nothing", {}, {"D000D", "D000D", "00370", "00610"});
    valid("help", {"--help"}, {"D000D", "D000D", "00370", "00610"});
    valid("silent", {"--silent"}, {"", "", "", ""});
    valid("handshake from the second", {"--answer-handshake-from", "2"},
          {"", "D000D", "00370", "00610"});
    valid("no reply", {"--no-reply", "write:5"}, {"D000D", "", "00370", "00610"});
    valid("no reply, repeated", {"--no-reply", "5", "--no-reply", "handshake"},
          {"", "", "", "00610"});
    valid("short reply", {"--short-reply", "read:all"}, {"D000D", "D000D", "003", "006"});
    valid("garble", {"--garble", "handshake"}, {"D0?0D", "D000D", "00370", "00610"});
    valid("extra char", {"--extra-char", "63"}, {"D000D", "D000D", "00370", "00610X"});
    valid("hang-up", {"--hang-up-after", "2"}, {"D000D", "HUP", "", ""});
    invalid("set beyond the memory", {"--set", "64=1"});
    invalid("set without value", {"--set", "5"});
    invalid("set of a word", {"--set", "5=x"});
    invalid("identity of a word", {"--identity", "x"});
    invalid("handshake from zero", {"--answer-handshake-from", "0"});
    invalid("hang-up after zero", {"--hang-up-after", "0"});
    invalid("negative delay", {"--delay", "-5"});
    invalid("delay nowhere", {"--delay", "10@nowhere"});
    invalid("garble nowhere", {"--garble", "x"});
    invalid("unknown option", {"--bogus"});
    invalid("stray argument", {"61"});
}

void TestPanelEngine::options() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(QList<QByteArray>, answers);
    const SimOptions o = SimOptions::parse(QStringList{"panelsim"} + arguments);
    QCOMPARE(o.error.isEmpty(), valid);
    if (!valid)
        return;
    PanelEngine engine(o.faults);
    QCOMPARE(talk(engine, {handshake, writeCommand(5, 37), readCommand(5), readCommand(63)}),
             answers);
}

void TestPanelEngine::optionValues() {
    const SimOptions o = SimOptions::parse({"panelsim", "--identity", "-3", "--set", "5=200",
                                            "--set", "5=-1", "--delay", "250@read:5", "--delay",
                                            "10", "--config", "a.zqc", "--log", "b.log"});
    QVERIFY2(o.error.isEmpty(), qPrintable(o.error));
    QCOMPARE(o.identity, std::optional(-3));
    QCOMPARE(o.sets, (QList<std::pair<int, int>>{{5, 200}, {5, -1}}));
    QCOMPARE(o.configPath, QStringLiteral("a.zqc"));
    QCOMPARE(o.logPath, QStringLiteral("b.log"));
    QVERIFY(!o.verbose);
    PanelEngine engine(o.faults);
    const auto replies = engine.receive(handshake + readCommand(5) + writeCommand(5, 1));
    QCOMPARE(replies.size(), size_t(3));
    QCOMPARE(replies[0].delayMs, 10);
    QCOMPARE(replies[1].delayMs, 260);
    QCOMPARE(replies[2].delayMs, 10);
}

void TestPanelEngine::programRoundTrip() {
    QTemporaryDir dir;
    const QString logPath = dir.filePath("sim.log");
    QProcess sim;
    const QByteArray device = startSimulator(
        sim, {"--config", PANELSIM_DEMO, "--set", "5=-5", "--identity", "67", "--log", logPath});
    QVERIFY2(device.startsWith("/dev/"), device.constData());

    {
        RawDevice line(device);
        QVERIFY(line.isOpen());
        QCOMPARE(line.exchange(handshake), QByteArray("D000D"));
        QCOMPARE(line.exchange(readCommand(63)), QByteArray("00670"));
        QCOMPARE(line.exchange(readCommand(5)), QByteArray("-0050"));
        // The demo file's SW8 is C4; it keeps indicator 90 % before backlighting 70 %.
        QCOMPARE(line.exchange(readCommand(7)), QByteArray("00230"));
        QCOMPARE(line.exchange(readCommand(22)), QByteArray("00050"));
        QCOMPARE(line.exchange(readCommand(23)), QByteArray("00070"));
        QCOMPARE(line.exchange(writeCommand(24, 1)), QByteArray("D000D"));
    }
    // The tool opens the port afresh for every transaction.
    {
        RawDevice line(device);
        QVERIFY(line.isOpen());
        QCOMPARE(line.exchange(readCommand(24)), QByteArray("00010"));
    }

    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QCOMPARE(sim.readAllStandardOutput(), QByteArray()); // only the device line without --verbose

    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (const char* expected : {"rx 41", "handshake", "tx D000D", "rx 56 00 3f 30 30 56",
                                 "read 63", "tx 00670", "write 24 1", "tx -0050"})
        QVERIFY2(lines.contains(expected), expected);
    QVERIFY(lines.indexOf("handshake") < lines.indexOf("read 63"));
}

// A reply that comes after the client closed the port must not greet its next opening.
void TestPanelEngine::programLosesRepliesWhileClosed() {
    QTemporaryDir dir;
    const QString logPath = dir.filePath("sim.log");
    QProcess sim;
    const QByteArray device = startSimulator(sim, {"--delay", "300@read:5", "--log", logPath});
    QVERIFY2(device.startsWith("/dev/"), device.constData());
    {
        RawDevice line(device);
        QVERIFY(line.isOpen());
        QCOMPARE(line.exchange(readCommand(5), 5, 50), QByteArray());
    }
    QThread::msleep(400);
    RawDevice line(device);
    QVERIFY(line.isOpen());
    QCOMPARE(line.exchange(handshake, 6, 300), QByteArray("D000D"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().split('\n').contains("tx lost, device closed: 01600"));
}

void TestPanelEngine::programHangsUp() {
    QProcess sim;
    const QByteArray device = startSimulator(sim, {"--hang-up-after", "2"});
    QVERIFY2(device.startsWith("/dev/"), device.constData());
    RawDevice line(device);
    QVERIFY(line.isOpen());
    QCOMPARE(line.exchange(handshake), QByteArray("D000D"));
    QCOMPARE(line.exchange(readCommand(63)), QByteArray("<closed>"));
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestPanelEngine)
#include "tst_panelengine.moc"
