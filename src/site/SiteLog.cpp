#include "site/SiteLog.h"

void SiteLog::record(const QStringList& fields) {
    if (!m_file.isOpen())
        return;
    QStringList line{QDateTime::currentDateTime().toString(Qt::ISODate)};
    for (const QString& field : fields)
        line << QString(field).replace('\t', ' ').replace('\n', ' ');
    m_file.append((line.join('\t') + '\n').toUtf8());
}

std::optional<SiteLog::Line> SiteLog::parse(QStringView text) {
    if (text.endsWith(u'\r'))
        text.chop(1);
    const QList<QStringView> fields = text.split(u'\t');
    if (fields.size() < 5)
        return std::nullopt;
    Line line;
    line.time = QDateTime::fromString(fields[0].toString(), Qt::ISODate);
    if (!line.time.isValid())
        return std::nullopt;
    line.port = fields[1].toString();
    line.command = fields[2].toString();
    line.file = fields[3].toString();
    line.outcome = fields[4].toString();
    if (fields.size() > 5)
        line.differences = fields[5].toString();
    if (line.file.isEmpty())
        return std::nullopt;
    return line;
}

// A log written on Windows names its files with backslashes, and is read on
// any system.
QString SiteLog::fileNameOf(const QString& loggedPath) {
    const qsizetype slash = std::max(loggedPath.lastIndexOf(u'/'), loggedPath.lastIndexOf(u'\\'));
    return loggedPath.mid(slash + 1);
}
