// Start-up and memory of the program, for comparing two builds on one
// machine in one run. Prints, for the program named (default: this build's):
//   - `--version`: median wall time over the runs;
//   - a command, `write FILE`: from the process start to the first byte on
//     the line (the handshake's "A" in the trace), median over the runs, and
//     its peak resident memory;
//   - with a display (DISPLAY set), the window: from the process start to
//     its being mapped, and its resident memory once shown, each beside a
//     bare Qt window of the same size, and one that shows a line of text,
//     started right before or after it. The three take turns going first,
//     so a build elsewhere on the machine slows all alike; the ratios of
//     each run are reported by their median and quartiles.
//   startbench [PANELCONFIG [runs]]   (runs: 12 unless given)

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace {
// The value a share q of the values lies below, between neighbours.
double quantile(QList<double> values, double q) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const double at = q * double(values.size() - 1);
    const auto below = qsizetype(at);
    const qsizetype above = std::min(below + 1, values.size() - 1);
    return values[below] + (at - double(below)) * (values[above] - values[below]);
}

double median(const QList<double>& values) {
    return quantile(values, 0.5);
}

// "median (first quartile - third quartile)"
QByteArray spread(const QList<double>& values, const char* format) {
    const auto one = [format](double v) { return QString::asprintf(format, v); };
    return (one(median(values)) + " (" + one(quantile(values, 0.25)) + " - " +
            one(quantile(values, 0.75)) + ")")
        .toUtf8();
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
    CommandRun run;
    if (!p.waitForStarted()) {
        sim.terminate();
        sim.waitForFinished();
        return run;
    }
    while (!p.waitForFinished(20))
        run.peakKb = std::max(run.peakKb, memoryKb(p.processId(), "VmHWM:"));
    sim.terminate();
    sim.waitForFinished();
    QFile file(trace);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.mid(23, 4) == "  > ") {
            const QDateTime sent = QDateTime::fromString(QString::fromLatin1(line.left(23)),
                                                         QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
            run.firstByteMs = double(started.msecsTo(sent));
            break;
        }
    return run;
}

// Milliseconds the process's main thread has run on a processor: unlike the
// wall time, hardly moved by other work on the machine.
double mainThreadCpuMs(qint64 pid) {
    QFile schedstat(QStringLiteral("/proc/%1/schedstat").arg(pid));
    if (!schedstat.open(QIODevice::ReadOnly))
        return 0;
    return schedstat.readAll().split(' ').first().toDouble() / 1e6;
}

struct WindowRun {
    double visibleMs = 0;
    double cpuMs = 0; // the main thread's, up to then
    double residentKb = 0;
};

WindowRun windowRun(const QString& program, const QStringList& arguments, const QString& title) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted())
        return {};
    // xdotool's own --sync looks only every half second.
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired();) {
        QProcess search;
        search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(p.processId()),
                                 "--name", title});
        search.waitForFinished();
        if (!search.readAllStandardOutput().trimmed().isEmpty())
            break;
    }
    WindowRun run{double(t.nsecsElapsed()) / 1e6, mainThreadCpuMs(p.processId()), 0};
    // Whatever the window does once shown is done by then.
    QThread::msleep(500);
    run.residentKb = double(memoryKb(p.processId(), "VmRSS:"));
    p.terminate();
    p.waitForFinished();
    return run;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString program = args.value(1, PANELCONFIG_PATH);
    const int runs = std::max(1, args.value(2, "12").toInt());
    if (QProcess probe; probe.start(program, {"--version"}), !probe.waitForFinished()) {
        std::fprintf(stderr, "startbench: cannot run %s\n", qPrintable(program));
        return 2;
    }
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit()); // no remembered port

    QList<double> version, firstByte;
    long commandKb = 0;
    for (int i = 0; i < runs; ++i) {
        version << versionMs(program);
        const CommandRun c = commandRun(program, dir);
        firstByte << c.firstByteMs;
        commandKb = std::max(commandKb, c.peakKb);
    }
    std::printf("%s\n", qPrintable(program));
    std::printf("  --version                     %7.1f ms (median of %d)\n", median(version), runs);
    std::printf("  write: start to first byte    %7.1f ms (median of %d)\n", median(firstByte),
                runs);
    std::printf("  write: peak resident memory   %7ld KiB\n", commandKb);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 0;
    // The window, the bare window, and the bare window with one line of text
    // in the window's font: a window with any text at all pays for the font
    // machinery (fontconfig, FreeType, HarfBuzz), which the bare one never
    // loads.
    const std::array<std::function<WindowRun()>, 3> starts = {
        [&] {
            return windowRun(program, {"--port", "/dev/null-no-such-port"}, "TARNEK KVQ 10 BUTTON");
        },
        [] { return windowRun(BAREWINDOW_PATH, {}, "BARE QT WINDOW"); },
        [] { return windowRun(BAREWINDOW_PATH, {"--text"}, "BARE QT WINDOW"); }};
    std::array<QList<double>, 3> visible, cpu, residentKb;
    QList<double> timeRatio, memoryRatio, textTimeRatio, textMemoryRatio, cpuRatio, textCpuRatio;
    for (int i = 0; i < runs; ++i) {
        std::array<WindowRun, 3> run;
        for (size_t k = 0; k < starts.size(); ++k) {
            const size_t which = (k + size_t(i)) % starts.size(); // each goes first in turn
            run[which] = starts[which]();
        }
        if (std::any_of(run.begin(), run.end(), [](const WindowRun& r) {
                return r.visibleMs <= 0 || r.cpuMs <= 0 || r.residentKb <= 0;
            }))
            continue;
        for (size_t k = 0; k < run.size(); ++k) {
            visible[k] << run[k].visibleMs;
            cpu[k] << run[k].cpuMs;
            residentKb[k] << run[k].residentKb;
        }
        timeRatio << run[0].visibleMs / run[1].visibleMs;
        memoryRatio << run[0].residentKb / run[1].residentKb;
        textTimeRatio << run[0].visibleMs / run[2].visibleMs;
        cpuRatio << run[0].cpuMs / run[1].cpuMs;
        textCpuRatio << run[0].cpuMs / run[2].cpuMs;
        textMemoryRatio << run[0].residentKb / run[2].residentKb;
    }
    const auto line = [](const char* what, const QList<double>& values, const char* format,
                         const char* unit) {
        std::printf("  %-34s %s%s\n", what, spread(values, format).constData(), unit);
    };
    std::printf("  window runs side by side, median (quartiles) of %lld\n",
                qlonglong(timeRatio.size()));
    line("window: start to visible", visible[0], "%.1f", " ms");
    line("bare Qt window of that size", visible[1], "%.1f", " ms");
    line("bare window with a line of text", visible[2], "%.1f", " ms");
    line("time ratio window / bare", timeRatio, "%.2f", "");
    line("time ratio window / bare with text", textTimeRatio, "%.2f", "");
    line("window: main thread CPU to visible", cpu[0], "%.1f", " ms");
    line("bare Qt window", cpu[1], "%.1f", " ms");
    line("bare window with a line of text", cpu[2], "%.1f", " ms");
    line("CPU ratio window / bare", cpuRatio, "%.2f", "");
    line("CPU ratio window / bare with text", textCpuRatio, "%.2f", "");
    line("window: resident memory", residentKb[0], "%.0f", " KiB");
    line("bare Qt window", residentKb[1], "%.0f", " KiB");
    line("bare window with a line of text", residentKb[2], "%.0f", " KiB");
    line("memory ratio window / bare", memoryRatio, "%.2f", "");
    line("memory ratio window / bare with text", textMemoryRatio, "%.2f", "");
    return 0;
}
