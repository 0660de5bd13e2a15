// The window from the keyboard: a Tab order that follows the panel, and
// shortcuts for the four commands that leave the buttons' captions as they are.

#include "model/AssignmentTable.h"
#include "ui/Form1.h"

#include <QKeySequence>

QList<QWidget*> Form1::tabChain() const {
    QList<QWidget*> chain;
    for (const AssignmentRow& row : assignmentRows()) {
        chain << m_lists[row.moduleList] << m_lists[row.channelList];
        if (row.designationBox)
            chain << m_texts[row.designationBox];
    }
    chain << m_lists[49] << m_lists[45] << m_lists[46]; // top to bottom in their frame
    chain << m_texts[2];
    chain << m_option1 << m_option2;
    for (CommandButton* command : m_commandButtons) // open, save, read, write
        chain << command;
    return chain;
}

void Form1::buildKeyboard() {
    const QList<QWidget*> chain = tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    // Reading or writing a panel replaces what is there, so neither lies on a
    // key that is pressed for something else: Ctrl+W and Ctrl+Shift+W close
    // windows and tabs elsewhere, and Ctrl+P prints the sheet. U stands for
    // uploading to the panel.
    const QKeySequence keys[] = {QKeySequence("Ctrl+O"), QKeySequence("Ctrl+S"),
                                 QKeySequence("Ctrl+Shift+R"), QKeySequence("Ctrl+Shift+U")};
    for (size_t i = 0; i < m_commandButtons.size(); ++i)
        m_commandButtons[i]->setShortcut(keys[i]);
}
