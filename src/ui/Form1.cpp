#include "ui/Form1.h"

#include "ui/Announcer.h"
#include "ui/FocusRing.h"

#include <QCloseEvent>

#include <algorithm>

#include <utility>

Form1::Form1(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    buildWindow();
    m_announcer = new Announcer(this);
    buildKeyboard();
    connectSession();
    new FocusRing(this);
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive())
        accessibilityActiveChanged(true);
}

Form1::~Form1() {
    QAccessible::removeActivationObserver(this);
}

// A screen reader is told of every control as it is built. With one
// listening, the lighting view is built as soon as the window is (or the
// reader comes), not in the middle of a read, where the reader would fall
// so far behind that it drops the read's outcome.
void Form1::accessibilityActiveChanged(bool active) {
    if (active && !m_lightingBuilt)
        QMetaObject::invokeMethod(this, &Form1::buildLightingControls, Qt::QueuedConnection);
}

void Form1::connectSession() {
    for (int n = 1; n < int(m_lists.size()); ++n)
        if (m_lists[size_t(n)])
            connectList(n);
    for (int n = 2; n < int(m_texts.size()); ++n)
        if (m_texts[size_t(n)])
            connectBox(n);
    for (int n = 1; n < int(m_labels.size()); ++n)
        if (m_labels[size_t(n)])
            showLabel(n);
    showStatus();
    showView();
    connect(&m_session, &Session::listChanged, this, &Form1::showList);
    connect(&m_session, &Session::boxChanged, this, &Form1::showBox);
    connect(&m_session, &Session::labelChanged, this, &Form1::showLabel);
    connect(&m_session, &Session::statusChanged, this, &Form1::showStatus);
    connect(&m_session, &Session::viewChanged, this, &Form1::showView);
    connect(&m_session, &Session::transactionRunningChanged, this, &Form1::onTransactionRunning);
    connect(&m_session, &Session::undone, this,
            [this](const QString& what) { m_announcer->say(QStringLiteral("UNDO: ") + what); });
    connect(&m_session, &Session::redone, this,
            [this](const QString& what) { m_announcer->say(QStringLiteral("REDO: ") + what); });

    connect(m_option1, &QAbstractButton::clicked, &m_session, &Session::Option1_Click);
    connect(m_option2, &QAbstractButton::clicked, &m_session, &Session::Option2_Click);
    const std::array<std::function<void()> Commands::*, 4> commands = {
        &Commands::READ_FILE_Click, &Commands::WRITE_FILE_Click, &Commands::READ_CONFIG_Click,
        &Commands::WRITE_CONFIG_Click};
    // Opening a file and reading a panel replace the configuration shown.
    const std::array<bool, 4> replaces = {true, false, true, false};
    for (size_t i = 0; i < commands.size(); ++i)
        connect(m_commandButtons[i], &QAbstractButton::clicked, this,
                [this, command = commands[i], replace = replaces[i]] {
                    runCommand(m_commands.*command, replace);
                });
}

void Form1::connectList(int n) {
    connect(m_lists[size_t(n)], &ListBox::chosen, this,
            [this, n](int index) { m_session.selectListEntry(n, index); });
    showList(n);
}

void Form1::connectBox(int n) {
    connect(m_texts[size_t(n)], &QLineEdit::textChanged, this, [this, n](const QString& text) {
        if (!m_showingBox)
            m_session.setBoxText(n, text);
    });
    showBox(n);
}

ListBox* Form1::list(int number) {
    if (!m_lists.at(size_t(number)))
        buildLightingControls();
    return m_lists.at(size_t(number));
}

TextBox* Form1::textBox(int number) {
    if (!m_texts.at(size_t(number)))
        buildLightingControls();
    return m_texts.at(size_t(number));
}

// A command is one step of undo, however many selections it makes.
void Form1::runCommand(const std::function<void()>& command, bool replaces) {
    if (!command || m_session.transactionRunning())
        return;
    if (replaces && !m_session.mayDiscard(m_commands.WRITE_FILE_Click))
        return;
    m_session.step(command);
}

// A control of the lighting view not built yet shows the session's state
// once it is; it is built as soon as the session shows it.
void Form1::showList(int n) {
    ListBox* l = m_lists.at(size_t(n));
    if (!l) {
        if (listSeen(n))
            buildLightingControls();
        return;
    }
    if (l->listIndex() != m_session.listIndex(n))
        l->showListIndex(m_session.listIndex(n));
    l->setVisible(m_session.listVisible(n));
}

