// Times production mode, `panelconfig write FILE --repeat`, against the panel
// simulator, which is started and stopped on one device path as panels are
// plugged in and pulled out, and prints:
//   - per panel, the time from its first answer (its first "D000D" in the
//     byte trace) to its "programmed" line, beside the write's pacing floor
//     of 27 ticks and the time its characters take on a 9600 baud line;
//   - per panel, the time from the panel going silent to the "waiting for
//     the next panel" line: odd panels are pulled out with the adapter (the
//     device goes), even ones from an adapter that stays (the line goes
//     silent);
//   - the CPU the tool uses while it waits for a panel, with no device and
//     with a line that stays silent.
//   repeatbench [panels]

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

#include <cstdio>

#ifndef PANELCONFIG_PATH
#error "PANELCONFIG_PATH names the program"
#endif

namespace {
qint64 now() {
    return QDateTime::currentMSecsSinceEpoch();
}

// User and system CPU seconds of a process so far.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

class Production {
public:
    Production(const QString& link, const QString& trace) {
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(PANELCONFIG_PATH,
                        {"write", PANELSIM_DEMO, "--repeat", "--port", link, "--trace", trace});
        m_process.waitForStarted();
    }
    ~Production() {
        m_process.kill();
        m_process.waitForFinished();
    }
    qint64 pid() const { return m_process.processId(); }

    // The moment the line was printed (read), or -1 after a minute without it.
    qint64 await(const QString& line) {
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            while (m_process.canReadLine()) {
                const QString got = QString::fromLocal8Bit(m_process.readLine()).trimmed();
                if (got == line)
                    return now();
            }
            m_process.waitForReadyRead(100);
        }
        return -1;
    }

private:
    QProcess m_process;
};

class Simulator {
public:
    explicit Simulator(const QStringList& arguments) {
        m_process.start(PANELSIM_PATH, arguments);
        m_process.waitForStarted();
        m_process.waitForReadyRead(5000);
    }
    // The moment the panel went silent, its adapter still there.
    qint64 takeOffTheLine() {
        ::kill(pid_t(m_process.processId()), SIGUSR1);
        return now();
    }
    // The moment it was gone.
    qint64 stop() {
        m_process.terminate();
        m_process.waitForFinished();
        return now();
    }

private:
    QProcess m_process;
};

// Trace lines ("2026-12-08 14:03:07.412  <  44 30 30 30 44   D000D") from
// the first answer after `from` to the next "write ended"; their time and
// how many characters crossed the line.
struct Answer {
    qint64 firstAnswer = -1;
    qint64 characters = 0;
};
Answer scanTrace(const QString& path, qint64 from) {
    QFile file(path);
    Answer a;
    if (!file.open(QIODevice::ReadOnly))
        return a;
    bool inWrite = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qint64 t =
            QDateTime::fromString(line.left(23), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                .toMSecsSinceEpoch();
        if (t < from)
            continue;
        const QString body = line.mid(24).trimmed();
        if (a.firstAnswer < 0 && body.startsWith(QLatin1String("< 44 30 30 30 44")))
            a.firstAnswer = t;
        if (body == QLatin1String("write started"))
            inWrite = true;
        // The simulator times its replies as a 9600 baud line would; what the
        // tool sends crosses the pseudo-terminal at once.
        if (inWrite && body.startsWith('<') && !body.contains("(nothing)"))
            a.characters += body.section(QStringLiteral("   "), 0, 0).mid(2).split(' ').size();
        if (body.startsWith(QLatin1String("write ended")))
            break;
    }
    return a;
}

void cpuWhileWaiting(Production& tool, const char* what, int seconds) {
    const double before = cpuSeconds(tool.pid());
    const qint64 start = now();
    QThread::sleep(seconds);
    const double wall = double(now() - start) / 1000.0;
    const double cpu = cpuSeconds(tool.pid()) - before;
    std::printf("waiting, %-22s cpu %.3f s in %.1f s = %.2f %% of a core\n", what, cpu, wall,
                100.0 * cpu / wall);
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int panels = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString link = dir.filePath("panel");
    const QString trace = dir.filePath("trace.txt");
    Production tool(link, trace);
    if (tool.await(QStringLiteral("waiting for a panel on %1 (Ctrl+C ends)").arg(link)) < 0) {
        std::fprintf(stderr, "the tool did not start\n");
        return 1;
    }
    cpuWhileWaiting(tool, "no device:", 10);
    {
        Simulator silent({"--link", link, "--silent"});
        cpuWhileWaiting(tool, "a silent line:", 10);
        silent.stop();
    }
    constexpr double floor = 27 * 0.1;
    for (int n = 1; n <= panels; ++n) {
        const qint64 plugged = now();
        Simulator panel({"--link", link});
        const qint64 programmed = tool.await(QStringLiteral("panel %1: programmed").arg(n));
        const Answer a = scanTrace(trace, plugged);
        if (programmed < 0 || a.firstAnswer < 0) {
            std::fprintf(stderr, "panel %d was not programmed\n", n);
            return 1;
        }
        const double toProgrammed = double(programmed - a.firstAnswer) / 1000.0;
        const double line = double(a.characters) * 10.0 / 9600.0;
        QThread::msleep(500); // the technician reaches for the cable
        const qint64 silent = n % 2 ? panel.stop() : panel.takeOffTheLine();
        const qint64 waiting = tool.await(QStringLiteral("waiting for the next panel"));
        std::printf("panel %d  first answer to programmed %.3f s  floor %.3f s (%+.1f %%)  "
                    "line %.3f s  floor+line %.3f s (%+.1f %%)  %s to waiting %.3f s\n",
                    n, toProgrammed, floor, 100.0 * (toProgrammed - floor) / floor, line,
                    floor + line, 100.0 * (toProgrammed - floor - line) / (floor + line),
                    n % 2 ? "device gone" : "line silent", double(waiting - silent) / 1000.0);
    }
    return 0;
}
