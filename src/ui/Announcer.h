#pragma once

#include <QDeadlineTimer>
#include <QStringList>
#include <QWidget>

#include <array>

// What the window says to a screen reader, once each and in order: a
// notification object that shows itself with the text, as a reader speaks
// a notification the moment it appears. Texts are spoken once the window's
// own work is done (after the event that brought them), so a move of the
// keyboard at the end of a command does not cut them off; texts that come
// together are spoken together, as one. Each text comes on the next of a
// few notification objects in turn: a reader drops an event that a later
// one of the same object overtakes, and would skip a message that the next
// one followed closely.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* window);

    void say(const QString& text);
    // Drops what was said last, if it has not been spoken yet: a message the
    // status box showed only until the next one came.
    void withdraw(const QString& text);
    // Holds what is said for ms: a read or an open changes every list at
    // once, and a reader that falls behind drops the notifications among
    // the changes it skips.
    void holdFor(int ms);
    // The text of the last notification.
    QString text() const { return m_text; }

private:
    void flush();
    std::array<QWidget*, 4> m_notices{};
    size_t m_next = 0;
    QDeadlineTimer m_held;
    QStringList m_queue;
    QString m_text;
};
