#pragma once

#include "model/ConfigRecord.h"
#include "model/IntensityCode.h"

#include <QString>

#include <optional>

// What the panel link and the file commands need of the main window: its
// record, the status box, list selections, text boxes and label captions,
// and the operations that bring the window up to date. Controls are named by
// their number (List7, Text3, Label19).
class ConfigScreen {
public:
    enum class StatusColour { Yellow, Red, Green };

    virtual ~ConfigScreen() = default;

    virtual ConfigRecord& record() = 0;

    virtual void setStatusVisible(bool visible) = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual QString statusText() const = 0;
    virtual void setStatusColour(StatusColour colour) = 0;

    // Selecting an entry runs the list's click behaviour, as a user's click does.
    virtual void selectListEntry(int list, int index) = 0;
    virtual int listIndex(int list) const = 0; // -1 when nothing is selected
    virtual qint16 itemData(int list, int index) const = 0;

    virtual QString boxText(int textBox) const = 0;
    virtual void setBoxText(int textBox, const QString& text) = 0;
    virtual void setBoxVisible(int textBox, bool visible) = 0;
    virtual QString labelCaption(int label) const = 0;

    virtual void CollectAssignments() = 0;
    // The assignment row of the first item CollectAssignments would find
    // without a module or a channel; nullopt when every item is complete.
    virtual std::optional<int> incompleteItem() const = 0;
    virtual void ShowSwitchView() = 0;
    virtual void showIntensity(IntensitySetting setting) = 0;
};
