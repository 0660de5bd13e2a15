#include "ui/SiteTool.h"

#include "link/LinkTexts.h"
#include "model/MemoryMap.h"
#include "site/Handover.h"
#include "site/SiteLog.h"
#include "ui/Announcer.h"
#include "ui/PanelTool.h"
#include "ui/SiteWindow.h"
#include "ui/Twips.h"
#include "ui/WindowSheet.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {
const QString siteTitle = QStringLiteral("SITE");
const QString unreadableText = QStringLiteral("THE SITE FOLDER CANNOT BE READ:\n%1\n%2");
const QString notRecordedText = QStringLiteral("THE %1 WAS NOT RECORDED IN THE SITE LOG:\n%2\n%3");
} // namespace

SiteTool::SiteTool(PanelTool& tool)
    : QObject(&tool.form), m_tool(tool),
      m_bench(m_site, {[this] {
                           return !m_tool.session.transactionRunning() &&
                                  m_tool.probe() == PanelLink::Outcome::Done;
                       },
                       [this](int row) {
                           openRow(row);
                           return currentRow() == row;
                       },
                       [this](int row, QString* why) { return benchWrite(row, why); },
                       [] {
                           QCoreApplication::processEvents(QEventLoop::AllEvents |
                                                           QEventLoop::WaitForMoreEvents);
                       },
                       [this](int ms, std::function<void()> done) {
                           QTimer::singleShot(ms, Qt::PreciseTimer, this, std::move(done));
                       }}) {
    sound = [this](BenchLoop::Step step) {
        // Told apart by ear: one tone for programmed, three for failed.
        const int tones = step == BenchLoop::Step::Programmed ? 1 : 3;
        QApplication::beep();
        for (int i = 1; i < tones; ++i)
            QTimer::singleShot(i * 180, this, [] { QApplication::beep(); });
    };
    // The site window is built when it is first needed: most starts never
    // show it, and the main window shows sooner without it.
    m_button = new QToolButton(&tool.form);
    m_button->setObjectName(QStringLiteral("SITE_WINDOW"));
    m_button->setText(QStringLiteral("SITE\u2026"));
    m_button->setToolTip(
        QStringLiteral("LEFT CLICK TO SHOW THE PANELS OF A SITE AND THEIR STATE (CTRL+SHIFT+T)"));
    m_button->setAccessibleName(QStringLiteral("SITE WINDOW"));
    if (const auto* command = tool.form.findChild<QPushButton*>(QStringLiteral("READ_CONFIG")))
        m_button->setFont(command->font());
    // Beside the sheet button, in the same empty band above the commands.
    m_button->setGeometry(twipsRect(7200, 420, 1440, 615));
    m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(m_button, &QToolButton::clicked, this, &SiteTool::showWindow);
    auto* key = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+T")), &tool.form);
    connect(key, &QShortcut::activated, this, &SiteTool::showWindow);

    connect(&m_bench, &BenchLoop::stepped, this, &SiteTool::benchStepped);
    tool.form.installEventFilter(this);
    stopBenchOnEscape(&tool.form);
    connect(&m_tool.session, &Session::undoChanged, this, &SiteTool::showCurrent);

    tool.beforeWrite = [this] { return beforeWrite(); };
    tool.afterWrite = [this](PanelLink::Outcome outcome) { afterWrite(outcome); };
}

SiteTool::~SiteTool() = default;

SiteWindow* SiteTool::window() {
    if (m_window)
        return m_window;
    m_window = new SiteWindow(m_site, &m_tool.form);
    // After the window's own: the row is marked in the table it has rebuilt.
    connect(&m_site, &SiteModel::changed, this, &SiteTool::showCurrent);
    auto* back = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+T")), m_window);
    connect(back, &QShortcut::activated, this, [this] {
        m_tool.form.raise();
        m_tool.form.activateWindow();
    });
    connect(m_window, &SiteWindow::rowChosen, this, &SiteTool::openRow);
    connect(m_window, &SiteWindow::openFolderAsked, this, [this] {
        if (const auto folder = chooseFolder())
            openSite(*folder, false);
    });
    connect(m_window, &SiteWindow::benchAsked, this, &SiteTool::runBench);
    connect(m_window, &SiteWindow::handoverAsked, this, &SiteTool::saveHandover);
    for (QLineEdit* box : {m_window->siteNameBox(), m_window->configuredByBox()})
        connect(box, &QLineEdit::editingFinished, this, &SiteTool::rememberHandoverFields);
    connect(m_window, &SiteWindow::stopAsked, this, &SiteTool::stopBench);
    connect(m_window, &SiteWindow::identifyAsked, this, &SiteTool::identifyPanel);
    connect(m_window, &SiteWindow::importAsked, this, &SiteTool::importSchedule);
    m_window->installEventFilter(this);
    stopBenchOnEscape(m_window);
    m_window->setCurrentRow(currentRow());
    return m_window;
}

