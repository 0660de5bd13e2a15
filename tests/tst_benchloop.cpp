#include "SiteFiles.h"
#include "VirtualClock.h"
#include "files/ConfigFile.h"
#include "site/BenchLoop.h"
#include "site/SiteLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Written = BenchLoop::Written;
using Step = BenchLoop::Step;
using Plugs = QList<QPair<int, int>>; // a panel plugged in and out, in ms
Q_DECLARE_METATYPE(QList<Written>)

// The bench's loop without a window or a port: panels plugged in and out on
// the virtual clock, the writes' outcomes scripted, a stop at a given moment.
class TestBenchLoop : public QObject {
    Q_OBJECT
private slots:
    void writesEachPanelAsItIsPluggedIn_data();
    void writesEachPanelAsItIsPluggedIn();
    void stops_data();
    void stops();

private:
    struct Run {
        QStringList written; // the files written, in order
        QStringList opened;
        QList<Step> steps;
        QList<int> writeTimes;
        Step ended = Step::Ended;
        int probes = 0;
    };
    // Three site files P1..P3, P1 already programmed when firstDone.
    Run bench(Plugs plugs, QList<Written> outcomes, int startRow, int stopAt,
              bool firstDone = false, bool refuseOpen = false);
};

TestBenchLoop::Run TestBenchLoop::bench(Plugs plugs, QList<Written> outcomes, int startRow,
                                        int stopAt, bool firstDone, bool refuseOpen) {
    QTemporaryDir dir;
    for (int n = 1; n <= 3; ++n)
        writeSiteConfig(dir.filePath(QString("P%1.zqc").arg(n)), QString("P%1").arg(n));
    SiteLog log;
    log.open(dir.filePath("site.log"), nullptr);
    if (firstDone)
        log.record({"/dev/fake", SiteLog::write, "P1.zqc", SiteLog::programmed});
    SiteModel site;
    site.open(dir.path());

    VirtualClock clock;
    bool present = false;
    for (const auto& [in, out] : plugs) {
        clock.after(in, [&present] { present = true; });
        clock.after(out, [&present] { present = false; });
    }
    Run run;
    BenchLoop* loopPtr = nullptr;
    BenchLoop loop(site, {[&] {
                              ++run.probes;
                              return present;
                          },
                          [&](int row) {
                              run.opened << site.panels()[row].file;
                              return !refuseOpen;
                          },
                          [&](int row, QString* why) {
                              const QString file = site.panels()[row].file;
                              run.written << file;
                              run.writeTimes << clock.now();
                              const Written w =
                                  outcomes.isEmpty() ? Written::Programmed : outcomes.takeFirst();
                              *why = w == Written::Programmed ? SiteLog::programmed
                                                              : QString("NO REPLY");
                              if (w != Written::Stopped && w != Written::Refused)
                                  log.record({"/dev/fake", SiteLog::write, file, *why});
                              return w;
                          },
                          [&] { clock.waitForEvents(); },
                          [&](int ms, std::function<void()> done) { clock.after(ms, done); }});
    loopPtr = &loop;
    if (stopAt >= 0)
        clock.after(stopAt, [loopPtr] { loopPtr->requestStop(); });
    connect(&loop, &BenchLoop::stepped, this, [&run](Step s) { run.steps << s; });
    run.ended = loop.run(startRow);
    return run;
}

