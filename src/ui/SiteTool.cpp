#include "ui/SiteTool.h"

#include "link/LinkTexts.h"
#include "site/SiteLog.h"
#include "ui/PanelTool.h"
#include "ui/SiteWindow.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {
const QString siteTitle = QStringLiteral("SITE");
const QString unreadableText = QStringLiteral("THE SITE FOLDER CANNOT BE READ:\n%1\n%2");
const QString notRecordedText =
    QStringLiteral("THE WRITE WAS NOT RECORDED IN THE SITE LOG:\n%1\n%2");
} // namespace

SiteTool::SiteTool(PanelTool& tool) : QObject(&tool.form), m_tool(tool) {
    m_window = new SiteWindow(m_site, &tool.form);
    m_button = new QToolButton(&tool.form);
    m_button->setObjectName(QStringLiteral("SITE_WINDOW"));
    m_button->setText(QStringLiteral("SITE\u2026"));
    m_button->setToolTip(
        QStringLiteral("LEFT CLICK TO SHOW THE PANELS OF A SITE AND THEIR STATE (CTRL+SHIFT+O)"));
    m_button->setAccessibleName(QStringLiteral("SITE WINDOW"));
    if (const auto* command = tool.form.findChild<QPushButton*>(QStringLiteral("READ_CONFIG")))
        m_button->setFont(command->font());
    // Beside the sheet button, in the same empty band above the commands.
    m_button->setGeometry(twipsRect(7200, 420, 1440, 615));
    m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(m_button, &QToolButton::clicked, this, &SiteTool::showWindow);
    auto* key = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")), &tool.form);
    connect(key, &QShortcut::activated, this, &SiteTool::showWindow);
    auto* back = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")), m_window);
    connect(back, &QShortcut::activated, this, [this] {
        m_tool.form.raise();
        m_tool.form.activateWindow();
    });

    m_chooseFolder = [this]() -> std::optional<QString> {
        const QString folder = QFileDialog::getExistingDirectory(
            m_window->isVisible() ? static_cast<QWidget*>(m_window) : &m_tool.form,
            QStringLiteral("SITE FOLDER OF CONFIGURATION FILES"));
        return folder.isEmpty() ? std::nullopt : std::optional(folder);
    };
    connect(m_window, &SiteWindow::rowChosen, this, &SiteTool::openRow);
    connect(m_window, &SiteWindow::openFolderAsked, this, [this] {
        if (const auto folder = m_chooseFolder())
            openSite(*folder, false);
    });
    connect(&m_site, &SiteModel::changed, this, &SiteTool::showCurrent);
    connect(&m_tool.session, &Session::undoChanged, this, &SiteTool::showCurrent);

    tool.beforeWrite = [this] { return beforeWrite(); };
    tool.afterWrite = [this](PanelLink::Outcome outcome) { afterWrite(outcome); };
}

SiteTool::~SiteTool() = default;

bool SiteTool::openSite(const QString& folder, bool openFirst) {
    QString why;
    const bool opened = m_site.open(folder, &why);
    m_site.setFollowing(opened);
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

void SiteTool::showWindow() {
    if (!m_site.isOpen()) {
        const auto folder = m_chooseFolder();
        if (!folder)
            return;
        openSite(*folder, false);
        return;
    }
    m_site.refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

int SiteTool::currentRow() const {
    const QString path = m_tool.session.storedPath();
    return path.isEmpty() ? -1 : m_site.rowOf(path);
}

void SiteTool::showCurrent() {
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
    return true;
}

void SiteTool::afterWrite(PanelLink::Outcome outcome) {
    const QString path = std::exchange(m_writing, QString());
    if (path.isEmpty())
        return;
    record(path, outcomeText(outcome));
    m_site.refresh();
    if (outcome != PanelLink::Outcome::Done || !m_window->movesOn())
        return;
    const auto next = m_site.nextToWrite(m_site.rowOf(path));
    if (!next)
        return;
    // Once the write command has ended, so the open is a step of its own.
    QTimer::singleShot(0, this, [this, file = m_site.panels()[*next].path] {
        if (const int row = m_site.rowOf(file); row >= 0)
            openRow(row);
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

bool SiteTool::record(const QString& path, const QString& outcome) {
    SiteLog log;
    QString why;
    if (log.open(m_site.logPath(), &why)) {
        log.record({m_tool.device(), SiteLog::write, QDir::toNativeSeparators(path), outcome});
        if (!log.failure())
            return true;
        why = *log.failure();
    }
    m_tool.dialogs().message(
        notRecordedText.arg(QDir::toNativeSeparators(m_site.logPath()), why.toUpper()), siteTitle);
    return false;
}
