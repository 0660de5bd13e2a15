#pragma once

#include "frontend/Dialogs.h"

#include <QStringList>

// The dialogs of a command run from the console: a message box is
// remembered for the command to report; the file dialog answers with the
// FILE the command line named.
class ConsoleDialogs : public Dialogs {
public:
    void message(const QString& text, const QString& title = applicationTitle) override;
    std::optional<QString> chooseOpenPath(const QString&, const QString&) override {
        return m_path;
    }
    std::optional<QString> chooseSavePath(const QString&, const QString&, const QString&) override {
        return m_path;
    }

    void answerWith(const QString& path) { m_path = path; }
    // The texts shown, one line each, since the last take.
    QStringList takeMessages();

private:
    QString m_path;
    QStringList m_messages;
};
