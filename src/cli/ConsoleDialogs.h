#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <functional>

// The dialogs of a command run from the console: a message box is printed
// as one line the moment it is shown; the file dialog answers with the FILE
// the command line named.
class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(std::function<void(const QString&)> print)
        : m_print(std::move(print)) {}

    void message(const QString& text, const QString& title = applicationTitle) override;
    // A console command has nobody to ask: it goes on, as it was told to.
    SaveAnswer askToSave(const QString&, const QString&) override { return SaveAnswer::Discard; }
    std::optional<QString> chooseOpenPath(const QString&, const QString&) override {
        return m_path;
    }
    std::optional<QString> chooseSavePath(const QString&, const QString&, const QString&) override {
        return m_path;
    }

    void answerWith(const QString& path) { m_path = path; }
    // "TITLE: TEXT" on one line; a box under the application's title shows
    // its text alone.
    static QString line(const QString& text, const QString& title);

    // The messages shown since the last take, one line each.
    QStringList takeMessages();

private:
    std::function<void(const QString&)> m_print;
    QString m_path;
    QStringList m_messages;
};