// Escape ends the bench from either window; it means nothing otherwise.
void SiteTool::stopBenchOnEscape(QWidget* w) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), w);
    escape->setEnabled(m_bench.running());
    connect(escape, &QShortcut::activated, this, &SiteTool::stopBench);
    connect(&m_bench, &BenchLoop::stepped, escape,
            [this, escape] { escape->setEnabled(m_bench.running()); });
}

bool SiteTool::openSite(const QString& folder, bool openFirst) {
    QString why;
    const bool opened = m_site.open(folder, &why);
    m_site.setFollowing(opened);
    window()->showIdentified({}, {}); // that was of another folder
    showHandoverFields();
    m_window->show();
    m_window->raise();
    if (!opened) {
        m_tool.dialogs().message(
            unreadableText.arg(QDir::toNativeSeparators(folder), why.toUpper()), siteTitle);
        return false;
    }
    if (openFirst)
        if (const auto first = m_site.nextToWrite())
            openRow(*first);
    return true;
}

std::optional<QString> SiteTool::chooseFolder() {
    return m_tool.dialogs().chooseFolder(QStringLiteral("SITE FOLDER OF CONFIGURATION FILES"));
}

void SiteTool::showWindow() {
    if (!m_site.isOpen()) {
        const auto folder = chooseFolder();
        if (!folder)
            return;
        openSite(*folder, false);
        return;
    }
    m_site.refresh();
    window()->show();
    m_window->raise();
    m_window->activateWindow();
}

int SiteTool::currentRow() const {
    const QString path = m_tool.session.storedPath();
    return path.isEmpty() ? -1 : m_site.rowOf(path);
}

void SiteTool::showCurrent() {
    if (m_window)
        m_window->setCurrentRow(currentRow());
}

void SiteTool::saveShown() {
    if (const int row = currentRow(); row >= 0)
        m_tool.saveTo(m_site.panels()[row].path);
    else
        m_tool.writeFile();
}

// As the main window's open command: nothing during a transaction, and the
// question before unsaved changes are lost; one step of undo.
void SiteTool::openRow(int row) {
    if (row < 0 || row >= m_site.panels().size() || m_tool.session.transactionRunning())
        return;
    if (!m_tool.session.mayDiscard([this] { saveShown(); }))
        return;
    const QString path = m_site.panels()[row].path;
    m_tool.session.step([&] { m_tool.open(path); });
    showCurrent();
}

// A site file edited in the window is saved before it goes to the panel, so
// the file and the panel agree. Discarding lets the write go ahead, but not
// as the site's: the panel then holds what no file of the site does.
bool SiteTool::beforeWrite() {
    m_writing.clear();
    const int row = currentRow();
    if (row < 0)
        return true;
    const QString path = m_site.panels()[row].path;
    bool discarded = m_tool.session.unsavedChanges();
    if (!m_tool.session.mayDiscard([this, &discarded, &path] {
            discarded = false;
            m_tool.saveTo(path);
        }))
        return false;
    if (!discarded)
        m_writing = path;
    else if (m_bench.running())
        return false; // the bench writes only what a site file holds
    return true;
}

void SiteTool::afterWrite(PanelLink::Outcome outcome) {
    const QString path = std::exchange(m_writing, QString());
    if (path.isEmpty())
        return;
    m_recorded = record(SiteLog::write, path, outcomeText(outcome));
    m_site.refresh();
    // The bench moves on itself, once the panel is unplugged.
    if (outcome != PanelLink::Outcome::Done || !window()->movesOn() || m_bench.running())
        return;
    const auto next = m_site.nextToWrite(m_site.rowOf(path));
    if (!next)
        return;
    // Once the write command has ended, so the open is a step of its own.
    // The status box still says the panel is programmed; the file label
    // says it was the panel of the file before.
    QTimer::singleShot(0, this, [this, path, file = m_site.panels()[*next].path] {
        const int row = m_site.rowOf(file);
        if (row < 0)
            return;
        openRow(row);
        if (currentRow() == row) {
            m_tool.fileLabel->movedOnFrom(path);
            m_tool.form.announcer()->say(m_tool.fileLabel->message());
        }
    });
}

// The outcome as the commands log it: the status the write ended with, the
// mismatch message for a panel of another model.
QString SiteTool::outcomeText(PanelLink::Outcome outcome) const {
    switch (outcome) {
    case PanelLink::Outcome::Stopped:
        return QStringLiteral("INTERRUPTED");
    case PanelLink::Outcome::Mismatch:
        return LinkTexts::writeMismatch;
    default:
        return m_tool.session.statusText();
    }
}