void TestBenchLoop::writesEachPanelAsItIsPluggedIn_data() {
    QTest::addColumn<Plugs>("plugs");
    QTest::addColumn<QList<Written>>("outcomes");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<bool>("firstDone");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QList<int>>("writeTimes");
    QTest::addColumn<int>("ended");

    const Plugs three{{500, 3000}, {5000, 7000}, {9000, 11000}};
    // Probed each second while waiting; the next panel is awaited only once
    // the last has gone (probed every 250 ms).
    QTest::newRow("three panels, one after the other")
        << three << QList<Written>{} << 0 << false << QStringList{"P1.zqc", "P2.zqc", "P3.zqc"}
        << QStringList{"P2.zqc", "P3.zqc"} << QList<int>{1000, 5000, 9000} << int(Step::Done);
    QTest::newRow("a failure stays on its file")
        << three << QList<Written>{Written::Failed} << 0 << false
        << QStringList{"P1.zqc", "P1.zqc", "P2.zqc"} << QStringList{"P2.zqc", "P3.zqc"}
        << QList<int>{1000, 5000, 9000} << int(Step::Ended);
    QTest::newRow("starts on the file shown")
        << three << QList<Written>{} << 1 << false << QStringList{"P2.zqc", "P3.zqc", "P1.zqc"}
        << QStringList{"P3.zqc", "P1.zqc"} << QList<int>{1000, 5000, 9000} << int(Step::Done);
    QTest::newRow("no file shown: the first still to do")
        << three << QList<Written>{} << -1 << true << QStringList{"P2.zqc", "P3.zqc"}
        << QStringList{"P2.zqc", "P3.zqc"} << QList<int>{1000, 5000} << int(Step::Done);
    QTest::newRow("a file no panel can take ends it")
        << three << QList<Written>{Written::Refused} << 0 << false << QStringList{"P1.zqc"}
        << QStringList{} << QList<int>{1000} << int(Step::Ended);
    QTest::newRow("a panel left plugged in is not written twice")
        << Plugs{{500, 20000}} << QList<Written>{} << 0 << false << QStringList{"P1.zqc"}
        << QStringList{} << QList<int>{1000} << int(Step::Ended);
}

void TestBenchLoop::writesEachPanelAsItIsPluggedIn() {
    QFETCH(Plugs, plugs);
    QFETCH(QList<Written>, outcomes);
    QFETCH(int, startRow);
    QFETCH(bool, firstDone);
    QFETCH(QStringList, written);
    QFETCH(QStringList, opened);
    QFETCH(QList<int>, writeTimes);
    QFETCH(int, ended);
    // Every run ends by 15 s: the site done, or a stop then.
    const Run run = bench(plugs, outcomes, startRow, 15000, firstDone);
    QCOMPARE(run.written, written);
    QCOMPARE(run.opened, opened);
    QCOMPARE(run.writeTimes, writeTimes);
    QCOMPARE(int(run.ended), ended);
    QCOMPARE(run.steps.last(), Step(ended));
    // Each write is told, then the panel's removal awaited.
    QCOMPARE(run.steps.count(Step::Writing), written.size());
    QCOMPARE(run.steps.count(Step::Programmed) + run.steps.count(Step::Failed),
             run.steps.count(Step::Unplug));
}

void TestBenchLoop::stops_data() {
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<bool>("refuseOpen");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("probes");
    QTest::newRow("while waiting for the first panel")
        << 800 << false << QStringList{} << QStringList{} << 1;
    QTest::newRow("while the panel is still plugged in")
        << 2000 << false << QStringList{"P1.zqc"} << QStringList{} << 5;
    QTest::newRow("waiting for the next")
        << 4000 << false << QStringList{"P1.zqc"} << QStringList{"P2.zqc"} << 11;
    QTest::newRow("the user keeps the file shown")
        << -1 << true << QStringList{"P1.zqc"} << QStringList{"P2.zqc"} << 10;
}

void TestBenchLoop::stops() {
    QFETCH(int, stopAt);
    QFETCH(bool, refuseOpen);
    QFETCH(QStringList, written);
    QFETCH(QStringList, opened);
    QFETCH(int, probes);
    const Run run = bench({{500, 3000}, {5000, 7000}}, {}, 0, stopAt, false, refuseOpen);
    QCOMPARE(run.ended, Step::Ended);
    QCOMPARE(run.written, written);
    QCOMPARE(run.opened, opened);
    QCOMPARE(run.probes, probes); // nothing probed once stopped
}

QTEST_GUILESS_MAIN(TestBenchLoop)
#include "tst_benchloop.moc"
