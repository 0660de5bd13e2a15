#pragma once

#include "PanelFaults.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// What the simulator is asked to do, from its command line.
struct SimOptions {
    std::optional<int> identity;
    QList<std::pair<int, int>> sets; // address, value; applied last, in order
    QString configPath;
    QString logPath;
    QString linkPath;
    bool verbose = false;
    PanelFaults faults;

    bool showHelp = false;
    QString error; // non-empty when the command line was refused

    // arguments[0] is the program name.
    static SimOptions parse(const QStringList& arguments);
    static QString helpText();
};
