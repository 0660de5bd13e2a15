// Times a full write and a full read against the panel simulator, with the
// real serial port and the real 100 ms tick, and prints what they cost.
//   linkbench [repetitions]
// Wall time is compared with the pacing floor (one tick per WaitTick) plus the
// time the characters take on a 9600 baud line; CPU time shows whether the
// waits sleep (close to 0 %) or spin (100 %).

#include "DialogRecorder.h"
#include "Simulator.h"
#include "ui/PanelTool.h"
#include "link/ForwardingSerialPort.h"
#include "link/QtSerialPort.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {
// Counts the characters that cross the line.
class CountingPort : public ForwardingSerialPort {
public:
    using ForwardingSerialPort::ForwardingSerialPort;
    void send(const QByteArray& b) override {
        characters += b.size();
        m_port.send(b);
    }
    QByteArray takeAll() override {
        QByteArray all = m_port.takeAll();
        characters += all.size();
        return all;
    }
    qint64 characters = 0;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Figures {
    double wall, floor, line, cpu;
};

template <typename Run> Figures measure(PanelTool& tool, CountingPort& port, Run run) {
    const int ticksBefore = tool.link.waitTicks();
    port.characters = 0;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    run();
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    return {wall, (tool.link.waitTicks() - ticksBefore) * 0.1, port.characters * 10.0 / 9600.0,
            cpuSeconds() - cpuBefore};
}

void print(const char* name, const Figures& f, const QString& status) {
    const double budget = f.floor + f.line;
    std::printf("%-6s wall %.3f s  floor %.3f s  line %.3f s  floor+line %.3f s  "
                "over %+.2f %%  cpu %.3f s (%.2f %% of wall)  [%s]\n",
                name, f.wall, f.floor, f.line, budget, 100.0 * (f.wall - budget) / budget, f.cpu,
                100.0 * f.cpu / f.wall, qPrintable(status));
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    Simulator sim({});
    if (!sim.started()) {
        std::fprintf(stderr, "the panel simulator did not start\n");
        return 1;
    }
    std::printf("simulated panel on %s, %d repetitions\n", qPrintable(sim.device()), repetitions);

    QtSerialPort realPort(sim.device());
    CountingPort port(realPort);
    DialogRecorder dialogs;
    PanelTool tool(dialogs, port);
    for (int row = 0; row < 22; ++row) {
        tool.form.list(2 * row + 1)->setListIndex(1 + row % 16);
        tool.form.list(2 * row + 2)->setListIndex(row % 10);
    }
    for (int i = 0; i < repetitions; ++i) {
        const Figures write = measure(tool, port, [&] { tool.link.WRITE_CONFIG_Click(); });
        print("write", write, tool.form.statusBox()->text());
        const Figures read = measure(tool, port, [&] { tool.link.READ_CONFIG_Click(); });
        print("read", read, tool.form.statusBox()->text());
    }
    return 0;
}
