#include "model/AssignmentTable.h"

const std::array<AssignmentRow, 22>& assignmentRows() {
    static const std::array<AssignmentRow, 22> rows = [] {
        std::array<AssignmentRow, 22> r;
        for (int i = 0; i < 20; ++i) {
            const bool isSwitch = i < 10;
            const int n = isSwitch ? i + 1 : i - 9;
            r[i] = {QString(isSwitch ? "SW%1" : "LED%1").arg(n),
                    2 * i + 1,
                    2 * i + 2,
                    Items::code[i],
                    Items::modulePart[i],
                    Items::channelPart[i],
                    true,
                    i + 3,
                    0,
                    0,
                    Items::outgoing[i],
                    qint16(isSwitch ? 1 : 2)};
        }
        r[backlightRow] = {"BACKLIGHTING",
                           41,
                           42,
                           &ConfigRecord::bl,
                           &ConfigRecord::blm,
                           &ConfigRecord::blc,
                           true,
                           0,
                           45,
                           15,
                           &ConfigRecord::bl,
                           2};
        r[dimmingRow] = {"DIMMING",
                         43,
                         44,
                         &ConfigRecord::dimch,
                         &ConfigRecord::dimchm,
                         &ConfigRecord::dimchc,
                         false,
                         0,
                         46,
                         16,
                         &ConfigRecord::dimch,
                         2};
        return r;
    }();
    return rows;
}
