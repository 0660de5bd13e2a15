#include "files/RecordFile.h"

#include "files/FileSave.h"
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

// A line cut short by a full disk is taken off again, so the file holds
// whole lines only.
bool RecordFile::append(const QByteArray& line) {
    if (!m_file.isOpen() || m_failure)
        return false;
    const qint64 before = m_file.size();
    if (m_file.write(line) == line.size())
        return true;
    m_failure = FileSave::failure(m_file);
    if (m_file.size() > before)
        m_file.resize(before);
    m_file.close();
    if (m_report)
        m_report(*m_failure);
    return false;
}
