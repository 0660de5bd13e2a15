// The compare with a panel: which items a write would change, shown as marks
// beside their lists until the configuration changes.

#include "session/Session.h"

#include "model/AssignmentTable.h"
#include "model/Completeness.h"
#include "session/PanelWords.h"

bool Session::readyToCompare() {
    if (valuesToSend())
        return true;
    const auto& rows = assignmentRows();
    int flag = 2;
    for (size_t r = 0; r < rows.size(); ++r)
        if (!formedCode(int(r))) {
            flag = rows[r].incompleteFlag;
            break;
        }
    setStatusVisible(true);
    setStatusColour(StatusColour::Red);
    setStatusText(Completeness::message(flag, Completeness::Command::Write));
    return false;
}

void Session::showComparison(const PanelValues& panel) {
    const std::optional<PanelValues> sent = valuesToSend();
    if (!sent) // made incomplete by a click during the compare
    {
        readyToCompare();
        return;
    }
    m_marks.clear();
    QStringList items;
    for (size_t k = 0; k < panel.size(); ++k)
        if (panel[k] != (*sent)[k]) {
            m_marks.push_back({k, panel[k]});
            items << PanelWords::item(*this, k);
        }
    setStatusVisible(true);
    if (m_marks.empty()) {
        setStatusColour(StatusColour::Green);
        setStatusText(QStringLiteral("PANEL AGREES WITH THIS CONFIGURATION"));
    } else {
        setStatusColour(StatusColour::Red);
        setStatusText(QStringLiteral("%1 %2: %3")
                          .arg(m_marks.size())
                          .arg(m_marks.size() == 1 ? QStringLiteral("ITEM DIFFERS")
                                                   : QStringLiteral("ITEMS DIFFER"),
                               items.join(QStringLiteral(", "))));
    }
    emit marksChanged();
}

std::optional<qint16> Session::markedPanelValue(size_t cell) const {
    for (const Mark& m : m_marks)
        if (m.cell == cell)
            return m.panel;
    return std::nullopt;
}

QString Session::markText(const Mark& mark) const {
    return QStringLiteral("%1: IN THE PANEL %2")
        .arg(PanelWords::item(*this, mark.cell), PanelWords::value(mark.cell, mark.panel));
}

void Session::dropMarks() {
    if (m_marks.empty())
        return;
    m_marks.clear();
    emit marksChanged();
}
