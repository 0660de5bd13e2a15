// The module and channel lists of the 22 assignable items keep the item's
// module part, channel part and code in step with the selections.

#include "model/ChannelCode.h"
#include "ui/AssignmentTable.h"
#include "ui/Form1.h"

std::function<void()> Form1::handler(const QString& name) {
    const auto& rows = assignmentRows();
    for (int r = 0; r < int(rows.size()); ++r) {
        if (name == QString("List%1_Click").arg(rows[r].moduleList))
            return [this, r] { moduleListClick(r); };
        if (name == QString("List%1_Click").arg(rows[r].channelList)) {
            if (!rows[r].channelClick)
                return {};
            return [this, r] { channelListClick(r); };
        }
    }
    if (name == "List45_Click")
        return [this] { List45_Click(); };
    if (name == "List49_Click")
        return [this] { List49_Click(); };
    if (name == "List46_Click")
        return [this] { List46_Click(); };
    return {};
}

void Form1::moduleListClick(int r) {
    const AssignmentRow& row = assignmentRows()[r];
    ConfigRecord& rec = m_record;
    ListBox* module = m_lists[row.moduleList];
    const int position = module->listIndex();
    if (position != 0) {
        m_lists[row.channelList]->show();
        for (const QString& name : row.alsoShownWithModule)
            setControlVisible(name, true);
        rec.*row.modulePart = module->itemData(position);
        // The channel part is the one last set, even when the channel list
        // shows no selection.
        rec.*row.code = qint16(rec.*row.channelPart + rec.*row.modulePart);
    } else {
        rec.*row.code = module->itemData(0);
        m_lists[row.channelList]->hide();
        for (const QString& name : row.alsoShownWithModule)
            setControlVisible(name, false);
    }
}

void Form1::channelListClick(int r) {
    const AssignmentRow& row = assignmentRows()[r];
    ConfigRecord& rec = m_record;
    ListBox* channel = m_lists[row.channelList];
    rec.*row.channelPart = channel->itemData(channel->listIndex());
    rec.*row.code = qint16(rec.*row.modulePart + rec.*row.channelPart);
    if (row.designationBox)
        m_texts[row.designationBox]->show();
}
