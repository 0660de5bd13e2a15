#pragma once

#include "model/ConfigRecord.h"
#include "model/ConfigScreen.h"
#include "model/PanelValues.h"
#include "platform/Dialogs.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The editing screen without widgets: the configuration record, every list's
// entries, item data, selection and visibility, the text boxes, the labels,
// the status box and the view shown, with the behaviour of the window's
// controls. A selection runs that list's click behaviour whether a user or
// the program makes it. The window shows a session and hands it clicks and
// edits; the console commands and the sheet run one without any window.
// Every change of state is signalled, so a view can follow it.
class Session : public QObject, public ConfigScreen {
    Q_OBJECT
public:
    enum class View { Switch, Lighting };

    // Controls are numbered as in the window: List1 ... List49, Text1 ... Text22,
    // Label1 ... Label19; the frames are 1 and 2.
    static constexpr int listCount = 50;
    static constexpr int boxCount = 23;
    static constexpr int labelCount = 20;

    // What the intensity rule says when the indicator is set below the
    // backlighting.
    static inline const QString ruleMessage =
        QStringLiteral("NORMAL INDICATOR INTENSITY must be set equal to\n"
                       "or greater than NORMAL BACKLIGHTING INTENSITY.");

    // Messages go to dialogs, the rule's message among them. Starts as the
    // window loads: intensities at 100 %, the switch view.
    explicit Session(Dialogs& dialogs, QObject* parent = nullptr);

    // ConfigScreen
    ConfigRecord& record() override { return m_record; }
    void setStatusVisible(bool visible) override;
    void setStatusText(const QString& text) override;
    QString statusText() const override { return m_statusText; }
    void setStatusColour(StatusColour colour) override;
    void selectListEntry(int list, int index) override;
    int listIndex(int list) const override { return m_lists.at(size_t(list)).index; }
    qint16 itemData(int list, int index) const override;
    QString boxText(int box) const override { return m_boxes.at(size_t(box)).text; }
    void setBoxText(int box, const QString& text) override;
    void setBoxVisible(int box, bool visible) override;
    QString labelCaption(int label) const override { return m_labels.at(size_t(label)).caption; }
    void CollectAssignments() override;
    std::optional<int> incompleteItem() const override;
    void ShowSwitchView() override;
    void showIntensity(IntensitySetting setting) override;

    const ConfigRecord& record() const { return m_record; }

    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void List45_Click();
    void List49_Click();
    void List46_Click();
    void ShowBacklightIntensity();
    void ShowIndicatorIntensity();
    void ShowDimmedIntensity();

    // The click behaviour of a list by its handler's name ("List7_Click");
    // empty for a list without one (List44).
    std::function<void()> handler(const QString& name);

    // What a view shows.
    const QStringList& listEntries(int list) const { return m_lists.at(size_t(list)).texts; }
    bool listVisible(int list) const { return m_lists.at(size_t(list)).visible; }
    bool boxVisible(int box) const { return m_boxes.at(size_t(box)).visible; }
    bool labelVisible(int label) const { return m_labels.at(size_t(label)).visible; }
    bool frameVisible(int frame) const { return m_frameVisible.at(size_t(frame - 1)); }
    View view() const { return m_view; }
    bool statusVisible() const { return m_statusVisible; }
    // Empty until a command colours the box.
    std::optional<StatusColour> statusColour() const { return m_statusColour; }

    // The 25 values a write would send now: each item's code as
    // CollectAssignments forms it from the lists, and the entry of each
    // intensity list (100 % where a list has none). Changes nothing; nullopt
    // while an item is incomplete.
    std::optional<PanelValues> valuesToSend() const;

    // A panel transaction runs inside the command that started it and waits
    // on the event loop, so clicks reach the session meanwhile. Only one runs
    // at a time: false, and nothing run, while another one is running.
    // A transaction is one step of undo.
    bool runTransaction(const std::function<void()>& transaction);
    bool transactionRunning() const { return m_busy; }

    // Undo and redo, one user step at a time: a list choice, the typing in
    // one box until another step, an open or a read. A step is what changed
    // the selections or the texts; undo brings back the whole screen as it
    // was before it, record included. Neither runs during a transaction or
    // inside a step; false when nothing was done.
    bool undo();
    bool redo();
    bool canUndo() const { return !m_undo.empty() && !m_busy && m_stepDepth == 0; }
    bool canRedo() const { return !m_redo.empty() && !m_busy && m_stepDepth == 0; }
    // Runs change as a single step, whatever it selects and types.
    void step(const std::function<void()>& change);

