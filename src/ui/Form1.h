#pragma once

#include "model/ConfigRecord.h"
#include "frontend/ConfigWindow.h"
#include "ui/Controls.h"
#include "frontend/Dialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>

class PanelPicture;

// The main window: the picture of the panel with the assignment controls
// over it, the two views, the intensity lists, the status box and the four
// command buttons. It owns the configuration record; the panel link and the
// file commands reach it through ConfigWindow.
class Form1 : public QWidget, public ConfigWindow {
    Q_OBJECT
public:
    static inline const QString caption =
        QStringLiteral("TARNEK KVQ 10 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM");

    // What the four command buttons run. A panel transaction waits on the
    // event loop; stopTransaction asks a running one to end at its next wait.
    struct Commands {
        std::function<void()> READ_CONFIG_Click;
        std::function<void()> WRITE_CONFIG_Click;
        std::function<void()> READ_FILE_Click;
        std::function<void()> WRITE_FILE_Click;
        std::function<void()> stopTransaction;
    };

    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~Form1() override;

    void setCommands(Commands commands) { m_commands = std::move(commands); }
    bool transactionRunning() const { return m_busy; }

    // ConfigWindow
    ConfigRecord& record() override { return m_record; }
    void setStatusVisible(bool visible) override;
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void setStatusColour(StatusColour colour) override;
    void selectListEntry(int list, int index) override;
    int listIndex(int list) const override;
    qint16 itemData(int list, int index) const override;
    QString boxText(int textBox) const override;
    void setBoxText(int textBox, const QString& text) override;
    void setBoxVisible(int textBox, bool visible) override;
    QString labelCaption(int label) const override;
    void CollectAssignments() override;
    void ShowSwitchView() override;
    void showIntensity(IntensitySetting setting) override;

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

    // The controls in the order Tab walks them, following the panel: each
    // switch's module list, channel list and designation, the same for the
    // LEDs, the backlighting and dimming lists, the intensities, the panel
    // name, the option buttons and the four commands. Hidden controls are
    // skipped as Tab reaches them.
    QList<QWidget*> tabChain() const;

    ListBox* list(int number) const { return m_lists.at(number); }
    TextBox* textBox(int number) const { return m_texts.at(number); }
    StatusBox* statusBox() const { return m_status; }
    QLabel* label(int number) const { return m_labels.at(number); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildAssignmentControls();
    void buildFrames();
    void buildCommandControls();
    void buildKeyboard();
    void connectHandlers();

    void moduleListClick(int row);
    void channelListClick(int row);
    void intensityClick(IntensitySetting setting);
    void applyIntensityRule();
    void showIntensityCode(IntensitySetting setting);
    void runCommand(const std::function<void()>& command, bool transaction);
    void setControlVisible(const QString& name, bool visible);

    ConfigRecord m_record;
    Dialogs& m_dialogs;
    Commands m_commands;
    bool m_busy = false;
    bool m_closeRequested = false;
    bool m_applyingRule = false;

    std::array<ListBox*, 50> m_lists{};
    std::array<TextBox*, 23> m_texts{};
    std::array<QLabel*, 20> m_labels{};
    StatusBox* m_status = nullptr;
    PanelPicture* m_picture = nullptr;
    OptionButton* m_option1 = nullptr;
    OptionButton* m_option2 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    std::array<CommandButton*, 4> m_commandButtons{};
};
