#include "cli/CommandRecords.h"

#include "cli/CommandOptions.h"
#include "site/SiteLog.h"
#include "link/LinkTrace.h"

namespace {
const QString traceFile = QStringLiteral("the trace file");
const QString logFile = QStringLiteral("the log file");
} // namespace

CommandRecords::CommandRecords(LinkTrace& trace, SiteLog& log, Say say)
    : m_trace(trace), m_log(log), m_say(std::move(say)) {
    m_trace.setFailureReport([this](const QString& why) {
        m_say(QStringLiteral("cannot write %1 %2: %3; nothing more is traced")
                  .arg(traceFile, m_tracePath, why));
    });
    m_log.setFailureReport([this](const QString& why) {
        m_say(QStringLiteral("cannot write %1 %2: %3; nothing more is logged")
                  .arg(logFile, m_logPath, why));
    });
}

bool CommandRecords::open(const QString& tracePath, const QString& logPath) {
    m_tracePath = tracePath;
    m_logPath = logPath;
    QString error;
    if (!tracePath.isEmpty() && !m_trace.open(tracePath, &error)) {
        m_say(QStringLiteral("cannot open %1 %2: %3").arg(traceFile, tracePath, error));
        return false;
    }
    if (!logPath.isEmpty() && !m_log.open(logPath, &error)) {
        m_say(QStringLiteral("cannot open %1 %2: %3").arg(logFile, logPath, error));
        return false;
    }
    return true;
}

bool CommandRecords::failed() const {
    return m_trace.failure() || m_log.failure();
}

int CommandRecords::status(int commandStatus) const {
    if (!failed())
        return commandStatus;
    QStringList lost;
    if (m_log.failure())
        lost << QStringLiteral("%1 %2").arg(logFile, m_logPath);
    if (m_trace.failure())
        lost << QStringLiteral("%1 %2").arg(traceFile, m_tracePath);
    m_say(QStringLiteral("lines are missing from %1").arg(lost.join(QStringLiteral(" and "))));
    return ExitStatus::recordLost;
}
