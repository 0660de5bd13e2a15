#include "ui/Help.h"

#include "platform/AppInfo.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>

namespace {
const QString aboutTitle =
    QStringLiteral("ABOUT %1").arg(QString::fromLatin1(AppInfo::programName).toUpper());
const QString aboutText = QStringLiteral(
    "TARNEK KVQ 10 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM\n"
    "%1 VERSION %2\n\n"
    "LICENCE: PROPRIETARY. ALL RIGHTS RESERVED, TARNEK. PROVIDED TO TARNEK'S TECHNICIANS TO "
    "CONFIGURE TARNEK SWITCH PANELS.\n\n"
    "REPORT PROBLEMS AT:\n%3");
const QString noManualText =
    QStringLiteral("THE MANUAL IS NOT INSTALLED HERE:\n%1\n%2\n\nIT IS ALSO ON THE WEB:\n%3");
const QString notOpenedText = QStringLiteral("THE MANUAL COULD NOT BE OPENED:\n%1");
const QString manualTitle = QStringLiteral("MANUAL");
} // namespace

Help::Help(QWidget& window, Dialogs& dialogs, Opener open)
    : QObject(&window), m_dialogs(dialogs), m_open(std::move(open)) {
    if (!m_open)
        m_open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    const QDir programDir(QCoreApplication::applicationDirPath());
    setManualPlaces(QDir::cleanPath(programDir.absoluteFilePath(
                        QLatin1String(AppInfo::docDirFromProgram) + "/README.md")),
                    QDir::cleanPath(programDir.absoluteFilePath(
                        QLatin1String(AppInfo::manDirFromProgram) + "/man1/panelconfig.1.gz")));

    m_button = new QToolButton(&window);
    m_button->setObjectName(QStringLiteral("HELP"));
    m_button->setText(QStringLiteral("HELP"));
    m_button->setToolTip(QStringLiteral("LEFT CLICK FOR THE MANUAL (F1) AND ABOUT THIS PROGRAM"));
    // Under COMPARE WITH PANEL, where the window is empty.
    m_button->setGeometry(twipsRect(9600, 5160, 1575, 615));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(m_button);
    QAction* manual = menu->addAction(QStringLiteral("MANUAL"));
    manual->setObjectName(QStringLiteral("HELP_MANUAL"));
    // Shown in the menu; the key itself is the window's.
    manual->setShortcut(QKeySequence::HelpContents);
    manual->setShortcutContext(Qt::WidgetShortcut);
    QAction* about = menu->addAction(QStringLiteral("ABOUT\u2026"));
    about->setObjectName(QStringLiteral("HELP_ABOUT"));
    connect(manual, &QAction::triggered, this, &Help::showManual);
    connect(about, &QAction::triggered, this, &Help::showAbout);
    m_button->setMenu(menu);

    auto* key = new QShortcut(QKeySequence::HelpContents, &window);
    connect(key, &QShortcut::activated, this, &Help::showManual);
}

void Help::setManualPlaces(const QString& readme, const QString& manPage) {
    m_readme = readme;
    m_manPage = manPage;
}

// The README reads as a manual in any text viewer; the manual page only
// where the desktop has a viewer for man: links (Yelp, KHelpCenter).
void Help::showManual() {
    QUrl url;
    if (QFileInfo(m_readme).isFile())
        url = QUrl::fromLocalFile(m_readme);
    else if (QFileInfo(m_manPage).isFile())
        url = QUrl(QStringLiteral("man:%1(1)").arg(QLatin1String(AppInfo::programName)));
    if (url.isEmpty()) {
        m_dialogs.message(noManualText.arg(QDir::toNativeSeparators(m_readme),
                                           QDir::toNativeSeparators(m_manPage),
                                           QLatin1String(AppInfo::helpUrl)),
                          manualTitle);
        return;
    }
    if (!m_open(url))
        m_dialogs.message(notOpenedText.arg(url.isLocalFile()
                                                ? QDir::toNativeSeparators(url.toLocalFile())
                                                : url.toString()),
                          manualTitle);
}

void Help::showAbout() {
    m_dialogs.message(aboutText.arg(QString::fromLatin1(AppInfo::programName).toUpper(),
                                    QLatin1String(AppInfo::version),
                                    QLatin1String(AppInfo::bugTracker)),
                      aboutTitle);
}
