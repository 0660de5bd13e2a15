#include "ProgramRun.h"
#include "Simulator.h"
#include "Unprivileged.h"
#include "app/CommandLine.h"
#include "files/ConfigFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <unistd.h>

// The commands for the bench and the site, run as a technician runs them,
// against the panel simulator on a pseudo-terminal.
class TestCommissioning : public QObject {
    Q_OBJECT
private slots:
    void writeThenVerifyAgree();
    void ctrlCStopsAWriteAtItsNextWait();
    void readRefusesANameTheFileCannotHold();
    void readRefusesATargetItCannotSaveTo_data();
    void readRefusesATargetItCannotSaveTo();
    void fileThisUserMayNotRead();
    void repeatProgramsPanelAfterPanel();
    void lostRecordLineEndsWithItsOwnStatus_data();
    void lostRecordLineEndsWithItsOwnStatus();
    void portFailuresEndEachCommandWithEight_data();
    void portFailuresEndEachCommandWithEight();

private:
    QTemporaryDir m_dir;
};

namespace {
using Run = ProgramRun;

Run panelconfig(const QStringList& arguments) {
    return runProgram(arguments);
}

QString lastLine(const QString& text) {
    return text.trimmed().section('\n', -1);
}

// The real 100 ms tick races a busy machine's scheduler, as a slow panel
// would: a run that needs every reply in time gets three tries.
template <typename Scenario> Run inThreeTries(int wanted, Scenario scenario) {
    Run run;
    for (int i = 0; i < 3 && run.status != wanted; ++i)
        run = scenario();
    return run;
}

#define COMPARE_RUN(run, wanted)                                                                   \
    QVERIFY2((run).status == (wanted),                                                             \
             qPrintable(QString("exit %1, stderr:\n%2").arg((run).status).arg((run).err)))
} // namespace

void TestCommissioning::writeThenVerifyAgree() {
    Simulator sim({});
    QVERIFY(sim.started());
    const QString log = m_dir.filePath("site.log");
    const Run write = inThreeTries(ExitStatus::ok, [&] {
        return panelconfig({"write", PANELSIM_DEMO, "--port", sim.device(), "--log", log});
    });
    COMPARE_RUN(write, ExitStatus::ok);
    QVERIFY(write.err.contains("\naddress 24: COMMUNICATIONS OK\n"));
    QCOMPARE(lastLine(write.err), QString("SWITCH PANEL HAS BEEN PROGRAMMED"));

    const Run verify = inThreeTries(ExitStatus::ok, [&] {
        return panelconfig({"verify", PANELSIM_DEMO, "--port", sim.device(), "--log", log});
    });
    COMPARE_RUN(verify, ExitStatus::ok);
    QVERIFY(verify.out.isEmpty());

    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).trimmed().split('\n');
    const QStringList last = lines.last().split('\t');
    // The simulator is a 00-00561; each line says so last.
    QCOMPARE(last.mid(1),
             QStringList({sim.device(), "verify", PANELSIM_DEMO, "agrees", "", "00-00561"}));
    QVERIFY(lines.contains(lines.first().section('\t', 0, 0) + '\t' + sim.device() +
                           "\twrite\t" PANELSIM_DEMO
                           "\tSWITCH PANEL HAS BEEN PROGRAMMED\t\t00-00561"));
}

// A fresh panel holds "N/A" and 100 % everywhere; the demo file does not.
// Ctrl+C in the middle of a write: the write ends at its next wait, the port
// is closed (the panel is free for the next run) and the status says so.
void TestCommissioning::ctrlCStopsAWriteAtItsNextWait() {
    // Replies 10 ms late keep the rest of the write over two seconds long and
    // still well within the tick: Ctrl+C always comes first.
    Simulator sim({"--delay", "10"});
    QVERIFY(sim.started());
    QProcess write;
    write.setReadChannel(QProcess::StandardError);
    write.start(PANELCONFIG_PATH, {"write", PANELSIM_DEMO, "--port", sim.device()});
    QVERIFY(write.waitForStarted());
    QString err;
    QDeadlineTimer deadline(60000);
    while (!err.contains("address 2: ") && !deadline.hasExpired() &&
           write.state() == QProcess::Running) {
        write.waitForReadyRead(1000);
        err += QString::fromLocal8Bit(write.readAllStandardError());
    }
    ::kill(pid_t(write.processId()), SIGINT);
    QVERIFY(write.waitForFinished(30000));
    err += QString::fromLocal8Bit(write.readAllStandardError());
    QCOMPARE(lastLine(err), QString("INTERRUPTED"));
    QCOMPARE(write.exitCode(), ExitStatus::interrupted);
    QVERIFY(!err.contains("address 24:"));
    const Run next = inThreeTries(ExitStatus::differs, [&] {
        return panelconfig({"verify", PANELSIM_DEMO, "--port", sim.device()});
    });
    COMPARE_RUN(next, ExitStatus::differs); // the port was closed; addresses from 3 on are old
}

