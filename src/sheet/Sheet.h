#pragma once

#include "files/ConfigFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

class ConfigScreen;
class Dialogs;

// What one configuration sheet shows: the configuration's texts exactly as
// the window shows them, and where it came from.
struct Sheet {
    struct Item {
        QString item;        // "SW1" ... "LED10", "BACKLIGHTING", "DIMMING"
        QString designation; // blank for the backlighting, the dimming input and an unassigned item
        QString module;      // "A" ... "P" or "N/A"; blank while none is chosen
        QString channel; // "1" ... "10"; "N/A" with the module "N/A"; blank while none is chosen
        bool isSwitch = false;
        bool marked = false; // the window took another value than its source holds
        bool operator==(const Item&) const = default;
    };
    struct Intensity {
        QString caption; // the label beside the window's list
        QString percent; // "100" ... "30"
        bool marked = false;
        bool operator==(const Intensity&) const = default;
    };

    QString panel;
    QString model;
    QString source; // the file, "read from panel on ...", or how the window came by it
    QDateTime printed;
    std::array<Item, 22> items; // SW1 ... SW10, LED1 ... LED10, backlighting, dimming
    std::array<Intensity, 3>
        intensities;   // indicator, backlighting, dimmed, as the window lists them
    QStringList notes; // what became of each marked value

    // The same configuration, wherever and whenever it was printed.
    bool sameConfiguration(const Sheet& other) const {
        return panel == other.panel && model == other.model && items == other.items &&
               intensities == other.intensities;
    }
};

// The sheet of a file as the window shows it once the open command has
// shown the file: through a session, so the intensity rule and the codes no
// list shows come out as they do there. Each value the window takes
// otherwise than the file holds it is marked and noted. Messages shown on
// the way (the rule's) go to dialogs.
Sheet sheetFromFile(const ConfigFileLine& line, const QString& path, Dialogs& dialogs);

// The sheet of the configuration in the window: its list selections, boxes
// and intensity lists. Only reads the window.
Sheet sheetFromWindow(const ConfigScreen& window);

// Marks and notes each value that given (a file's or a panel's, as giver
// words it: "the file") holds and the screen shows otherwise.
void noteAdjustments(Sheet& sheet, const ConfigScreen& screen, const PanelValues& given,
                     const PanelValues& shown, const QString& giver);
