#pragma once

#include "site/BenchLoop.h"
#include "site/SiteModel.h"

#include <QWidget>

class Announcer;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The second window: a view of one site. One row per configuration file in
// the natural order of the names, with its panel, state, when and on which
// port; the summary line; a filter for the panels still to do. The file in
// the main window is the current row. Choosing a row only asks for it to be
// opened; what happens then is the site tool's.
class SiteWindow : public QWidget {
    Q_OBJECT
public:
    static inline const QString captionPrefix = QStringLiteral("SITE - ");

    explicit SiteWindow(SiteModel& site, QWidget* parent = nullptr);

    // The row of the file shown in the main window; -1 for none.
    void setCurrentRow(int row);
    // Whether the next panel opens by itself after "programmed".
    bool movesOn() const;
    bool onlyToDo() const;
    // The rows listed, in order: all, or those still to do.
    QList<int> listedRows() const;

    // While the bench runs, rows are not chosen and STOP is offered.
    void setBenchRunning(bool running);
    // A step of the bench: said in the bench line, which a screen reader
    // announces, and flashed green for programmed, red for failed.
    void showBench(BenchLoop::Step step, const QString& text);
    QString benchText() const;

    // The handover document's site name and who configured the site.
    QLineEdit* siteNameBox() const { return m_name; }
    QLineEdit* configuredByBox() const { return m_by; }

    // The outcome of WHICH PANEL IS THIS?: the rows of the files the panel
    // holds are selected, and listed whatever the filter, until another row
    // is chosen; text and details are said in the line under the buttons
    // and to a screen reader.
    void showIdentified(const QList<int>& rows, const QString& text,
                        const QStringList& details = {});
    QString identifiedText() const;
    QList<int> selectedRows() const;
    Announcer* announcer() const { return m_announcer; }

    QTreeWidget* table() const { return m_table; }
    QPushButton* openFolderButton() const { return m_openFolder; }

signals:
    void rowChosen(int row);
    void openFolderAsked();
    void benchAsked();
    void handoverAsked();
    void stopAsked();
    void identifyAsked();
    void importAsked();

private:
    void showSite();

    SiteModel& m_site;
    QLabel* m_folder = nullptr;
    QLabel* m_summary = nullptr;
    QCheckBox* m_filter = nullptr;
    QCheckBox* m_moveOn = nullptr;
    QTreeWidget* m_table = nullptr;
    QPushButton* m_openFolder = nullptr;
    QPushButton* m_bench = nullptr;
    QPushButton* m_stop = nullptr;
    QLabel* m_benchLine = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_by = nullptr;
    QPushButton* m_identify = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_identified = nullptr;
    Announcer* m_announcer = nullptr;
    QStringList m_identifiedFiles; // selected until the user chooses otherwise
    bool m_showing = false;        // the table is being filled, not chosen in
    int m_current = -1;
    QString m_goTo; // the row to make current at the next showing
};
