#include "platform/AnsweringDialogs.h"

QString AnsweringDialogs::line(const QString& text, const QString& title) {
    QString line = text.simplified();
    if (title != applicationTitle)
        line = title + QStringLiteral(": ") + line;
    return line;
}

void AnsweringDialogs::message(const QString& text, const QString& title) {
    const QString shown = line(text, title);
    m_messages.append(shown);
    if (m_print)
        m_print(shown);
}

QStringList AnsweringDialogs::takeMessages() {
    QStringList taken;
    taken.swap(m_messages);
    return taken;
}
