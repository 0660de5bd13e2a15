#pragma once

#include "schedule/Csv.h"

#include <QString>
#include <QStringList>

#include <array>
#include <variant>

// A site's lighting schedule: one row per item of each panel, under a row of
// headings. The headings are matched without regard to case or surrounding
// blanks, in any order; other columns are left alone. FILE is optional: the
// file name to write, where the panel's name would not give it.
namespace Schedule {
enum Column { Panel, Item, Module, Channel, Designation, Backlight, Indicator, Dimmed, File };
inline constexpr int columnCount = 9;
inline const std::array<QString, columnCount> headings = {
    QStringLiteral("PANEL NAME"),
    QStringLiteral("ITEM"),
    QStringLiteral("MODULE"),
    QStringLiteral("CHANNEL"),
    QStringLiteral("DESIGNATION"),
    QStringLiteral("NORMAL BACKLIGHTING (%)"),
    QStringLiteral("NORMAL INDICATOR (%)"),
    QStringLiteral("DIMMED BACKLIGHTING AND INDICATOR (%)"),
    QStringLiteral("FILE")};

// The item names a schedule uses beside SW1 ... SW10 and LED1 ... LED10, as
// the sheet names them.
inline const QString backlightItem = QStringLiteral("BACKLIGHTING");
inline const QString dimmingItem = QStringLiteral("DIMMING");

// What is wrong, and where: row and column as a spreadsheet shows them (0:
// the panel as a whole, or the file).
struct Refusal {
    int row = 0;
    int column = 0;
    QString heading;
    QString reason;
};
// "row 7, column D (MODULE): reason"
QString describe(const Refusal& refusal);

// One panel as its rows give it; values are list entries, as a click picks them.
struct PanelPlan {
    QString name;
    QString fileName; // FILE, or the one the save command proposes
    int firstRow = 0;
    std::array<int, 22> module{};  // module list entry: 0 "N/A", 1 ... 16 "A" ... "P"
    std::array<int, 22> channel{}; // channel list entry 0 ... 9; -1 with "N/A"
    std::array<QString, 20> designation;
    std::array<int, 3> intensity{};    // list entries of the backlighting, indicator, dimmed
    std::array<int, 3> intensityRow{}; // where each was given
    std::array<int, 3> intensityColumn{};
    QList<Refusal> refusals; // the panel is written only without any
};

struct Plan {
    QList<PanelPlan> panels; // in the order of their first rows
};

// The panels of a schedule, every value checked by the rules of the window's
// lists and boxes. A Refusal alone when the schedule cannot be read at all:
// a fault of its syntax, or a heading missing or given twice.
std::variant<Plan, Refusal> plan(const Csv::Table& table);
} // namespace Schedule
