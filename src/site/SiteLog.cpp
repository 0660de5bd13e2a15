#include "site/SiteLog.h"

void SiteLog::record(const QStringList& fields) {
    if (!m_file.isOpen())
        return;
    QStringList line{QDateTime::currentDateTime().toString(Qt::ISODate)};
    for (const QString& field : fields)
        line << QString(field).replace('\t', ' ').replace('\n', ' ');
    m_file.append((line.join('\t') + '\n').toUtf8());
}

// The optional fields only as far as one is given: a line without a model
// is the line the log has always had.
void SiteLog::append(const Entry& entry) {
    QStringList fields{entry.port, entry.command, entry.file, entry.outcome};
    if (!entry.differences.isEmpty() || !entry.model.isEmpty())
        fields << entry.differences;
    if (!entry.model.isEmpty())
        fields << entry.model;
    record(fields);
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
    if (fields.size() > 6)
        line.model = fields[6].toString();
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
