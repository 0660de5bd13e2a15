#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;
class QToolButton;
class QWidget;
class Settings;

// The configuration files last opened or saved, at most ten, the latest
// first, remembered in settings. The narrow button beside the open command
// (and Ctrl+Shift+O) offers them; a file that has gone since is left out.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int most = 10;

    // open runs the open command on a chosen path.
    RecentFiles(QWidget& window, Settings& settings, std::function<void(const QString&)> open);

    QToolButton* button() const { return m_button; }
    QMenu* menu() const { return m_menu; }

    // A file was opened from or saved to path.
    void add(const QString& path);
    // The files offered now: those that still exist, the latest first.
    QStringList files();

private:
    void fillMenu();

    Settings& m_settings;
    std::function<void(const QString&)> m_open;
    QToolButton* m_button = nullptr;
    QMenu* m_menu = nullptr;
};
