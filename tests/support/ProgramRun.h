#pragma once

#include <QString>
#include <QStringList>

// The program itself, run as from a console without any display.
struct ProgramRun {
    int status = -1; // -1 when the program crashed or hung
    QByteArray out;
    QString err;
};

// environment: NAME=value settings on top of this process's own, without a
// display.
ProgramRun runProgram(const QStringList& arguments, const QStringList& environment = {});
