#include "ProgramRun.h"

#include <QProcess>

#ifndef PANELCONFIG_PATH
#error "PANELCONFIG_PATH names the program"
#endif

ProgramRun runProgram(const QStringList& arguments, const QStringList& prefix,
                      const QStringList& environment) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(display);
    for (const QString& variable : environment)
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
    program.setProcessEnvironment(env);
    if (prefix.isEmpty())
        program.start(PANELCONFIG_PATH, arguments);
    else
        program.start(prefix.first(), prefix.mid(1) + QStringList{PANELCONFIG_PATH} + arguments);
    ProgramRun run;
    if (!program.waitForFinished(120000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    if (program.exitStatus() == QProcess::NormalExit)
        run.status = program.exitCode();
    run.out = program.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}
