#include "cli/SiteLog.h"

#include <QDateTime>

bool SiteLog::open(const QString& path, QString* error) {
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return true;
    *error = m_file.errorString();
    return false;
}

void SiteLog::record(const QStringList& fields) {
    if (!m_file.isOpen())
        return;
    QStringList line{QDateTime::currentDateTime().toString(Qt::ISODate)};
    for (const QString& field : fields)
        line << QString(field).replace('\t', ' ').replace('\n', ' ');
    m_file.write((line.join('\t') + '\n').toUtf8());
    m_file.flush();
}
