// The window from the keyboard: a Tab order that follows the panel, and
// shortcuts for the four commands that leave the buttons' captions as they are.

#include "model/AssignmentTable.h"
#include "ui/Form1.h"

#include <QKeySequence>
#include <QShortcut>

QList<QWidget*> Form1::tabChain() const {
    QList<QWidget*> chain;
    // The lighting view's controls are left out until they are built.
    const auto add = [&chain](QWidget* control) {
        if (control)
            chain << control;
    };
    for (const AssignmentRow& row : assignmentRows()) {
        add(m_lists[row.moduleList]);
        add(m_lists[row.channelList]);
        if (row.designationBox)
            add(m_texts[row.designationBox]);
    }
    for (int list : {49, 45, 46}) // top to bottom in their frame
        add(m_lists[size_t(list)]);
    chain << m_texts[2];
    chain << m_option1 << m_option2;
    for (CommandButton* command : m_commandButtons) // open, save, read, write
        chain << command;
    chain << m_status; // the outcome of a command, while it is shown
    return chain;
}

// Controls built late go to their places in the chain: each after the one
// it follows, which leaves the rest of the chain (and what the program put
// into it since) as it was.
void Form1::insertIntoTabChain(const QList<QWidget*>& controls) {
    const QList<QWidget*> chain = tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i)
        if (controls.contains(chain[i]))
            setTabOrder(chain[i - 1], chain[i]);
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

    // Undo and redo are the session's; the text boxes leave these keys to
    // the window, so one undo covers typing and clicks alike.
    auto bind = [this](const QKeySequence& key, auto action) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { m_session.undo(); });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { m_session.redo(); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { m_session.redo(); });

    // The places far along the Tab chain, without marks in the fixed
    // captions: the panel name, the serial port, and the first module list
    // of the view shown (SW1's, or LED1's in the lighting view).
    bind(QKeySequence(Qt::ALT | Qt::Key_N), [this] { focusPanelName(); });
    bind(QKeySequence(Qt::ALT | Qt::Key_P), [this] {
        if (auto* port = findChild<QWidget*>(QStringLiteral("PortPicker"));
            port && port->isEnabled())
            port->setFocus(Qt::ShortcutFocusReason);
    });
    bind(QKeySequence(Qt::ALT | Qt::Key_M), [this] {
        ListBox* first = list(m_session.view() == Session::View::Switch ? 1 : 21);
        first->setFocus(Qt::ShortcutFocusReason);
    });
}

void Form1::focusPanelName() {
    m_texts[2]->setFocus(Qt::ShortcutFocusReason);
    m_texts[2]->selectAll();
}
