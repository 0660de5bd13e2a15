#include "ui/FileLabel.h"

#include "session/Session.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {
const QString unsavedText = QStringLiteral("UNSAVED CHANGES");
const QString savedText = QStringLiteral("SAVED AS %1");
const QString separator = QStringLiteral(" \u2013 ");
const QString programmedText = QStringLiteral("%1 PROGRAMMED");
} // namespace

FileLabel::FileLabel(Session& session, QWidget* window)
    : QLabel(window), m_session(session), m_later([this](int ms, std::function<void()> action) {
          QTimer::singleShot(ms, this, std::move(action));
      }) {
    setObjectName(QStringLiteral("FILE_LABEL"));
    setGeometry(twipsRect(960, 975, 3480, 330));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Whatever undo, typing or a command changes, the label follows.
    connect(&session, &Session::undoChanged, this, &FileLabel::refresh);
    connect(&session, &Session::storedChanged, this, &FileLabel::refresh);
    connect(&session, &Session::boxChanged, this, &FileLabel::refresh);
    connect(&session, &Session::statusChanged, this, [this] {
        if (m_written.isEmpty())
            return;
        m_written.clear();
        refresh();
    });
    refresh();
}

void FileLabel::movedOnFrom(const QString& writtenPath) {
    m_written = programmedText.arg(QFileInfo(writtenPath).fileName());
    refresh();
}

void FileLabel::saved(const QString& path) {
    m_notice = savedText.arg(QFileInfo(path).fileName());
    const int generation = ++m_noticeGeneration;
    m_later(savedNoticeMs, [this, generation] {
        if (generation != m_noticeGeneration)
            return;
        m_notice.clear();
        refresh();
    });
    refresh();
}

void FileLabel::refresh() {
    const bool unsaved = m_session.unsavedChanges();
    // An edit after the save ends its notice.
    if (unsaved && !m_notice.isEmpty()) {
        m_notice.clear();
        ++m_noticeGeneration;
    }
    if (unsaved)
        m_written.clear();
    const QString path = m_session.storedPath();
    if (!m_notice.isEmpty()) {
        show(m_notice, {}, path);
        return;
    }
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    if (!m_written.isEmpty()) {
        show(name, separator + m_written, path);
        return;
    }
    show(name, unsaved ? (name.isEmpty() ? unsavedText : separator + unsavedText) : QString(),
         path);
}

// A long file name gives way in its middle; the state after it stays whole.
void FileLabel::show(const QString& name, const QString& state, const QString& path) {
    const QString message = name + state;
    if (message == m_message && toolTip() == QDir::toNativeSeparators(path))
        return;
    m_message = message;
    const int room = width() - fontMetrics().horizontalAdvance(state);
    setText(fontMetrics().elidedText(name, Qt::ElideMiddle, room) + state);
    setToolTip(QDir::toNativeSeparators(path));
    setAccessibleName(message);
}
