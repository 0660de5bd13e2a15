// Start-up and memory of the program, for comparing two builds on one
// machine in one run. Prints, for the program named (default: this build's):
//   - `--version`: median wall time over the runs;
//   - a command, `write FILE`: from the process start to the first byte on
//     the line (the handshake's "A" in the trace), median over the runs, and
//     its peak resident memory;
//   - with a display (DISPLAY set), the window: from the process start to
//     its being mapped, beside a bare Qt window of the same size, and its
//     resident memory once shown.
//   startbench [PANELCONFIG [runs]]

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {
double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Kilobytes resident now (VmRSS) or at the peak (VmHWM).
long memoryKb(qint64 pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').first().toLong();
    return 0;
}

double versionMs(const QString& program) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, {"--version"});
    p.waitForFinished();
    return double(t.nsecsElapsed()) / 1e6;
}

struct CommandRun {
    double firstByteMs = 0;
    long peakKb = 0;
};

// The simulated panel answers; the trace time-stamps the first byte sent.
CommandRun commandRun(const QString& program, const QTemporaryDir& dir) {
    QProcess sim;
    sim.start(PANELSIM_PATH, {"--config", PANELSIM_DEMO});
    sim.waitForReadyRead();
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    const QString trace = dir.filePath("trace.txt");
    QFile::remove(trace);
    QProcess p;
    const QDateTime started = QDateTime::currentDateTime();
    p.start(program, {"write", PANELSIM_DEMO, "--port", device, "--trace", trace});
    p.waitForStarted();
    CommandRun run;
    while (!p.waitForFinished(20))
        run.peakKb = std::max(run.peakKb, memoryKb(p.processId(), "VmHWM:"));
    sim.terminate();
    sim.waitForFinished();
    QFile file(trace);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.mid(23, 4) == "  > ") {
            const QDateTime sent = QDateTime::fromString(
                QString::fromLatin1(line.left(23)), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
            run.firstByteMs = double(started.msecsTo(sent));
            break;
        }
    return run;
}

struct WindowRun {
    double visibleMs = 0;
    long residentKb = 0;
};

WindowRun windowRun(const QString& program, const QStringList& arguments, const QString& title) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, arguments);
    // xdotool's own --sync looks only every half second.
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired();) {
        QProcess search;
        search.start("xdotool", {"search", "--onlyvisible", "--pid",
                                 QString::number(p.processId()), "--name", title});
        search.waitForFinished();
        if (!search.readAllStandardOutput().trimmed().isEmpty())
            break;
    }
    WindowRun run{double(t.nsecsElapsed()) / 1e6, 0};
    QThread::msleep(500);
    run.residentKb = memoryKb(p.processId(), "VmRSS:");
    p.terminate();
    p.waitForFinished();
    return run;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString program = args.value(1, PANELCONFIG_PATH);
    const int runs = args.value(2, "7").toInt();
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit()); // no remembered port

    QList<double> version, firstByte, visible, bare;
    long commandKb = 0, windowKb = 0;
    for (int i = 0; i < runs; ++i) {
        version << versionMs(program);
        const CommandRun c = commandRun(program, dir);
        firstByte << c.firstByteMs;
        commandKb = std::max(commandKb, c.peakKb);
    }
    std::printf("%s\n", qPrintable(program));
    std::printf("  --version                     %7.1f ms (median of %d)\n", median(version), runs);
    std::printf("  write: start to first byte    %7.1f ms (median of %d)\n", median(firstByte), runs);
    std::printf("  write: peak resident memory   %7ld KiB\n", commandKb);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 0;
    for (int i = 0; i < runs; ++i) {
        const WindowRun w = windowRun(program, {"--port", "/dev/null-no-such-port"},
                                      "TARNEK KVQ 10 BUTTON");
        visible << w.visibleMs;
        windowKb = std::max(windowKb, w.residentKb);
        bare << windowRun(BAREWINDOW_PATH, {}, "BARE QT WINDOW").visibleMs;
    }
    std::printf("  window: start to visible      %7.1f ms (median of %d)\n", median(visible), runs);
    std::printf("  bare Qt window of that size   %7.1f ms\n", median(bare));
    std::printf("  window: resident memory       %7ld KiB\n", windowKb);
    return 0;
}
