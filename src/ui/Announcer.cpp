#include "ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QTimer>

namespace {
// One notification object: a pixel that draws nothing.
class Notice : public QWidget {
    Q_OBJECT
public:
    explicit Notice(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
        hide();
    }
};

QAccessibleInterface* notificationFor(const QString& key, QObject* object) {
    if (key == QLatin1String("Notice") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}
} // namespace

Announcer::Announcer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("ANNOUNCER"));
    static const bool installed = [] {
        QAccessible::installFactory(notificationFor);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // A pixel in the window's empty top left corner; it draws nothing.
    setGeometry(0, 0, 1, 1);
    for (QWidget*& notice : m_notices)
        notice = new Notice(this);
}

void Announcer::say(const QString& text) {
    const QString spoken = text.simplified();
    if (spoken.isEmpty())
        return;
    if (m_queue.isEmpty())
        QMetaObject::invokeMethod(this, &Announcer::flush, Qt::QueuedConnection);
    m_queue << spoken;
}

void Announcer::withdraw(const QString& text) {
    if (!m_queue.isEmpty() && m_queue.last() == text.simplified())
        m_queue.removeLast();
}

void Announcer::holdFor(int ms) {
    m_held.setRemainingTime(ms);
}

void Announcer::flush() {
    if (m_queue.isEmpty())
        return;
    if (!m_held.hasExpired()) {
        QTimer::singleShot(int(m_held.remainingTime()), this, &Announcer::flush);
        return;
    }
    // A reader cuts a notification short for the next one: what came
    // together goes as one.
    m_text = m_queue.join(QStringLiteral(". "));
    m_queue.clear();
    QWidget* notice = m_notices[m_next];
    m_next = (m_next + 1) % m_notices.size();
    notice->hide();
    notice->setAccessibleName(m_text);
    notice->show();
}

#include "Announcer.moc"
