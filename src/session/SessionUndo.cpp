// Undo and redo, and what was last stored. A step is bracketed by the first
// change a user or a command starts and its end: a list choice and all the
// clicks it sets off, the typing in one box, an open, a transaction. The
// screen before it is kept; a step that left the selections and texts as
// they were (a view, a save, a write) is no step.

#include "session/Session.h"

#include "model/AssignmentTable.h"
#include "model/IntensityCode.h"

#include <QFileInfo>

namespace {
constexpr size_t undoDepth = 200;
const QString saveQuestion = QStringLiteral("SAVE CHANGES TO THIS CONFIGURATION?");
} // namespace

Session::Snapshot Session::snapshot() const {
    Snapshot s;
    s.record = m_record;
    for (size_t l = 0; l < m_lists.size(); ++l) {
        s.lists[l] = m_lists[l].index;
        s.listsVisible[l] = m_lists[l].visible;
    }
    s.boxes = m_boxes;
    s.labels = m_labels;
    s.frameVisible = m_frameVisible;
    s.view = m_view;
    return s;
}

// Puts the screen back without running a click: the record comes back with
// the selections it went with.
void Session::restore(const Snapshot& s) {
    dropMarks();
    m_record = s.record;
    for (size_t l = 0; l < m_lists.size(); ++l) {
        m_lists[l].index = s.lists[l];
        m_lists[l].visible = s.listsVisible[l];
    }
    m_boxes = s.boxes;
    m_labels = s.labels;
    m_frameVisible = s.frameVisible;
    m_view = s.view;
    // The message told of what is now undone (or done again), and would sit
    // over the designations it brings back, as an open hides it.
    setStatusVisible(false);
    // Only the controls the window has: lists with entries, the text boxes
    // but the status box, labels with a caption.
    for (int l = 1; l < listCount; ++l)
        if (!m_lists[size_t(l)].texts.isEmpty())
            emit listChanged(l);
    for (int b = 2; b < boxCount; ++b)
        emit boxChanged(b);
    for (int l = 1; l < labelCount; ++l)
        if (!m_labels[size_t(l)].caption.isEmpty())
            emit labelChanged(l);
    emit viewChanged();
}

Session::Configuration Session::configuration() const {
    Configuration c;
    for (size_t l = 0; l < m_lists.size(); ++l)
        c.lists[l] = m_lists[l].index;
    for (size_t b = 2; b < m_boxes.size(); ++b)
        c.texts[b] = m_boxes[b].text;
    return c;
}

void Session::beginStep() {
    if (m_stepDepth++ == 0)
        m_stepStart = snapshot();
}

void Session::endStep() {
    if (--m_stepDepth > 0 || !m_stepStart)
        return;
    Snapshot before = std::move(*m_stepStart);
    m_stepStart.reset();
    Configuration was;
    for (size_t l = 0; l < m_lists.size(); ++l)
        was.lists[l] = before.lists[l];
    for (size_t b = 2; b < m_boxes.size(); ++b)
        was.texts[b] = before.boxes[b].text;
    if (was == configuration()) {
        m_originBefore.reset();
        emit undoChanged();
        return;
    }
    m_typingBox = 0;
    ++m_stepsTaken;
    before.origin = std::exchange(m_originBefore, std::nullopt);
    before.what = describeStep(was, before.origin.has_value());
    m_undo.push_back(std::move(before));
    if (m_undo.size() > undoDepth)
        m_undo.erase(m_undo.begin());
    m_redo.clear();
    emit undoChanged();
}

void Session::step(const std::function<void()>& change) {
    const StepGuard guard(*this);
    change();
}

// A step that opened or read takes the window's origin with it both ways.
void Session::swapOrigin(Snapshot& taken, const Snapshot& restored) {
    if (!restored.origin)
        return;
    taken.origin = std::make_pair(m_stored, m_storedPath);
    m_stored = restored.origin->first;
    m_storedPath = restored.origin->second;
    emit storedChanged();
}

