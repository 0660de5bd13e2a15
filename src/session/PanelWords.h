#pragma once

#include "model/ConfigScreen.h"
#include "model/PanelValues.h"

#include <QString>
#include <QStringList>

#include <vector>

// How the window words the 25 values a panel keeps, for the console and the
// sheet.
namespace PanelWords {
// "SW3", "LED10", "BACKLIGHTING", "DIMMING", then the intensity lists'
// captions ("NORMAL BACKLIGHTING (%)").
QString item(const ConfigScreen& screen, size_t cell);
// "B 4" or "N/A" for a channel cell, "90" for an intensity; a value no list
// shows, as a number.
QString value(size_t cell, qint16 value);
// A row per cell that differs: "SW3  B 4  N/A" (item, expected, found).
QStringList differences(const ConfigScreen& screen, const PanelValues& expected,
                        const PanelValues& found);

// A value that a file or a panel gave and the window took as another: a
// code no list shows becomes the one its list shows, and the intensity rule
// lowers a backlighting brighter than the indicator.
struct Adjustment {
    size_t cell;
    qint16 given;
    qint16 taken;
    bool shown; // whether a list shows the value given
};
std::vector<Adjustment> adjustments(const PanelValues& given, const PanelValues& taken);

// "SW3: the file holds code 200, which no list shows; written as N/A", in
// the words of who gave it ("the file") and what became of it ("written").
QString describe(const ConfigScreen& screen, const Adjustment& a, const QString& giver,
                 const QString& use);
} // namespace PanelWords