// The line as the commands log it, with the model of the panel the
// transaction found.
bool SiteTool::record(const QString& command, const QString& path, const QString& outcome) {
    SiteLog log;
    QString why;
    if (log.open(m_site.logPath(), &why)) {
        const std::optional<qint16> identity = m_tool.link.identityRead();
        log.append(SiteLog::Entry{m_tool.device(),
                                  command,
                                  QDir::toNativeSeparators(path),
                                  outcome,
                                  {},
                                  identity ? MemoryMap::modelOf(*identity) : QString()});
        if (!log.failure())
            return true;
        why = *log.failure();
    }
    const QString what =
        command == SiteLog::write ? QStringLiteral("WRITE") : QStringLiteral("IDENTIFICATION");
    m_tool.dialogs().message(
        notRecordedText.arg(what, QDir::toNativeSeparators(m_site.logPath()), why.toUpper()),
        siteTitle);
    return false;
}

void SiteTool::setBenchTiming(std::function<void()> waitForEvents,
                              std::function<void(int, std::function<void()>)> after) {
    m_bench.setTiming(std::move(waitForEvents), std::move(after));
}

BenchLoop::Step SiteTool::runBench() {
    if (m_bench.running() || m_tool.session.transactionRunning())
        return BenchLoop::Step::Ended;
    if (!m_site.isOpen()) {
        showWindow();
        if (!m_site.isOpen())
            return BenchLoop::Step::Ended;
    }
    window()->show();
    m_window->setBenchRunning(true);
    const BenchLoop::Step ended = m_bench.run(currentRow());
    m_window->setBenchRunning(false);
    return ended;
}

// Between panels the loop ends at once; during a write, at its next wait.
void SiteTool::stopBench() {
    if (!m_bench.running())
        return;
    m_bench.requestStop();
    if (m_tool.session.transactionRunning())
        m_tool.link.requestStop();
}

// The write command on row's file as the window runs it, with the save
// question first and the line in the log after.
BenchLoop::Written SiteTool::benchWrite(int row, QString* why) {
    if (currentRow() != row) {
        openRow(row);
        if (currentRow() != row) {
            *why = QStringLiteral("THE FILE TO WRITE WAS NOT OPENED");
            return BenchLoop::Written::Refused;
        }
    }
    m_recorded = true;
    const auto outcome = m_tool.writeConfig();
    if (!outcome) {
        *why = QStringLiteral("THE FILE WAS NOT SAVED");
        return BenchLoop::Written::Refused;
    }
    *why = outcomeText(*outcome);
    if (!m_recorded) // no next panel without its line in the log
        return BenchLoop::Written::Refused;
    switch (*outcome) {
    case PanelLink::Outcome::Done:
        return BenchLoop::Written::Programmed;
    case PanelLink::Outcome::Stopped:
        return BenchLoop::Written::Stopped;
    case PanelLink::Outcome::Incomplete: // no panel can take this file
        return BenchLoop::Written::Refused;
    default:
        return BenchLoop::Written::Failed;
    }
}

void SiteTool::benchStepped(BenchLoop::Step step, const QString& text) {
    if ((step == BenchLoop::Step::Programmed || step == BenchLoop::Step::Failed) && sound)
        sound(step);
    window()->showBench(step, text);
}

// Closing either window ends the bench: nothing is written to a panel nobody
// is looking at.
bool SiteTool::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close)
        stopBench();
    return QObject::eventFilter(watched, event);
}

void SiteTool::setSettings(Settings& settings) {
    m_settings = &settings;
    showHandoverFields();
}

void SiteTool::showHandoverFields() {
    if (!m_site.isOpen())
        return;
    const Handover::Fields fields = Handover::remembered(m_site.folder(), m_settings);
    SiteWindow* w = window();
    w->siteNameBox()->setText(fields.name);
    w->configuredByBox()->setText(fields.by);
}

void SiteTool::rememberHandoverFields() {
    if (!m_site.isOpen())
        return;
    const SiteWindow* w = window();
    Handover::remember(m_site.folder(), {w->siteNameBox()->text(), w->configuredByBox()->text()},
                       m_settings);
}

bool SiteTool::saveHandover() {
    if (!m_site.isOpen() || m_tool.session.transactionRunning())
        return false;
    rememberHandoverFields();
    m_site.refresh();
    QStringList files;
    for (const SitePanel& panel : m_site.panels())
        files << panel.path;
    if (files.isEmpty()) {
        m_tool.dialogs().message(QStringLiteral("THE SITE HAS NO CONFIGURATION FILE (*.zqc)"),
                                 QStringLiteral("HANDOVER DOCUMENT"));
        return false;
    }
    const QString name = window()->siteNameBox()->text().trimmed();
    return WindowSheet::writeSiteDocument(
        m_tool.dialogs(), files,
        {name.isEmpty() ? m_site.name() : name, m_window->configuredByBox()->text().trimmed()});
}
