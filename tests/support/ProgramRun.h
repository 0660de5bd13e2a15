#pragma once

#include <QString>
#include <QStringList>

// The program itself, run as from a console without any display.
struct ProgramRun {
    int status = -1; // -1 when the program crashed or hung
    QByteArray out;
    QString err;
};

// prefix: a program and its arguments that run the program in turn (setpriv,
// sh -c 'ulimit ...; exec "$0" "$@"'); environment: variables set for it.
ProgramRun runProgram(const QStringList& arguments, const QStringList& prefix = {},
                      const QStringList& environment = {});
