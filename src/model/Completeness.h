#pragma once

#include "model/AssignmentTable.h"

#include <QString>

// What the save and the write say of a configuration that CollectAssignments
// found incomplete: error_flag 1 for a switch, 2 for anything else. The save
// spells "LED's", the write "LED'S".
namespace Completeness {
inline const QString switches =
    QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");
inline const QString ledsOnSave = QStringLiteral(
    "DATA MUST BE ENTERED (CLICKED) FOR ALL LED's AND BACKLIGHTING BEFORE WRITING DATA");
inline const QString ledsOnWrite = QStringLiteral(
    "DATA MUST BE ENTERED (CLICKED) FOR ALL LED'S AND BACKLIGHTING BEFORE WRITING DATA");

enum class Command { Save, Write };
inline QString message(int errorFlag, Command command) {
    if (errorFlag == 1)
        return switches;
    return command == Command::Save ? ledsOnSave : ledsOnWrite;
}
// The message for the incomplete item at an assignment row.
inline QString forItem(int row, Command command) {
    return message(assignmentRows().at(size_t(row)).incompleteFlag, command);
}
} // namespace Completeness
