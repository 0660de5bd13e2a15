// Start-up and the two views. A view only shows and hides controls and
// rewrites the caption labels; selections and texts survive every change.

#include "ui/AssignmentTable.h"
#include "ui/Form1.h"

void Form1::Form_Load() {
    m_record.indpercent = 10;
    m_record.blpercent = 10;
    m_record.dindpercent = 10;
    for (int l : {45, 46, 49})
        m_lists[l]->setListIndex(0);
    ShowSwitchView();
}

void Form1::ShowSwitchView() {
    const auto& rows = assignmentRows();
    m_frame1->hide();
    m_frame2->hide();
    m_option1->setChecked(true);
    for (int t = 3; t <= 12; ++t)
        m_texts[t]->setVisible(m_record.config_flag == 0);
    for (int t = 13; t <= 22; ++t)
        m_texts[t]->hide();
    for (int r = 0; r < 10; ++r) {
        m_lists[rows[r].moduleList]->show();
        m_lists[rows[r].channelList]->setVisible(m_lists[rows[r].moduleList]->listIndex() != 0);
    }
    for (int l = 21; l <= 42; ++l)
        m_lists[l]->hide();
    for (int k = 0; k < 10; ++k) {
        m_labels[captionLabels[k]]->setText(QString("SW%1").arg(k + 1));
        m_labels[captionLabels[k]]->adjustSize();
    }
}

void Form1::Option1_Click() {
    ShowSwitchView();
}

void Form1::Option2_Click() {
    const auto& rows = assignmentRows();
    m_frame1->show();
    m_frame2->show();
    for (int t = 3; t <= 12; ++t)
        m_texts[t]->hide();
    for (int t = 13; t <= 22; ++t)
        m_texts[t]->show();
    for (int l = 1; l <= 20; ++l)
        m_lists[l]->hide();
    for (int r = 10; r <= backlightRow; ++r) {
        m_lists[rows[r].moduleList]->show();
        m_lists[rows[r].channelList]->setVisible(m_lists[rows[r].moduleList]->listIndex() != 0);
    }
    for (int k = 0; k < 10; ++k) {
        m_labels[captionLabels[k]]->setText(QString("LED%1").arg(k + 1));
        m_labels[captionLabels[k]]->adjustSize();
    }
}
