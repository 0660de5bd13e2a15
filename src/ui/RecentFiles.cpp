#include "ui/RecentFiles.h"

#include "platform/Settings.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>

namespace {
const QString noneText = QStringLiteral("NO RECENT CONFIGURATION FILES");

QString canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

RecentFiles::RecentFiles(QWidget& window, Settings& settings,
                         std::function<void(const QString&)> open)
    : QObject(&window), m_settings(settings), m_open(std::move(open)) {
    m_button = new QToolButton(&window);
    m_button->setObjectName(QStringLiteral("RECENT_FILES"));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setToolTip(QStringLiteral("RECENT CONFIGURATION FILES (CTRL+SHIFT+O)"));
    m_button->setAccessibleName(QStringLiteral("RECENT CONFIGURATION FILES"));
    // In the gap between the open command and the read command, as the open
    // command's own menu.
    m_button->setGeometry(twipsRect(8445, 1440, 285, 855));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_menu = new QMenu(m_button);
    m_menu->setObjectName(QStringLiteral("RECENT_FILES_MENU"));
    connect(m_menu, &QMenu::aboutToShow, this, &RecentFiles::fillMenu);
    m_button->setMenu(m_menu);

    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &window);
    connect(key, &QShortcut::activated, this, [this] {
        if (m_button->isEnabled())
            m_button->showMenu();
    });
}

void RecentFiles::add(const QString& path) {
    const QString file = canonical(path);
    QStringList list = m_settings.recentFiles();
    list.removeAll(file);
    list.prepend(file);
    m_settings.setRecentFiles(list.mid(0, most));
}

// A file deleted or moved since is dropped for good.
QStringList RecentFiles::files() {
    const QStringList stored = m_settings.recentFiles();
    QStringList present;
    for (const QString& file : stored)
        if (QFileInfo(file).isFile() && !present.contains(file))
            present << file;
    present = present.mid(0, most);
    if (present != stored)
        m_settings.setRecentFiles(present);
    return present;
}

void RecentFiles::fillMenu() {
    m_menu->clear();
    const QStringList list = files();
    if (list.isEmpty()) {
        m_menu->addAction(noneText)->setEnabled(false);
        return;
    }
    for (int i = 0; i < list.size(); ++i) {
        const QString file = list[i];
        // 1 ... 9 and 0 choose by key; the folder tells two equal names apart.
        QString name = QFileInfo(file).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_menu->addAction(QStringLiteral("&%1  %2").arg((i + 1) % 10).arg(name));
        action->setToolTip(QDir::toNativeSeparators(file));
        action->setStatusTip(QDir::toNativeSeparators(file));
        action->setData(file);
        connect(action, &QAction::triggered, this, [this, file] { m_open(file); });
    }
    m_menu->setToolTipsVisible(true);
}
