#pragma once

#include "site/SiteLog.h"
#include "site/SitePanel.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QFileSystemWatcher;

// A site: a folder of configuration files and the site log beside them.
// Gives each file's panel and state in the natural order of the file names,
// the summary line and the next panel to write. It reads the log once and
// then only what is appended; a file is read again only when it changed.
// Nothing here writes, so any number of windows and commands can look at
// one site.
class SiteModel : public QObject {
    Q_OBJECT
public:
    explicit SiteModel(QObject* parent = nullptr);
    ~SiteModel() override;

    // Reads the folder and its log; false, said why, when the folder cannot
    // be read (the site is then empty).
    bool open(const QString& folder, QString* error = nullptr);
    bool isOpen() const { return !m_folder.isEmpty(); }
    QString folder() const { return m_folder; }
    QString logPath() const;
    QString name() const; // the folder's own name
    // Why the folder could not be read at the last refresh; empty when it could.
    QString folderError() const { return m_folderError; }

    // Reads what changed: files added, changed or gone, lines appended to the
    // log. Emits changed() when anything did.
    void refresh();
    // Follows the folder and the log while on: a refresh soon after either
    // changes, as the event loop gets to it.
    void setFollowing(bool on);
    bool following() const { return m_watcher != nullptr; }

    const QList<SitePanel>& panels() const { return m_panels; }
    // The row of a configuration file of the site, by its path; -1 for none.
    int rowOf(const QString& path) const;
    // "12 OF 40 PROGRAMMED, 1 FAILED".
    QString summary() const;
    // The first file still to be programmed after row (from the start for
    // -1), wrapping round, never row itself; nullopt when none is left.
    std::optional<int> nextToWrite(int after = -1) const;
    // Log lines read, and those not of the log's form.
    int linesRead() const { return m_linesRead; }
    int linesIgnored() const { return m_linesIgnored; }

signals:
    void changed();

private:
    struct Known {
        QDateTime modified;
        qint64 size = -1;
        QString panel;
        QString unreadable;
    };
    struct Last {
        SitePanel::State state;
        QString reason;
        QDateTime when;
        QString port;
        QString command;
    };

    bool readFolder();
    bool readLog();
    void take(const SiteLog::Line& line);
    void rebuild();
    void scheduleRefresh();
    void watchLog();

    QString m_folder;
    QString m_folderError;
    QList<SitePanel> m_panels;
    QHash<QString, Known> m_known;    // by file name
    QHash<QString, Last> m_last;      // by file name, from the log
    QHash<QString, QString> m_models; // by file name: the model last seen, from the log
    QStringList m_files;              // in natural order
    qint64 m_logRead = 0;             // bytes of the log taken, whole lines only
    QByteArray m_head;                // the log's first bytes as read
    int m_linesRead = 0;
    int m_linesIgnored = 0;
    QFileSystemWatcher* m_watcher = nullptr;
    bool m_refreshDue = false;
};