void Form1::showBox(int n) {
    TextBox* box = m_texts.at(size_t(n));
    if (!box) {
        if (m_session.boxVisible(n))
            buildLightingControls();
        return;
    }
    if (box->text() != m_session.boxText(n)) {
        m_showingBox = true;
        box->setText(m_session.boxText(n));
        // A text that came from a file, a panel or an undo is shown from its
        // beginning, as a box shows it that nobody is typing in.
        if (!box->hasFocus())
            box->home(false);
        m_showingBox = false;
    }
    box->setVisible(m_session.boxVisible(n));
}

void Form1::showLabel(int n) {
    QLabel* label = m_labels.at(size_t(n));
    if (label->text() != m_session.labelCaption(n)) {
        label->setText(m_session.labelCaption(n));
        if (!label->wordWrap())
            label->adjustSize();
    }
    label->setVisible(m_session.labelVisible(n));
}

void Form1::showStatus() {
    if (const auto colour = m_session.statusColour()) {
        switch (*colour) {
        case ConfigScreen::StatusColour::Yellow:
            m_status->setColours(QColor(255, 255, 0));
            break;
        case ConfigScreen::StatusColour::Red:
            m_status->setColours(QColor(255, 0, 0));
            break;
        case ConfigScreen::StatusColour::Green:
            m_status->setColours(QColor(0, 255, 0));
            break;
        }
    }
    const bool appears = m_status->isHidden() && m_session.statusVisible();
    if (m_status->text() != m_session.statusText())
        m_status->setText(m_session.statusText());
    m_status->setVisible(m_session.statusVisible());
    // Each message is said once as it appears, wherever the keyboard is; the
    // keyboard stays where the user put it. A box that appears with the
    // message of an earlier command and gets its own at once says only that.
    if (!m_session.statusVisible()) {
        m_announcedStatus.clear();
    } else if (m_session.statusText() != m_announcedStatus) {
        if (std::exchange(m_statusJustShown, false))
            m_announcer->withdraw(m_announcedStatus);
        m_statusJustShown = appears;
        m_announcedStatus = m_session.statusText();
        m_announcer->say(m_announcedStatus);
    }
}

void Form1::showView() {
    if (m_session.frameVisible(1) || m_session.frameVisible(2))
        buildLightingControls();
    m_frame1->setVisible(m_session.frameVisible(1));
    m_frame2->setVisible(m_session.frameVisible(2));
    (m_session.view() == Session::View::Switch ? m_option1 : m_option2)->setChecked(true);
}

// The command buttons are held still while a transaction runs, but for the
// one that has the keyboard: it stays as it is, and a press of it does
// nothing until the end (runCommand). Disabling it would hand the keyboard
// on to a list, where a key changes an assignment, and each move of the
// keyboard has a screen reader cut off what it was saying. Elsewhere (a
// list, a box: the command came by its shortcut) the keyboard rests on the
// window meanwhile and comes back once the transaction has ended. It moves
// at the transaction's first wait: a command that ends at once (nothing to
// write, no port) leaves it where it is, and a screen reader says the
// outcome alone instead of the control it came back to.
void Form1::onTransactionRunning(bool running) {
    QWidget* focus = focusWidget();
    const bool onCommand = std::find(m_commandButtons.begin(), m_commandButtons.end(), focus) !=
                           m_commandButtons.end();
    if (running && !onCommand) {
        m_focusBeforeTransaction = focus;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_session.transactionRunning() && m_focusBeforeTransaction &&
                    focusWidget() == m_focusBeforeTransaction)
                    setFocus(Qt::OtherFocusReason);
            },
            Qt::QueuedConnection);
    }
    for (CommandButton* b : m_commandButtons)
        b->setEnabled(!running || (onCommand && b == focus));
    if (running)
        return;
    if (m_focusBeforeTransaction && m_focusBeforeTransaction->isEnabled() &&
        m_focusBeforeTransaction->isVisible() && focusWidget() == this)
        m_focusBeforeTransaction->setFocus(Qt::OtherFocusReason);
    m_focusBeforeTransaction.clear();
    if (m_closeRequested)
        close();
}

// A close during a transaction is held back: the transaction is asked to
// end at its next wait, and the window closes once the port is closed.
// Otherwise unsaved changes are asked about first; a close held back for a
// transaction closes as it did.
void Form1::closeEvent(QCloseEvent* event) {
    if (!m_session.transactionRunning()) {
        const bool held = std::exchange(m_closeRequested, false);
        if (!held && !m_session.mayDiscard(m_commands.WRITE_FILE_Click)) {
            event->ignore();
            return;
        }
        event->accept();
        return;
    }
    event->ignore();
    m_closeRequested = true;
    if (m_commands.stopTransaction)
        m_commands.stopTransaction();
}
