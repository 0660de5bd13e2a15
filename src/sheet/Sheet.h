#pragma once

#include "files/ConfigFile.h"

#include <QDateTime>
#include <QString>

#include <array>

class ConfigScreen;

// What one configuration sheet shows: the configuration's texts exactly as
// the window shows them, and where it came from.
struct Sheet {
    struct Item {
        QString item;        // "SW1" ... "LED10", "BACKLIGHTING", "DIMMING"
        QString designation; // blank for the backlighting, the dimming input and an unassigned item
        QString module;      // "A" ... "P" or "N/A"; blank while none is chosen
        QString channel; // "1" ... "10"; "N/A" with the module "N/A"; blank while none is chosen
        bool isSwitch = false;
        bool operator==(const Item&) const = default;
    };
    struct Intensity {
        QString caption; // the label beside the window's list
        QString percent; // "100" ... "30"
        bool operator==(const Intensity&) const = default;
    };

    QString panel;
    QString model;
    QString source; // the file, "read from panel on ...", or how the window came by it
    QDateTime printed;
    std::array<Item, 22> items; // SW1 ... SW10, LED1 ... LED10, backlighting, dimming
    std::array<Intensity, 3>
        intensities; // indicator, backlighting, dimmed, as the window lists them

    // The same configuration, wherever and whenever it was printed.
    bool sameConfiguration(const Sheet& other) const {
        return panel == other.panel && model == other.model && items == other.items &&
               intensities == other.intensities;
    }
};

// The sheet of a file as the open command would show it in the window.
Sheet sheetFromFile(const ConfigFileLine& line, const QString& path);

// The sheet of the configuration in the window: its list selections, boxes
// and intensity lists. Only reads the window.
Sheet sheetFromWindow(const ConfigScreen& window);
