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

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
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

// Told by the display server the moment a window is mapped: nothing is
// polled, so the watching takes no processor time from the program watched
// (a loop of xdotool searches took a core of a two-core machine).
class MapWatch {
public:
    MapWatch() : m_connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        m_pidAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(atom);
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool usable() const { return !xcb_connection_has_error(m_connection) && m_pidAtom; }

    // Waits until a window of process pid (or, under a window manager, the
    // frame around it) is mapped; false when the deadline passes first.
    bool waitForMap(qint64 pid, QDeadlineTimer deadline) {
        pollfd display{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (!deadline.hasExpired()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window =
                    mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
                std::free(event);
                if (mapped && (pidOf(window) == pid || childOf(window, pid)))
                    return true;
            }
            if (xcb_connection_has_error(m_connection))
                return false;
            poll(&display, 1, int(std::max<qint64>(1, deadline.remainingTime())));
        }
        return false;
    }

private:
    qint64 pidOf(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        qint64 pid = -1;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return pid;
    }

    bool childOf(xcb_window_t frame, qint64 pid) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, frame), nullptr);
        bool found = false;
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
                found = pidOf(children[i]) == pid;
        }
        std::free(tree);
        return found;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

WindowRun windowRun(MapWatch& watch, const QString& program, const QStringList& arguments) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted() || !watch.waitForMap(p.processId(), QDeadlineTimer(30000))) {
        p.kill();
        p.waitForFinished();
        return {};
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
    MapWatch watch;
    if (!watch.usable()) {
        std::fprintf(stderr, "startbench: cannot watch the display %s\n",
                     qPrintable(qEnvironmentVariable("DISPLAY")));
        return 2;
    }
    // The window, the bare window, and the bare window with one line of text
    // in the window's font: a window with any text at all pays for the font
    // machinery (fontconfig, FreeType, HarfBuzz), which the bare one never
    // loads.
    const std::array<std::function<WindowRun()>, 3> starts = {
        [&] {
            return windowRun(watch, program, {"--port", "/dev/null-no-such-port"});
        },
        [&] { return windowRun(watch, BAREWINDOW_PATH, {}); },
        [&] { return windowRun(watch, BAREWINDOW_PATH, {"--text"}); }};
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