// Refused before the panel is read, not by the save after it.
void TestCommissioning::readRefusesANameTheFileCannotHold() {
    for (const QStringList& arguments :
         {QStringList{"read", m_dir.filePath("a\"b.zqc")},
          QStringList{"read", m_dir.filePath(".zqc")},
          QStringList{"read", m_dir.filePath("x.zqc"), "--name", QString("\u03A9MEGA")}}) {
        const Run run = panelconfig(arguments + QStringList{"--port", "/dev/null-no-such-port"});
        COMPARE_RUN(run, ExitStatus::usage);
        QVERIFY2(run.err.contains("--name"), qPrintable(run.err));
    }
}

void TestCommissioning::readRefusesATargetItCannotSaveTo_data() {
    QTest::addColumn<QString>("kind"); // what FILE is
    QTest::addColumn<QString>("reason");
    QTest::newRow("text file") << "text"
                               << " exists and is not a configuration file; it is never replaced";
    QTest::newRow("schedule") << "csv"
                              << " exists and is not a configuration file; it is never replaced";
    QTest::newRow("link") << "link"
                          << " is a link; it is never replaced";
    QTest::newRow("no folder") << "nofolder"
                               << ": THE FOLDER DOES NOT EXIST";
    QTest::newRow("closed folder") << "closed"
                                   << ": ACCESS DENIED";
}

// Checked before the panel is read, or the values read would be lost: the
// port named here does not exist, and is never reached.
void TestCommissioning::readRefusesATargetItCannotSaveTo() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    QString file = dir.filePath("LOBBY.zqc");
    const QByteArray before = "\"PANEL NAME\",\"ITEM\"\r\n";
    auto write = [&](const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    };
    if (kind == "text" || kind == "csv")
        write(file);
    else if (kind == "link") {
        write(dir.filePath("elsewhere.txt"));
        QVERIFY(QFile::link(dir.filePath("elsewhere.txt"), file));
    } else if (kind == "nofolder")
        file = dir.filePath("gone/LOBBY.zqc");
    const QStringList prefix = kind == "closed" ? Unprivileged::programPrefix() : QStringList();
    const Run run = runProgram({"read", file, "--port", "/dev/null-no-such-port"}, prefix);
    COMPARE_RUN(run, ExitStatus::fileRefused);
    QCOMPARE(lastLine(run.err), file + reason);
    if (kind == "text" || kind == "link") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
}

// The window says nothing of a file it may not read; a command must not go
// on with an empty configuration.
void TestCommissioning::fileThisUserMayNotRead() {
    // Only the file shuts the user out: its folder is open to all.
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    const QString file = dir.filePath("locked.zqc");
    QVERIFY(QFile::copy(PANELSIM_DEMO, file));
    QVERIFY(QFile::setPermissions(file, {}));
    const Run run = runProgram({"write", file, "--port", "/dev/null-no-such-port"},
                               Unprivileged::programPrefix());
    COMPARE_RUN(run, ExitStatus::fileRefused);
    QCOMPARE(lastLine(run.err), file + ": permission denied");
}

// Two panels come and go on one device path; Ctrl+C while waiting for the
// third ends the run with its summary.
void TestCommissioning::repeatProgramsPanelAfterPanel() {
    const QString link = m_dir.filePath("panel");
    QProcess production;
    production.setReadChannel(QProcess::StandardError);
    production.start(PANELCONFIG_PATH, {"write", PANELSIM_DEMO, "--repeat", "--port", link});
    QVERIFY(production.waitForStarted());
    QString err;
    const auto awaitLine = [&](const QString& line) {
        QDeadlineTimer deadline(60000);
        while (!err.contains(line + '\n') && !deadline.hasExpired()) {
            production.waitForReadyRead(1000);
            err += QString::fromLocal8Bit(production.readAllStandardError());
        }
        return err.contains(line + '\n');
    };
    // A write that a busy machine's scheduler fails (a reply after the tick)
    // counts as a failed panel; the next one is plugged in.
    int programmed = 0, panel = 0;
    while (programmed < 2 && panel < 4) {
        ++panel;
        {
            Simulator sim({"--link", link});
            QVERIFY(sim.started());
            const bool done = awaitLine(QString("unplug panel %1").arg(panel));
            QVERIFY2(done, qPrintable(err));
            programmed += err.contains(QString("\npanel %1: programmed\n").arg(panel));
        } // the simulator stops: the panel is unplugged
        const bool waiting = awaitLine("waiting for the next panel");
        QVERIFY2(waiting, qPrintable(err));
        err.clear();
    }
    ::kill(pid_t(production.processId()), SIGINT);
    QVERIFY(production.waitForFinished(30000));
    err += QString::fromLocal8Bit(production.readAllStandardError());
    QCOMPARE(production.exitStatus(), QProcess::NormalExit);
    QCOMPARE(production.exitCode(), panel == 2 ? ExitStatus::ok : ExitStatus::differs);
    QCOMPARE(lastLine(err), QString("panels programmed: 2, failed: %1").arg(panel - 2));
}

