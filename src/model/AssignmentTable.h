#pragma once

#include "model/ConfigRecord.h"

#include <QString>

#include <array>

// The 22 assignable items, SW1 ... SW10, LED1 ... LED10, the backlighting and
// the dimming input, in the order in which they are edited and gathered.
struct AssignmentRow {
    QString item;          // "SW1", "LED1" ... as the tool tips name it
    int moduleList;        // List1, List3 ... List43
    int channelList;       // List2, List4 ... List44
    RecordInt code;        // s1 ... led10, bl, dimch
    RecordInt modulePart;  // s1m ... dimchm
    RecordInt channelPart; // s1c ... blc, dimchc (never set: its list has no click)
    bool channelClick;     // the dimming channel list has no click behaviour
    int designationBox;    // Text3 ... Text22, shown by a channel click; 0 for none
    // Shown and hidden with the module after the channel list, in this order:
    // the intensity list and its label that the item governs; 0 for none.
    int intensityList;
    int intensityLabel;
    RecordInt outgoing;    // s1w ... led10w, bl, dimch: filled by CollectAssignments
    qint16 incompleteFlag; // error_flag when the item is incomplete
};

const std::array<AssignmentRow, 22>& assignmentRows();

inline constexpr int backlightRow = 20;
inline constexpr int dimmingRow = 21;

// The caption labels of the ten button positions, SW1 / LED1 ... SW10 / LED10.
inline constexpr std::array<int, 10> captionLabels = {2, 3, 4, 5, 8, 9, 10, 11, 12, 13};
