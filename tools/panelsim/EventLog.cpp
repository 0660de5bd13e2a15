#include "EventLog.h"

#include <cstdio>

bool EventLog::open(const QString& path, bool toStdout, QString* error) {
    m_stdout = toStdout;
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void EventLog::write(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    if (m_file.isOpen()) {
        m_file.write(bytes);
        m_file.flush();
    }
    if (m_stdout) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    }
}
