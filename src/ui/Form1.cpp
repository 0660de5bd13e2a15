#include "ui/Form1.h"

#include "ui/AssignmentTable.h"

#include <QCloseEvent>

Form1::Form1(Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs) {
    buildWindow();
    buildKeyboard();
    connectHandlers();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::connectHandlers() {
    for (int n = 1; n < int(m_lists.size()); ++n) {
        ListBox* l = m_lists[n];
        if (!l)
            continue;
        if (auto run = handler(QString("List%1_Click").arg(n)))
            connect(l, &ListBox::chosen, this, run);
    }
    connect(m_option1, &QAbstractButton::clicked, this, &Form1::Option1_Click);
    connect(m_option2, &QAbstractButton::clicked, this, &Form1::Option2_Click);

    const std::array<std::function<void()> Commands::*, 4> commands = {
        &Commands::READ_FILE_Click, &Commands::WRITE_FILE_Click, &Commands::READ_CONFIG_Click,
        &Commands::WRITE_CONFIG_Click};
    for (size_t i = 0; i < commands.size(); ++i) {
        const bool transaction = i >= 2;
        connect(m_commandButtons[i], &QAbstractButton::clicked, this,
                [this, command = commands[i], transaction] {
                    runCommand(m_commands.*command, transaction);
                });
    }
}

// A panel transaction waits on the event loop, so clicks reach the window
// while it runs. The command buttons stay disabled until it has ended, and a
// close is held back until the port has been closed.
void Form1::runCommand(const std::function<void()>& command, bool transaction) {
    if (!command || m_busy)
        return;
    if (!transaction) {
        command();
        return;
    }
    m_busy = true;
    for (CommandButton* b : m_commandButtons)
        b->setEnabled(false);
    command();
    for (CommandButton* b : m_commandButtons)
        b->setEnabled(true);
    m_busy = false;
    if (m_closeRequested)
        close();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!m_busy) {
        event->accept();
        return;
    }
    event->ignore();
    m_closeRequested = true;
    if (m_commands.stopTransaction)
        m_commands.stopTransaction();
}

void Form1::setStatusVisible(bool visible) {
    m_status->setVisible(visible);
}

void Form1::setStatusText(const QString& text) {
    m_status->setText(text);
}

QString Form1::statusText() const {
    return m_status->text();
}

void Form1::setStatusColour(StatusColour colour) {
    switch (colour) {
    case StatusColour::Yellow:
        m_status->setColours(QColor(255, 255, 0));
        break;
    case StatusColour::Red:
        m_status->setColours(QColor(255, 0, 0));
        break;
    case StatusColour::Green:
        m_status->setColours(QColor(0, 255, 0));
        break;
    }
}

void Form1::selectListEntry(int list, int index) {
    m_lists.at(list)->setListIndex(index);
}

int Form1::listIndex(int list) const {
    return m_lists.at(list)->listIndex();
}

qint16 Form1::itemData(int list, int index) const {
    return m_lists.at(list)->itemData(index);
}

QString Form1::boxText(int textBox) const {
    return m_texts.at(textBox)->text();
}

void Form1::setBoxText(int textBox, const QString& text) {
    m_texts.at(textBox)->setText(text);
}

void Form1::setBoxVisible(int textBox, bool visible) {
    m_texts.at(textBox)->setVisible(visible);
}

QString Form1::labelCaption(int label) const {
    return m_labels.at(label)->text();
}

void Form1::setControlVisible(const QString& name, bool visible) {
    if (auto* w = findChild<QWidget*>(name))
        w->setVisible(visible);
}
