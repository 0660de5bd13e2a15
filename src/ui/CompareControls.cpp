#include "ui/CompareControls.h"

#include "model/AssignmentTable.h"
#include "model/ButtonPosition.h"
#include "model/MemoryMap.h"
#include "ui/Twips.h"

#include <QGroupBox>

namespace {
// The mark's fixed colours, text and background alike, so that no theme
// makes it unreadable: white on the status box's red.
const QColor markText(255, 255, 255);
const QColor markBackground(255, 0, 0);

// Which list shows a cell's value.
QList<int> listsOf(size_t cell) {
    const MemoryMap::Cell& c = MemoryMap::cells[cell];
    if (c.isChannel)
        return {c.moduleList, c.channelList};
    return {intensityRow(c.setting).list};
}

// Every change of a name or description goes to a screen reader as an
// event, changed or not. The marks are shown afresh at each change of the
// configuration: a read would send some 150 events that change nothing, and
// a reader that falls that far behind drops the read's outcome.
void describe(QWidget* w, const QString& text) {
    if (w->accessibleDescription() != text)
        w->setAccessibleDescription(text);
}

void name(QWidget* w, const QString& text) {
    if (w->accessibleName() != text)
        w->setAccessibleName(text);
}
} // namespace

CompareControls::CompareControls(Form1& form, std::function<void()> compare)
    : QObject(&form), m_form(form), m_session(form.session()) {
    m_button = new CommandButton("COMPARE_CONFIG", "COMPARE WITH PANEL", &form);
    m_button->setToolTip("LEFT CLICK TO COMPARE THE SWITCH PANEL WITH THIS CONFIGURATION");
    m_button->setFont(form.findChild<QPushButton*>("READ_CONFIG")->font());
    // Right of the lighting channels frame, under the panel commands.
    m_button->setGeometry(twipsRect(9600, 3720, 1575, 855));
    connect(m_button, &QPushButton::clicked, this, [compare = std::move(compare), this] {
        if (compare && !m_session.transactionRunning())
            compare();
    });

    // Under its command, where the window is empty.
    m_progress = new QProgressBar(&form);
    m_progress->setObjectName("TransactionProgress");
    m_progress->setAccessibleName("PANEL COMMUNICATIONS PROGRESS");
    m_progress->setFormat("%v OF %m");
    m_progress->setGeometry(twipsRect(9600, 4680, 1575, 255));
    m_progress->hide();

    for (int k = 1; k <= 10; ++k) {
        const ButtonPosition at = buttonPosition(k);
        // Under the position's caption, beside its lists.
        m_positionMarks[size_t(k - 1)] = makeMark(&form, at.labelLeft, at.listTop + 375);
    }
    auto* frame1 = form.findChild<QGroupBox*>("Frame1");
    auto* frame2 = form.findChild<QGroupBox*>("Frame2");
    m_frameMarks[0] = makeMark(frame1, 3180, 240);  // right of List42
    m_frameMarks[1] = makeMark(frame1, 3180, 960);  // right of List44
    m_frameMarks[2] = makeMark(frame2, 3900, 1080); // List45, backlighting
    m_frameMarks[3] = makeMark(frame2, 3900, 240);  // List49, indicator
    m_frameMarks[4] = makeMark(frame2, 3900, 1920); // List46, dimmed

    connect(&m_session, &Session::marksChanged, this, &CompareControls::showMarks);
    connect(&m_session, &Session::viewChanged, this, &CompareControls::showMarks);
    connect(&form, &Form1::lightingControlsBuilt, this, &CompareControls::showMarks);
    connect(&m_session, &Session::transactionRunningChanged, this,
            &CompareControls::onTransactionRunning);
    // The progress goes with the status box it belongs to: an open or save
    // hides both.
    connect(&m_session, &Session::statusChanged, this,
            [this] { m_progress->setVisible(m_progressShown && m_session.statusVisible()); });
    showMarks();
}

QLabel* CompareControls::makeMark(QWidget* parent, int left, int top) {
    auto* mark = new QLabel(QStringLiteral("\u2260"), parent); // ≠
    mark->setAlignment(Qt::AlignCenter);
    mark->setAutoFillBackground(true);
    QPalette p = mark->palette();
    p.setColor(QPalette::WindowText, markText);
    p.setColor(QPalette::Window, markBackground);
    mark->setPalette(p);
    mark->setGeometry(twipsRect(left, top, 300, 285));
    mark->hide();
    return mark;
}

QLabel* CompareControls::markOf(size_t cell) const {
    if (cell < 20)
        return m_positionMarks[cell % 10];
    return m_frameMarks[cell - 20];
}

void CompareControls::showMarks() {
    const bool lighting = m_session.view() == Session::View::Lighting;
    for (size_t cell = 0; cell < MemoryMap::cells.size(); ++cell) {
        const std::optional<qint16> panel = m_session.markedPanelValue(cell);
        const QString text = panel ? m_session.markText({cell, *panel}) : QString();
        for (int list : listsOf(cell))
            if (ListBox* l = m_form.builtList(list))
                describe(l, text);
        const bool inView = cell >= 20 || (cell >= 10) == lighting;
        if (!inView)
            continue;
        QLabel* mark = markOf(cell);
        mark->setObjectName(QStringLiteral("CompareMark%1").arg(cell));
        mark->setToolTip(text);
        name(mark, text.isEmpty() ? QString() : QStringLiteral("DIFFERS"));
        describe(mark, text);
        mark->setVisible(panel.has_value());
    }
}

void CompareControls::onTransactionRunning(bool running) {
    m_button->setEnabled(!running);
    if (running) {
        m_progressShown = false;
        m_progress->setValue(0);
        m_progress->hide();
    }
}

void CompareControls::showProgress(int done, int of) {
    m_progressShown = true;
    m_progress->setRange(0, of);
    m_progress->setValue(done);
    m_progress->setVisible(m_session.statusVisible());
}
