#pragma once

#include "ui/Form1.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <array>
#include <functional>

// What the window adds for comparing a panel and following a transaction:
// the COMPARE WITH PANEL button, a mark beside the lists of each item the
// panel holds otherwise, and the progress of a read, write or compare beside
// the status box. All of it sits in space the window leaves empty; the marks
// and the outcome are the session's, shown here.
class CompareControls : public QObject {
    Q_OBJECT
public:
    CompareControls(Form1& form, std::function<void()> compare);

    QPushButton* button() const { return m_button; }
    QProgressBar* progress() const { return m_progress; }
    // The mark showing the cell's item (memory map order) in its view.
    QLabel* markOf(size_t cell) const;

    // How far the transaction under way has come.
    void showProgress(int done, int of);

private:
    void showMarks();
    void onTransactionRunning(bool running);
    QLabel* makeMark(QWidget* parent, int left, int top);

    Form1& m_form;
    Session& m_session;
    QPushButton* m_button = nullptr;
    QProgressBar* m_progress = nullptr;
    std::array<QLabel*, 10>
        m_positionMarks{};                 // SW k in the switch view, LED k in the lighting view
    std::array<QLabel*, 5> m_frameMarks{}; // backlighting, dimming, the three intensities
    bool m_progressShown = false;
};
