// Start-up and the two views. A view only shows and hides controls and
// rewrites the caption labels; selections and texts survive every change.

#include "model/AssignmentTable.h"
#include "session/Session.h"

void Session::Form_Load() {
    m_record.indpercent = 10;
    m_record.blpercent = 10;
    m_record.dindpercent = 10;
    for (int l : {45, 46, 49})
        selectListEntry(l, 0);
    ShowSwitchView();
}

void Session::ShowSwitchView() {
    const auto& rows = assignmentRows();
    setFramesVisible(false);
    setView(View::Switch);
    for (int t = 3; t <= 12; ++t)
        setBoxVisible(t, m_record.config_flag == 0);
    for (int t = 13; t <= 22; ++t)
        setBoxVisible(t, false);
    for (size_t r = 0; r < 10; ++r) {
        setListVisible(rows[r].moduleList, true);
        setListVisible(rows[r].channelList, listIndex(rows[r].moduleList) != 0);
    }
    for (int l = 21; l <= 42; ++l)
        setListVisible(l, false);
    for (size_t k = 0; k < captionLabels.size(); ++k)
        setLabelCaption(captionLabels[k], QStringLiteral("SW%1").arg(k + 1));
}

void Session::Option1_Click() {
    ShowSwitchView();
}

void Session::Option2_Click() {
    const auto& rows = assignmentRows();
    setFramesVisible(true);
    setView(View::Lighting);
    for (int t = 3; t <= 12; ++t)
        setBoxVisible(t, false);
    for (int t = 13; t <= 22; ++t)
        setBoxVisible(t, true);
    for (int l = 1; l <= 20; ++l)
        setListVisible(l, false);
    for (size_t r = 10; r <= size_t(backlightRow); ++r) {
        setListVisible(rows[r].moduleList, true);
        setListVisible(rows[r].channelList, listIndex(rows[r].moduleList) != 0);
    }
    for (size_t k = 0; k < captionLabels.size(); ++k)
        setLabelCaption(captionLabels[k], QStringLiteral("LED%1").arg(k + 1));
}