    // Whether the configuration (selections, panel name, designations)
    // differs from the one last opened, saved or read. After a write the
    // panel holds the assignments, but the names live only in files.
    bool unsavedChanges() const;
    void configurationStored(const QString& path); // opened from or saved to path
    // The file the configuration was last opened from or saved to; empty
    // after a read from a panel or before any file.
    QString storedPath() const { return m_storedPath; }
    void configurationRead();
    void assignmentsWritten();
    // Before unsaved changes would be lost: asks whether to save them. True
    // when they may go: nothing unsaved, discarded, or save left nothing
    // unsaved; false when the user cancelled or the save did not happen.
    bool mayDiscard(const std::function<void()>& save);

signals:
    void listChanged(int list); // selection or visibility
    void boxChanged(int box);   // text or visibility
    void labelChanged(int label);
    void statusChanged();
    void viewChanged(); // the frames and the option buttons
    void transactionRunningChanged(bool running);
    void undoChanged(); // what undo and redo can do
    // The indicator intensity was below the backlighting's: the rule's
    // message was shown and the backlighting lowered to it.
    void intensityRuleApplied();

private:
    // An item's code formed from its lists; nullopt while incomplete.
    std::optional<qint16> formedCode(int row) const;
    void moduleListClick(int row);
    void channelListClick(int row);
    void intensityClick(IntensitySetting setting);
    void applyIntensityRule();
    void setListVisible(int list, bool visible);
    void setLabelVisible(int label, bool visible);
    void setLabelCaption(int label, const QString& caption);
    void setFramesVisible(bool visible);
    void setView(View view);

    struct Snapshot;
    struct Configuration {
        std::array<int, listCount> lists{};
        std::array<QString, boxCount> texts;
        bool operator==(const Configuration&) const = default;
    };
    class StepGuard {
    public:
        explicit StepGuard(Session& session) : m_session(session) { m_session.beginStep(); }
        ~StepGuard() { m_session.endStep(); }
        StepGuard(const StepGuard&) = delete;
        StepGuard& operator=(const StepGuard&) = delete;

    private:
        Session& m_session;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);
    Configuration configuration() const;
    void beginStep();
    void endStep();

    struct List {
        QStringList texts;
        QList<qint16> data;
        int index = -1;
        bool visible = true;
        std::function<void()> click;
    };
    struct Box {
        QString text;
        bool visible = true;
    };
    struct Label {
        QString caption;
        bool visible = true;
    };

    ConfigRecord m_record;
    Dialogs& m_dialogs;
    std::array<List, listCount> m_lists;
    std::array<Box, boxCount> m_boxes;
    std::array<Label, labelCount> m_labels;
    std::array<bool, 2> m_frameVisible{true, true};
    View m_view = View::Switch;
    QString m_statusText = QStringLiteral("Text1\r\n"); // what the box holds before any command
    std::optional<StatusColour> m_statusColour;
    bool m_statusVisible = false;
    bool m_busy = false;
    bool m_applyingRule = false;

    struct Snapshot {
        ConfigRecord record;
        std::array<int, listCount> lists{};
        std::array<bool, listCount> listsVisible{};
        std::array<Box, boxCount> boxes;
        std::array<Label, labelCount> labels;
        std::array<bool, 2> frameVisible{};
        View view = View::Switch;
        // What the window was last opened from, saved to or read, before a
        // step that opened or read: undoing an open puts the window back on
        // the file it was on.
        std::optional<std::pair<Configuration, QString>> origin;
    };
    std::vector<Snapshot> m_undo; // the screen before each step, the last step last
    std::vector<Snapshot> m_redo;
    std::optional<Snapshot> m_stepStart;
    int m_stepDepth = 0;
    int m_stepsTaken = 0;
    int m_typingBox = 0; // the box the last step typed in, while nothing else happened
    Configuration m_stored;
    QString m_storedPath;
    std::optional<std::pair<Configuration, QString>> m_originBefore; // of the step under way
    void storeOrigin(const QString& path);
    void swapOrigin(Snapshot& taken, const Snapshot& restored);
};
