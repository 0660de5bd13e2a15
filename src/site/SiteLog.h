#pragma once

#include "files/RecordFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The site's record of what each panel received: one line per panel and
// command, fields separated by tabs, appended and flushed at once:
//   time  port  command  file  outcome  [differences  [model]]
// The model ("00-00561", "00-00567") is that of the panel the command found;
// it stands last, so a reader that knows only the first six fields still
// reads the line, and a line written before it was logged still reads.
// A line goes out in one write, so several writers (two laptops on a shared
// folder, a window and a terminal) can append to the same log.
class SiteLog {
public:
    // The log of a site stands beside its configuration files.
    static inline const QString fileName = QStringLiteral("site.log");

    // How a command is named and how verify's outcome is worded; a write
    // logs the status it ended with.
    static inline const QString write = QStringLiteral("write");
    static inline const QString verify = QStringLiteral("verify");
    static inline const QString read = QStringLiteral("read");
    static inline const QString identify = QStringLiteral("identify");
    static inline const QString agrees = QStringLiteral("agrees");
    static inline const QString differs = QStringLiteral("differs");
    // The status a write ends with when the panel has taken the file.
    static inline const QString programmed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");

    // One line as read back.
    struct Line {
        QDateTime time;
        QString port;
        QString command; // "write", "write panel 3" (a repeat), "read", "verify"
        QString file;    // as the command was given it
        QString outcome;
        QString differences;
        QString model; // empty when the line names none
    };
    // What a command logs, the time aside.
    struct Entry {
        QString port;
        QString command;
        QString file;
        QString outcome;
        QString differences;
        QString model; // of the panel found; empty when its identity was not read
    };
    // nullopt for a line that is not one of the log's (too few fields, no
    // time): a log edited by hand loses only that line.
    static std::optional<Line> parse(QStringView line);
    // The configuration file's own name, whatever folder it was given in.
    static QString fileNameOf(const QString& loggedPath);

    // Appends to path; false with a reason when it may not or cannot be
    // opened (a pipe, a device, a configuration file or a PDF).
    bool open(const QString& path, QString* error) { return m_file.open(path, error); }
    bool isOpen() const { return m_file.isOpen(); }
    void record(const QStringList& fields);
    void append(const Entry& entry);
    // A line that could not be written: reported once, at once.
    std::optional<QString> failure() const { return m_file.failure(); }
    void setFailureReport(RecordFile::FailureReport report) {
        m_file.setFailureReport(std::move(report));
    }

private:
    RecordFile m_file;
};
