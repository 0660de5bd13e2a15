#include "cli/ConsoleDialogs.h"

void ConsoleDialogs::message(const QString& text, const QString& title) {
    QString line = text.simplified();
    if (title != applicationTitle)
        line = title + QStringLiteral(": ") + line;
    m_messages.append(line);
}

QStringList ConsoleDialogs::takeMessages() {
    QStringList taken;
    taken.swap(m_messages);
    return taken;
}
