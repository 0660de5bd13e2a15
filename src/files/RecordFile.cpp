#include "files/RecordFile.h"

#include "files/OutputGuard.h"

bool RecordFile::open(const QString& path, QString* error) {
    m_failure.reset();
    if (const auto refused = OutputGuard::recordRefusal(path)) {
        if (error)
            *error = *refused;
        return false;
    }
    m_file.setFileName(path);
    // Unbuffered: a line that fails says so at its own write, not at a later
    // flush.
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text |
                    QIODevice::Unbuffered))
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}

bool RecordFile::append(const QByteArray& line) {
    if (!m_file.isOpen() || m_failure)
        return false;
    if (m_file.write(line) == line.size())
        return true;
    m_failure = m_file.errorString();
    m_file.close();
    if (m_report)
        m_report(*m_failure);
    return false;
}
