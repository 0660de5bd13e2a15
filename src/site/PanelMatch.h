#pragma once

#include "model/ConfigScreen.h"
#include "model/PanelValues.h"

#include <QString>
#include <QStringList>

#include <vector>

// Which configuration file a panel holds. A panel keeps no name, only its 25
// values; each file is compared with the panel as a write of it would send
// it, through the window's own rules (a code no list shows, the intensity
// rule), so a panel written from a file matches that file.
namespace PanelMatch {

struct Difference {
    size_t cell; // in the memory map's order
    qint16 panel;
    qint16 file;
};

struct Compared {
    QString path;
    std::vector<Difference> differences; // none: the panel holds this file
};

struct Refused {
    QString path;
    QString reason; // the open command's own message, on one line
};

struct Outcome {
    QStringList matching;          // every file the panel holds exactly, in the order given
    std::vector<Compared> nearest; // when none matches: those with the fewest differences
};

// The configuration files named: a file as it is, a folder by the .zqc files
// directly in it, in name order. A name that is neither is refused.
QStringList expand(const QStringList& filesAndFolders, std::vector<Refused>* refused);

// What a write of the configuration in path would send; the reason when the
// open command refuses it or an item is left unassigned.
struct Sent {
    std::optional<PanelValues> values;
    QString reason;
};
Sent valuesToSend(const QString& path);

struct Configuration {
    QString path;
    PanelValues values; // what a write of it sends
};
// The files that give a complete configuration; the others are refused.
std::vector<Configuration> load(const QStringList& files, std::vector<Refused>* refused);

Outcome match(const PanelValues& panel, const std::vector<Configuration>& configurations);

// What identify says of the outcome: "THE SWITCH PANEL HOLDS LOBBY.zqc"
// for the files matching; for none, "NO FILE MATCHES THE SWITCH PANEL;
// NEAREST: 2 ITEMS DIFFER".
QString holdsText(const QStringList& matching);
QString noneText(const Outcome& outcome);

// "LOBBY.zqc: SW3 (panel A 4, file A 3), LED1 (panel N/A, file B 2)".
QString describe(const ConfigScreen& screen, const Compared& compared);

} // namespace PanelMatch
