#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

// A file that lines are appended to and flushed at once, the trace and the
// site log: opened only where OutputGuard allows, and a line that does not
// reach the disk (a full disk, a removed medium) is reported the moment it
// fails. After a failure nothing more is written, so the file never holds a
// record with a hole in it.
class RecordFile {
public:
    using FailureReport = std::function<void(const QString& reason)>;

    // Appends to path; false with a reason when it may not or cannot be opened.
    bool open(const QString& path, QString* error);
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

    // Writes the line through; false when it failed now or earlier.
    bool append(const QByteArray& line);

    // Why a line was lost; nullopt while every line reached the file.
    std::optional<QString> failure() const { return m_failure; }
    // Called once, at the first line lost.
    void setFailureReport(FailureReport report) { m_report = std::move(report); }

private:
    QFile m_file;
    std::optional<QString> m_failure;
    FailureReport m_report;
};
