#pragma once

#include <QString>
#include <QStringList>

// The program itself, run as from a console without any display.
struct ProgramRun {
    int status = -1; // -1 when the program crashed or hung
    QByteArray out;
    QString err;
};

ProgramRun runProgram(const QStringList& arguments);
