#pragma once

#include "link/PanelLink.h"
#include "platform/Settings.h"
#include "site/BenchLoop.h"
#include "site/SiteModel.h"

#include <QObject>

#include <functional>
#include <optional>

class PanelTool;
class SiteWindow;
class QToolButton;

// A site in the window: the site window beside the main one, opened by the
// SITE button or Ctrl+Shift+T. Choosing a row opens its file in the main
// window, after the question about unsaved changes. A write of a site file
// from the main window saves the file first, is recorded in the site log and
// shown in its row; once the panel is programmed the next panel still to do
// opens, ready for the next write.
class SiteTool : public QObject {
    Q_OBJECT
public:
    explicit SiteTool(PanelTool& tool);
    ~SiteTool() override;

    // Opens folder as the site and shows the site window; a folder that
    // cannot be read is said in a message box. With openFirst, the first
    // panel still to do is opened in the main window.
    bool openSite(const QString& folder, bool openFirst);
    // The site window, shown and raised; asks for a folder when no site is open.
    void showWindow();
    // Opens row's file in the main window, asking first about unsaved changes.
    void openRow(int row);

    // Bench mode: each panel of the site written as it is plugged in, until
    // the site is done, STOP or Escape. Returns how it ended.
    BenchLoop::Step runBench();
    void stopBench();
    bool benchRunning() const { return m_bench.running(); }
    // How the bench waits; the event loop's own unless set.
    void setBenchTiming(std::function<void()> waitForEvents,
                        std::function<void(int ms, std::function<void()>)> after);
    // The outcome as a sound: one tone for programmed, three for failed.
    std::function<void(BenchLoop::Step)> sound;

    // Where the site name and who configured it are remembered, per folder.
    void setSettings(Settings& settings);
    // The site's handover document as a PDF: the sheet command's site
    // document with the name and configured-by of the site window, and on
    // the cover each panel's commissioning from the log. False when it was
    // not written (said in a message) or cancelled.
    bool saveHandover();

    // WHICH PANEL IS THIS?: reads the panel through the main window's link,
    // changing none of its configuration, and matches it against every file
    // of the site as identify does. The rows of the files it holds are
    // selected, each recorded in the site log with the model; the outcome is
    // said in the site window and the status box. Returns the rows matched.
    QList<int> identifyPanel();
    // Asks for a CSV schedule and imports it into the site's folder as the
    // import command does, never replacing a file of the site; what was
    // written and each refusal, with its row and column, are said in a
    // message. False when a panel was not written or nothing was imported.
    bool importSchedule();

    SiteModel& site() { return m_site; }
    // The site window, built on first use.
    SiteWindow* window();
    QToolButton* button() const { return m_button; }
    // The row of the file in the main window; -1 when it holds none of the site.
    int currentRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool beforeWrite();
    void afterWrite(PanelLink::Outcome outcome);
    void saveShown();
    bool record(const QString& command, const QString& path, const QString& outcome);
    bool siteReady(); // a site open, no transaction, no bench
    QString outcomeText(PanelLink::Outcome outcome) const;
    void showCurrent();
    std::optional<QString> chooseFolder();
    void showHandoverFields();
    void rememberHandoverFields();
    BenchLoop::Written benchWrite(int row, QString* why);
    void benchStepped(BenchLoop::Step step, const QString& text);
    void stopBenchOnEscape(QWidget* w);

    PanelTool& m_tool;
    SiteModel m_site;
    SiteWindow* m_window = nullptr; // see window()
    QToolButton* m_button = nullptr;
    QString m_writing;      // the site file a write under way belongs to
    bool m_recorded = true; // the last write's line reached the log
    BenchLoop m_bench;
    Settings* m_settings = nullptr;
};
