#include "model/ChannelCode.h"
#include "ui/AssignmentTable.h"
#include "ui/Form1.h"

// Gathers the selections of the 22 list pairs into the outgoing codes. The
// first incomplete item ends it with error_flag 1 (a switch) or 2 (anything
// else); the items before it keep their fresh codes, the rest their old ones.
void Form1::CollectAssignments() {
    for (const AssignmentRow& row : assignmentRows()) {
        const ListBox* module = m_lists[row.moduleList];
        const ListBox* channel = m_lists[row.channelList];
        if (module->listIndex() == 0) {
            m_record.*row.outgoing = module->itemData(0);
            continue;
        }
        if (module->listIndex() == -1 || channel->listIndex() == -1) {
            m_record.error_flag = row.incompleteFlag;
            return;
        }
        m_record.*row.outgoing =
            qint16(module->itemData(module->listIndex()) + channel->itemData(channel->listIndex()));
    }
    ShowSwitchView();
}
