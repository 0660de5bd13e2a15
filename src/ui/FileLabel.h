#pragma once

#include <QLabel>

#include <functional>

class Session;

// Where the user is: the file the window shows, "UNSAVED CHANGES" while the
// configuration differs from what was last opened, saved or read, and for a
// few seconds after a save "SAVED AS NAME.zqc". It sits in the empty band
// under the port picker, above the panel picture.
class FileLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int savedNoticeMs = 4000;
    // Runs action once, after ms; tests run it when they choose.
    using Later = std::function<void(int ms, std::function<void()> action)>;

    FileLabel(Session& session, QWidget* window);
    void setLater(Later later) { m_later = std::move(later); }

    // A save to path has happened: announced until the notice's time is up
    // or the next change.
    void saved(const QString& path);

    // The window moved on to the next file once the panel of writtenPath
    // was programmed: the status box still tells of that write, and the
    // label says whose it is ("P2.zqc – P1.zqc PROGRAMMED") until the status
    // box changes or the configuration is edited.
    void movedOnFrom(const QString& writtenPath);

    // What the label says now.
    QString message() const { return m_message; }

private:
    void refresh();
    void show(const QString& name, const QString& state, const QString& path);

    Session& m_session;
    Later m_later;
    QString m_notice;  // "SAVED AS ..." while it lasts
    QString m_written; // "P1.zqc PROGRAMMED" while the status box tells of it
    int m_noticeGeneration = 0;
    QString m_message;
};
