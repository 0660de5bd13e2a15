#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// The site's record of what each panel received: one line per panel and
// command, fields separated by tabs, appended and flushed at once:
//   time  port  command  file  outcome  [differences]
class SiteLog {
public:
    // Appends to path; false with a reason when it cannot be opened.
    bool open(const QString& path, QString* error);
    void record(const QStringList& fields);

private:
    QFile m_file;
};
