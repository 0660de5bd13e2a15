#pragma once

#include "files/RecordFile.h"

#include <QString>
#include <QStringList>

// The site's record of what each panel received: one line per panel and
// command, fields separated by tabs, appended and flushed at once:
//   time  port  command  file  outcome  [differences]
class SiteLog {
public:
    // Appends to path; false with a reason when it may not or cannot be
    // opened (a pipe, a device, a configuration file or a PDF).
    bool open(const QString& path, QString* error) { return m_file.open(path, error); }
    void record(const QStringList& fields);
    // A line that could not be written: reported once, at once.
    std::optional<QString> failure() const { return m_file.failure(); }
    void setFailureReport(RecordFile::FailureReport report) {
        m_file.setFailureReport(std::move(report));
    }

private:
    RecordFile m_file;
};
