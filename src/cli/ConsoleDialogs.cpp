#include "cli/ConsoleDialogs.h"

QString ConsoleDialogs::line(const QString& text, const QString& title) {
    QString line = text.simplified();
    if (title != applicationTitle)
        line = title + QStringLiteral(": ") + line;
    return line;
}

void ConsoleDialogs::message(const QString& text, const QString& title) {
    const QString shown = line(text, title);
    m_messages.append(shown);
    if (m_print)
        m_print(shown);
}

QStringList ConsoleDialogs::takeMessages() {
    QStringList taken;
    taken.swap(m_messages);
    return taken;
}
