// find against simulated panels on pseudo-terminals: the wall time of one
// probe of several ports side by side, beside the time each port's probe
// takes alone (what probing one port after another would cost).
//   findbench [repetitions]

#include "Simulator.h"
#include "link/PanelFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeOf(const QList<PanelFinder::Candidate>& ports, int repetitions, int* panels) {
    std::vector<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer clock;
        clock.start();
        const auto found = PanelFinder(PanelFinder::systemPlatform()).probe(ports);
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        *panels = int(PanelFinder::panels(found).size());
    }
    return median(ms);
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    struct Set {
        const char* name;
        int answering, silent;
    };
    const Set sets[] = {{"1 panel", 1, 0},
                        {"1 silent port", 0, 1},
                        {"2 panels + 1 silent", 2, 1},
                        {"2 panels + 6 silent", 2, 6}};
    std::printf("%-22s %8s %12s %16s\n", "ports", "panels", "side by side", "one after other");
    for (const Set& set : sets) {
        std::vector<std::unique_ptr<Simulator>> sims;
        QList<PanelFinder::Candidate> ports;
        for (int i = 0; i < set.answering + set.silent; ++i) {
            sims.push_back(std::make_unique<Simulator>(
                i < set.answering ? QStringList{"--identity", i % 2 ? "67" : "61"}
                                  : QStringList{"--silent"}));
            if (!sims.back()->started()) {
                std::fprintf(stderr, "the simulator did not start\n");
                return 1;
            }
            ports.append({sims.back()->device(), {}});
        }
        int panels = 0;
        const double together = timeOf(ports, repetitions, &panels);
        double alone = 0;
        for (const PanelFinder::Candidate& port : ports) {
            int ignored = 0;
            alone += timeOf({port}, repetitions, &ignored);
        }
        std::printf("%-22s %8d %9.0f ms %13.0f ms\n", set.name, panels, together, alone);
    }
    return 0;
}
