#include "session/Session.h"

#include "model/AssignmentTable.h"
#include "model/ChannelCode.h"
#include "model/IntensityCode.h"

namespace {
// The fixed captions; the ten caption labels are rewritten by each view.
struct Caption {
    int label;
    const char* text;
};
constexpr Caption fixedCaptions[] = {
    {1, "DIMMING"},
    {6, "PANEL NAME"},
    {7, "PROGRAMMING HEADER LOCATION"},
    {19, "BACKLIGHT"},
};
} // namespace

Session::Session(Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs) {
    for (const AssignmentRow& row : assignmentRows()) {
        List& module = m_lists[size_t(row.moduleList)];
        List& channel = m_lists[size_t(row.channelList)];
        for (int e = 0; e < ChannelCode::moduleCount; ++e) {
            module.texts << QString::fromLatin1(ChannelCode::moduleTexts[size_t(e)]);
            module.data << ChannelCode::moduleData[size_t(e)];
        }
        for (int e = 0; e < ChannelCode::channelCount; ++e) {
            channel.texts << QString::fromLatin1(ChannelCode::channelTexts[size_t(e)]);
            channel.data << ChannelCode::channelData[size_t(e)];
        }
    }
    for (const IntensitySettingRow& row : intensitySettings)
        for (int e = 0; e < IntensityCode::entryCount; ++e) {
            m_lists[size_t(row.list)].texts << QString::fromLatin1(IntensityCode::texts[size_t(e)]);
            m_lists[size_t(row.list)].data << IntensityCode::codes[size_t(e)];
        }
    for (int n = 1; n < listCount; ++n)
        m_lists[size_t(n)].click = handler(QStringLiteral("List%1_Click").arg(n));

    for (const AssignmentRow& row : assignmentRows())
        if (row.designationBox)
            m_boxes[size_t(row.designationBox)].text = designationPlaceholder;
    for (const Caption& c : fixedCaptions)
        m_labels[size_t(c.label)].caption = QString::fromLatin1(c.text);
    // The labels beside the intensity lists: backlighting, indicator, dimmed.
    constexpr int intensityLabels[] = {15, 17, 16};
    for (size_t i = 0; i < intensitySettings.size(); ++i)
        m_labels[size_t(intensityLabels[i])].caption =
            QString::fromLatin1(intensitySettings[i].caption);
    for (size_t k = 0; k < captionLabels.size(); ++k)
        m_labels[size_t(captionLabels[k])].caption = QStringLiteral("SW%1").arg(k + 1);
    Form_Load();
    // The window as it opens is nothing to undo, and nothing to lose.
    m_undo.clear();
    m_stored = configuration();
}

void Session::setStatusVisible(bool visible) {
    m_statusVisible = visible;
    emit statusChanged();
}

void Session::setStatusText(const QString& text) {
    m_statusText = text;
    emit statusChanged();
}

void Session::setStatusColour(StatusColour colour) {
    m_statusColour = colour;
    emit statusChanged();
}

// A position that names no entry clears the selection and runs nothing.
void Session::selectListEntry(int list, int index) {
    const StepGuard step(*this);
    dropMarks(); // they told of the configuration as it was
    List& l = m_lists.at(size_t(list));
    const bool entry = index >= 0 && index < l.data.size();
    l.index = entry ? index : -1;
    emit listChanged(list);
    if (entry && l.click)
        l.click();
}

qint16 Session::itemData(int list, int index) const {
    const List& l = m_lists.at(size_t(list));
    return index >= 0 && index < l.data.size() ? l.data[index] : 0;
}

// Typing is one step per box: each key after the first in the same box,
// with nothing else done in between, belongs to the step of the first.
void Session::setBoxText(int box, const QString& text) {
    dropMarks();
    const bool typing = m_stepDepth == 0;
    if (typing && box == m_typingBox && !m_undo.empty()) {
        m_boxes.at(size_t(box)).text = text;
        emit boxChanged(box);
        return;
    }
    const int taken = m_stepsTaken;
    {
        const StepGuard step(*this);
        m_boxes.at(size_t(box)).text = text;
        emit boxChanged(box);
    }
    if (typing && m_stepsTaken != taken)
        m_typingBox = box;
}

void Session::setBoxVisible(int box, bool visible) {
    m_boxes.at(size_t(box)).visible = visible;
    emit boxChanged(box);
}

void Session::setListVisible(int list, bool visible) {
    m_lists.at(size_t(list)).visible = visible;
    emit listChanged(list);
}

void Session::setLabelVisible(int label, bool visible) {
    m_labels.at(size_t(label)).visible = visible;
    emit labelChanged(label);
}

void Session::setLabelCaption(int label, const QString& caption) {
    m_labels.at(size_t(label)).caption = caption;
    emit labelChanged(label);
}

void Session::setFramesVisible(bool visible) {
    m_frameVisible = {visible, visible};
    emit viewChanged();
}

void Session::setView(View view) {
    m_view = view;
    emit viewChanged();
}

bool Session::runTransaction(const std::function<void()>& transaction) {
    if (m_busy)
        return false;
    {
        const StepGuard step(*this);
        m_busy = true;
        emit transactionRunningChanged(true);
        transaction();
        m_busy = false;
    }
    emit transactionRunningChanged(false);
    return true;
}