void TestCommissioning::lostRecordLineEndsWithItsOwnStatus_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("repeat"); // else a port that does not open: no panel needed
    QTest::newRow("log") << "--log" << false;
    QTest::newRow("trace") << "--trace" << false;
    QTest::newRow("log in --repeat, after a panel programmed") << "--log" << true;
}

// A full disk, as a file-size limit makes it: said at once, the panel's
// write carried through, then the status of a lost record; --repeat does not
// go on to the next panel.
void TestCommissioning::lostRecordLineEndsWithItsOwnStatus() {
    QFETCH(QString, option);
    QFETCH(bool, repeat);
    QTemporaryDir dir;
    const QString record = dir.filePath("full.log");
    {
        QFile file(record);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x')); // beyond the limit below, in any shell's blocks
    }
    std::optional<Simulator> sim;
    if (repeat) {
        sim.emplace(QStringList{});
        QVERIFY(sim->started());
    }
    const QStringList limited{"sh", "-c", "ulimit -f 4; trap '' XFSZ; exec \"$0\" \"$@\""};
    QStringList arguments{"write", PANELSIM_DEMO, "--port", repeat ? sim->device() : "/dev/null",
                          option,  record};
    if (repeat)
        arguments << "--repeat";
    const Run run = runProgram(arguments, limited);
    COMPARE_RUN(run, ExitStatus::recordLost); // over 8, the port's own status
    const QString what = option == "--log" ? "log" : "trace";
    const QString said = "cannot write the " + what + " file " + record + ": ";
    QVERIFY2(run.err.count(said) == 1, qPrintable(run.err));
    QCOMPARE(lastLine(run.err), "lines are missing from the " + what + " file " + record);
    if (option == "--trace") // the first traced line fails: said before the port's fault
        QVERIFY(run.err.indexOf(said) < run.err.indexOf("NOT A SERIAL PORT"));
    if (repeat) { // the panel's write carried through, no next panel
        QVERIFY2(run.err.contains("\npanel 1: "), qPrintable(run.err));
        QVERIFY(!run.err.contains("unplug panel 1"));
        QVERIFY(run.err.contains("\npanels programmed: "));
    }
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), 8192); // no part of a line
}

// Ctrl+C in the middle of a panel's write ends the run at its next wait,
// counted as neither programmed nor failed. A busy machine may fail the
// write before Ctrl+C (a reply after the tick): that run is tried again.
void TestCommissioning::portFailuresEndEachCommandWithEight_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("remembered"); // the port chosen last in the window
    QTest::addColumn<QString>("device");     // the one the message names
    const QString missing = "/dev/no-such-serial-port";
    QTest::newRow("write") << QStringList{"write", PANELSIM_DEMO, "--port", missing} << QString()
                           << missing;
    QTest::newRow("read") << QStringList{"read", "x.zqc", "--port", missing} << QString()
                          << missing;
    QTest::newRow("verify") << QStringList{"verify", PANELSIM_DEMO, "--port", missing} << QString()
                            << missing;
    QTest::newRow("not a serial port")
        << QStringList{"verify", PANELSIM_DEMO, "--port", "/dev/null"} << QString() << "/dev/null";
    QTest::newRow("the remembered port")
        << QStringList{"write", PANELSIM_DEMO} << "/dev/remembered-port"
        << "/dev/remembered-port";
    QTest::newRow("--port wins over the remembered")
        << QStringList{"verify", PANELSIM_DEMO, "--port", missing} << "/dev/remembered-port"
        << missing;
}

void TestCommissioning::portFailuresEndEachCommandWithEight() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, remembered);
    QFETCH(QString, device);
    QTemporaryDir home;
    if (!remembered.isEmpty()) {
        QSettings settings(home.filePath("Tarnek/panelconfig.conf"), QSettings::IniFormat);
        settings.setValue("link/serialPort", remembered);
    }
    if (arguments.value(1) == "x.zqc")
        arguments[1] = home.filePath("x.zqc");
    const Run run = runProgram(arguments, {}, {"XDG_CONFIG_HOME=" + home.path()});
    COMPARE_RUN(run, ExitStatus::portFault);
    QVERIFY2(lastLine(run.err).startsWith("SERIAL PORT " + device + " "), qPrintable(run.err));
    QVERIFY(!QFile::exists(home.filePath("x.zqc")));
}

// What was read stays on the panel when the file cannot be made; here for a
// name longer than the file system takes, not for a want of access.
QTEST_MAIN(TestCommissioning)
#include "tst_commissioning.moc"
