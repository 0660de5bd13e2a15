// Import of a 200-panel schedule and the site document of its 200 files:
// wall time and peak memory of each, printed, nothing asserted.
#include "schedule/ScheduleCommand.h"
#include "sheet/SheetCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {
long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray schedule(int panels) {
    QByteArray csv = "PANEL NAME,ITEM,MODULE,CHANNEL,DESIGNATION,NORMAL BACKLIGHTING (%),"
                     "NORMAL INDICATOR (%),DIMMED BACKLIGHTING AND INDICATOR (%)\r\n";
    for (int p = 0; p < panels; ++p) {
        const QByteArray name = "PANEL " + QByteArray::number(p);
        for (int n = 1; n <= 10; ++n)
            csv += name + ",SW" + QByteArray::number(n) + "," + char('A' + (p + n) % 16) + "," +
                   QByteArray::number(n) + ",\"ROOM " + QByteArray::number(p) + ", LIGHT " +
                   QByteArray::number(n) + "\"" + (n == 1 ? ",70,90,40" : ",,,") + "\r\n";
        for (int n = 1; n <= 10; ++n)
            csv += name + ",LED" + QByteArray::number(n) + ",B," + QByteArray::number(n) +
                   ",LAMP " + QByteArray::number(n) + ",,,\r\n";
        csv += name + ",BACKLIGHTING,N/A,,,,,\r\n" + name + ",DIMMING,P,10,,,,\r\n";
    }
    return csv;
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString csv = dir.filePath("site.csv");
    QFile file(csv);
    file.open(QIODevice::WriteOnly);
    file.write(schedule(200));
    file.close();

    QString out, errors;
    const long before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    const int imported = ScheduleCommand::run({"import", {csv}, dir.filePath("site"), false}, &out,
                                              &errors);
    const qint64 importMs = timer.elapsed();
    const long afterImport = peakKiB();
    std::printf("import of 200 panels: %lld ms, status %d, peak memory %ld KiB (%+ld)\n",
                importMs, imported, afterImport, afterImport - before);

    QStringList files;
    for (const QString& f : QDir(dir.filePath("site")).entryList({"*.zqc"}, QDir::Files))
        files << dir.filePath("site/" + f);
    timer.restart();
    const int sheet = SheetCommand::run({files, dir.filePath("site.pdf"), "BENCH SITE"}, &errors);
    const qint64 sheetMs = timer.elapsed();
    std::printf("site document of %lld panels: %lld ms, status %d, %lld bytes, peak memory %ld KiB "
                "(%+ld)\n",
                qlonglong(files.size()), sheetMs, sheet,
                qlonglong(QFileInfo(dir.filePath("site.pdf")).size()), peakKiB(),
                peakKiB() - afterImport);
    return 0;
}
