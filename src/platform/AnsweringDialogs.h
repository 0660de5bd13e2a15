#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <functional>

// The dialogs of a front end with no one to ask (the console commands, the
// sheet, the schedule): a message box is kept as one line and handed to print
// the moment it is shown; the file and folder dialogs answer with the path
// set; a form is taken as it starts; unsaved changes are discarded without a
// question.
class AnsweringDialogs : public Dialogs {
public:
    explicit AnsweringDialogs(std::function<void(const QString&)> print = {})
        : m_print(std::move(print)) {}

    void message(const QString& text, const QString& title = applicationTitle) override;
    std::optional<QString> chooseOpenPath(const QString&, const QString&) override {
        return answer;
    }
    std::optional<QString> chooseSavePath(const QString&, const QString&, const QString&) override {
        return answer;
    }
    std::optional<QString> chooseInputPath(const QString&, const QString&) override {
        return answer;
    }
    std::optional<QString> chooseOutputPath(const QString&, const QString&,
                                            const QString&) override {
        return answer;
    }
    std::optional<QString> chooseFolder(const QString&) override { return answer; }
    SaveAnswer askToSave(const QString&, const QString&) override { return SaveAnswer::Discard; }
    // A form is taken as it starts.
    std::optional<QStringList> askTexts(const QString&, const QStringList&,
                                        const QStringList& values) override {
        return values;
    }

    // What the file dialog answers; nullopt for a cancel.
    std::optional<QString> answer;

    // "TITLE: TEXT" on one line; a box under the application's title shows
    // its text alone.
    static QString line(const QString& text, const QString& title);

    // The messages shown since the last take, one line each.
    const QStringList& messages() const { return m_messages; }
    QStringList takeMessages();

private:
    std::function<void(const QString&)> m_print;
    QStringList m_messages;
};
