#include "link/LinkTrace.h"

#include <QDateTime>

QString LinkTrace::render(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QStringLiteral("(nothing)");
    QString printable;
    for (char c : bytes)
        printable += (c >= 0x20 && c < 0x7f) ? QChar(c) : QChar('.');
    const QString hex = QString::fromLatin1(bytes.toHex(' ').toUpper());
    return QStringLiteral("%1   %2").arg(hex, printable);
}

void LinkTrace::note(const QString& text) {
    write(QStringLiteral("   ") + text);
}

void LinkTrace::line(char direction, const QByteArray& bytes) {
    write(QStringLiteral(" %1 ").arg(QChar(direction)) + render(bytes));
}

void LinkTrace::write(const QString& text) {
    if (!m_file.isOpen())
        return;
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    m_file.append((stamp + QLatin1Char(' ') + text + QLatin1Char('\n')).toUtf8());
}
