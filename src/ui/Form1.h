#pragma once

#include "session/Session.h"
#include "ui/Controls.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class Announcer;
struct AssignmentRow;
class PanelPicture;

// The main window, a view of one session: the picture of the panel with the
// assignment controls over it, the two views, the intensity lists, the status
// box and the four command buttons. Its widgets show the session's state and
// hand clicks and edits to it; every rule is the session's.
class Form1 : public QWidget, private QAccessible::ActivationObserver {
    Q_OBJECT
public:
    static inline const QString caption =
        QStringLiteral("TARNEK KVQ 10 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM");

    // What the four command buttons run; the panel commands run as the
    // session's transactions. stopTransaction asks a running one to end at
    // its next wait.
    struct Commands {
        std::function<void()> READ_CONFIG_Click;
        std::function<void()> WRITE_CONFIG_Click;
        std::function<void()> READ_FILE_Click;
        std::function<void()> WRITE_FILE_Click;
        std::function<void()> stopTransaction;
    };

    explicit Form1(Session& session, QWidget* parent = nullptr);
    ~Form1() override;

    void setCommands(Commands commands) { m_commands = std::move(commands); }
    Session& session() const { return m_session; }

    // The controls in the order Tab walks them, following the panel: each
    // switch's module list, channel list and designation, the same for the
    // LEDs, the backlighting and dimming lists, the intensities, the panel
    // name, the option buttons and the four commands. Hidden controls are
    // skipped as Tab reaches them.
    QList<QWidget*> tabChain() const;

    // A list or text box by its number; one of the lighting view's builds
    // that view's controls first if need be.
    ListBox* list(int number);
    TextBox* textBox(int number);
    // The list if it has been built, else nullptr.
    ListBox* builtList(int number) const { return m_lists.at(size_t(number)); }
    StatusBox* statusBox() const { return m_status; }
    // What the window says to a screen reader: each message of the status
    // box as it appears, what undo and redo took back.
    Announcer* announcer() const { return m_announcer; }
    // Runs a command as its button does: one step of undo, nothing while a
    // transaction runs, and a command that replaces the configuration asks
    // first about unsaved changes.
    void runCommand(const std::function<void()>& command, bool replaces);
    // Where the keyboard is taken when the panel name is missing.
    void focusPanelName();
    QLabel* label(int number) const { return m_labels.at(size_t(number)); }

signals:
    // The lighting view's lists and designation boxes now exist.
    void lightingControlsBuilt();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void accessibilityActiveChanged(bool active) override;
    void buildWindow();
    void buildAssignmentControls();
    void buildDesignation(const AssignmentRow& row, int position);
    ListBox* buildList(int number, const QString& tip, const QColor& colour, QWidget* parent);
    void buildListPair(int row, QWidget* parent);
    void buildFrames();
    void buildLightingControls();
    bool listSeen(int list) const;
    void insertIntoTabChain(const QList<QWidget*>& controls);
    void connectList(int n);
    void connectBox(int n);
    void buildCommandControls();
    void buildKeyboard();
    void connectSession();

    void showList(int list);
    void showBox(int box);
    void showLabel(int label);
    void showStatus();
    void showView();
    void onTransactionRunning(bool running);

    Session& m_session;
    Commands m_commands;
    bool m_closeRequested = false;
    bool m_showingBox = false;
    bool m_lightingBuilt = false;
    QPointer<QWidget> m_focusBeforeTransaction;
    QString m_announcedStatus;      // the message said last, while the box shows it
    bool m_statusJustShown = false; // with the text of an earlier command, maybe
    Announcer* m_announcer = nullptr;

    std::array<ListBox*, Session::listCount> m_lists{};
    std::array<TextBox*, Session::boxCount> m_texts{};
    std::array<QLabel*, Session::labelCount> m_labels{};
    StatusBox* m_status = nullptr;
    PanelPicture* m_picture = nullptr;
    OptionButton* m_option1 = nullptr;
    OptionButton* m_option2 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    std::array<CommandButton*, 4> m_commandButtons{};
};