bool Session::undo() {
    if (!canUndo())
        return false;
    Snapshot now = snapshot();
    now.what = m_undo.back().what;
    swapOrigin(now, m_undo.back());
    m_redo.push_back(std::move(now));
    restore(m_undo.back());
    m_undo.pop_back();
    m_typingBox = 0;
    emit undoChanged();
    emit undone(m_redo.back().what);
    return true;
}

bool Session::redo() {
    if (!canRedo())
        return false;
    Snapshot now = snapshot();
    now.what = m_redo.back().what;
    swapOrigin(now, m_redo.back());
    m_undo.push_back(std::move(now));
    restore(m_redo.back());
    m_redo.pop_back();
    m_typingBox = 0;
    emit undoChanged();
    emit redone(m_undo.back().what);
    return true;
}

// A step named as the user knows it: the control it changed ("SW3 MODULE",
// "PANEL NAME"), with the count of further ones a rule changed with it; an
// open by its file, a read by the panel.
QString Session::describeStep(const Configuration& before, bool stored) const {
    if (stored)
        return m_storedPath.isEmpty()
                   ? QStringLiteral("READ FROM PANEL")
                   : QStringLiteral("OPEN %1").arg(QFileInfo(m_storedPath).fileName());
    const Configuration after = configuration();
    QStringList changed;
    for (const AssignmentRow& row : assignmentRows()) {
        if (before.lists[size_t(row.moduleList)] != after.lists[size_t(row.moduleList)])
            changed << row.item + QStringLiteral(" MODULE");
        if (before.lists[size_t(row.channelList)] != after.lists[size_t(row.channelList)])
            changed << row.item + QStringLiteral(" CHANNEL");
        if (row.designationBox &&
            before.texts[size_t(row.designationBox)] != after.texts[size_t(row.designationBox)])
            changed << row.item + QStringLiteral(" DESIGNATION");
    }
    // The indicator first: lowering it below the backlighting lowers that too.
    for (IntensitySetting setting :
         {IntensitySetting::Indicator, IntensitySetting::Backlight, IntensitySetting::Dimmed}) {
        const IntensitySettingRow& row = intensityRow(setting);
        if (before.lists[size_t(row.list)] != after.lists[size_t(row.list)])
            changed << QString::fromLatin1(row.caption).remove(QStringLiteral(" (%)"));
    }
    if (before.texts[2] != after.texts[2])
        changed << m_labels[6].caption; // PANEL NAME
    if (changed.size() <= 1)
        return changed.value(0);
    return QStringLiteral("%1 AND %2 MORE").arg(changed.first()).arg(changed.size() - 1);
}

bool Session::unsavedChanges() const {
    return configuration() != m_stored;
}

// Within a step (an open, a read), what the window was on before is kept
// with the step; the last change of a step is the one it undoes.
void Session::storeOrigin(const QString& path) {
    if (m_stepDepth > 0)
        m_originBefore = std::make_pair(m_stored, m_storedPath);
    m_stored = configuration();
    m_storedPath = path;
    emit storedChanged();
}

void Session::configurationStored(const QString& path) {
    storeOrigin(path);
}

// The panel's configuration is not a file's.
void Session::configurationRead() {
    storeOrigin({});
}

void Session::assignmentsWritten() {
    m_stored.lists = configuration().lists;
    emit storedChanged();
}

bool Session::mayDiscard(const std::function<void()>& save) {
    if (!unsavedChanges())
        return true;
    QString text = saveQuestion;
    const QString name = m_storedPath.isEmpty() ? boxText(2) : QFileInfo(m_storedPath).fileName();
    if (!name.isEmpty())
        text += QLatin1Char('\n') + name;
    switch (m_dialogs.askToSave(text)) {
    case Dialogs::SaveAnswer::Save:
        if (save)
            save();
        return !unsavedChanges();
    case Dialogs::SaveAnswer::Discard:
        return true;
    case Dialogs::SaveAnswer::Cancel:
        break;
    }
    return false;
}
