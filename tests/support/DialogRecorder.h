#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Answers message boxes and file dialogs at once and remembers what was shown.
class DialogRecorder : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
    };
    struct FileRequest {
        bool save;
        QString title;
        QString filter;
        QString fileName; // the name the dialog started with
    };

    void message(const QString& text, const QString& title = applicationTitle) override;
    SaveAnswer askToSave(const QString& text, const QString& title = applicationTitle) override;
    std::optional<QString> chooseOpenPath(const QString& title, const QString& filter) override;
    std::optional<QString> chooseSavePath(const QString& title, const QString& filter,
                                          const QString& fileName) override;
    std::optional<QString> chooseInputPath(const QString& title, const QString& filter) override;
    std::optional<QString> chooseOutputPath(const QString& title, const QString& filter,
                                            const QString& proposed) override;
    std::optional<QString> chooseFolder(const QString& title) override;
    std::optional<QStringList> askTexts(const QString& title, const QStringList& labels,
                                        const QStringList& values) override;

    QList<Shown> messages;
    QList<Shown> questions; // asked whether to save

    // The next answers to the save question; Discard once they run out.
    QList<SaveAnswer> saveAnswers;
    QList<FileRequest> fileRequests;

    // The next paths the file dialog returns; nullopt answers as a cancel.
    QList<std::optional<QString>> answers;

    // The output and folder dialogs, apart from the open and save commands'
    // one; each answered from its own list, a cancel once it runs out.
    QList<FileRequest> inputRequests; // open
    QList<std::optional<QString>> inputAnswers;
    QList<FileRequest> outputRequests; // save, with the name proposed
    QList<std::optional<QString>> outputAnswers;
    QStringList folderRequests; // their titles
    QList<std::optional<QString>> folderAnswers;

    struct TextsRequest {
        QString title;
        QStringList labels;
        QStringList values; // as the form started
    };
    QList<TextsRequest> textsRequests;
    // The next forms' answers; a cancel once they run out.
    QList<std::optional<QStringList>> textsAnswers;

    // Runs while a message box is "open", as the user could act meanwhile.
    std::function<void(const Shown&)> onMessage;

private:
    std::optional<QString> answer(bool save, const QString& title, const QString& filter);
    QString m_fileName;
};
