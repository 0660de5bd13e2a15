#include "ConfigImage.h"
#include "EventLog.h"
#include "LineServer.h"
#include "PanelEngine.h"
#include "PseudoTerminal.h"
#include "SimOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int refuse(const QString& message) {
    std::fprintf(stderr, "panelsim: %s\n", qPrintable(message));
    return 2;
}

// SIGTERM and SIGINT arrive as readable data, handled between events.
int stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0)
        return -1;
    return signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}
} // namespace

int main(int argc, char* argv[]) {
    // Blocked before any thread starts, so that all of them inherit it.
    const int signalFd = stopSignals();
    // Whoever reads our standard output may stop reading after the first line.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    if (signalFd < 0)
        return refuse(QStringLiteral("cannot catch SIGTERM"));

    const SimOptions options = SimOptions::parse(app.arguments());
    if (options.showHelp) {
        std::fputs(qPrintable(SimOptions::helpText()), stdout);
        return 0;
    }
    if (!options.error.isEmpty())
        return refuse(options.error + QStringLiteral(" (see --help)"));

    PanelEngine engine(options.faults);
    QString error;
    if (!options.configPath.isEmpty() && !loadConfigFile(options.configPath, engine, &error))
        return refuse(error);
    if (options.identity)
        engine.setValue(PanelEngine::identityAddress, *options.identity);
    for (const auto& [address, value] : options.sets)
        engine.setValue(address, value);

    EventLog log;
    if (!log.open(options.logPath, options.verbose, &error))
        return refuse(error);
    auto line = PseudoTerminal::open(&error);
    if (!line)
        return refuse(error);

    // Only a link left by an earlier run is replaced, never a file.
    const QByteArray link = QFile::encodeName(options.linkPath);
    const QByteArray device = QFile::encodeName(line->devicePath());
    if (!link.isEmpty()) {
        struct stat there {};
        if (::lstat(link.constData(), &there) == 0 && !S_ISLNK(there.st_mode))
            return refuse(QStringLiteral("%1 exists and is not a link").arg(options.linkPath));
        ::unlink(link.constData());
        if (::symlink(device.constData(), link.constData()) != 0)
            return refuse(QStringLiteral("cannot make the link %1").arg(options.linkPath));
    }

    std::printf("%s\n", qPrintable(line->devicePath()));
    std::fflush(stdout);

    LineServer server(*line, engine, log);
    QObject::connect(&server, &LineServer::finished, &app, &QCoreApplication::exit);
    QSocketNotifier stop(signalFd, QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&] {
        signalfd_siginfo info{};
        if (::read(signalFd, &info, sizeof info) != sizeof info)
            return;
        if (info.ssi_signo == SIGUSR1) {
            engine.setSilent(!engine.silent());
            log.write(engine.silent() ? QStringLiteral("panel taken off the line")
                                      : QStringLiteral("panel back on the line"));
            return;
        }
        log.write(QStringLiteral("stopped by signal %1").arg(info.ssi_signo));
        app.quit();
    });
    const int status = app.exec();
    // Gone with the panel, unless a newer simulator has taken the name over.
    if (!link.isEmpty() && QFile::symLinkTarget(options.linkPath) == line->devicePath())
        ::unlink(link.constData());
    return status;
}
