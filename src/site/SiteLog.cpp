#include "site/SiteLog.h"

#include <QDateTime>

void SiteLog::record(const QStringList& fields) {
    if (!m_file.isOpen())
        return;
    QStringList line{QDateTime::currentDateTime().toString(Qt::ISODate)};
    for (const QString& field : fields)
        line << QString(field).replace('\t', ' ').replace('\n', ' ');
    m_file.append((line.join('\t') + '\n').toUtf8());
}
