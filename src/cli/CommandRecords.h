#pragma once

#include <QString>

#include <functional>

class LinkTrace;
class SiteLog;

// The trace and the site log of one command run. Both are opened before
// anything goes to the panel; a line that cannot be written is reported the
// moment it fails, and the command, once the panel in hand is done, ends
// with ExitStatus::recordLost instead of its own status: a technician who
// trusts the log must learn that it has a gap.
class CommandRecords {
public:
    using Say = std::function<void(const QString& line)>;

    CommandRecords(LinkTrace& trace, SiteLog& log, Say say);

    // Opens the files named (an empty name: none); false, said why, when
    // one may not or cannot be opened.
    bool open(const QString& tracePath, const QString& logPath);

    bool failed() const;
    // The command's status, or recordLost with a closing line.
    int status(int commandStatus) const;

private:
    LinkTrace& m_trace;
    SiteLog& m_log;
    Say m_say;
    QString m_tracePath;
    QString m_logPath;
};
