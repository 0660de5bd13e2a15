#include "DialogRecorder.h"

#include <QFileInfo>

void DialogRecorder::message(const QString& text, const QString& title) {
    messages.append({text, title});
    if (onMessage)
        onMessage(messages.last());
}

Dialogs::SaveAnswer DialogRecorder::askToSave(const QString& text, const QString& title) {
    questions.append({text, title});
    return saveAnswers.isEmpty() ? SaveAnswer::Discard : saveAnswers.takeFirst();
}

std::optional<QString> DialogRecorder::chooseOpenPath(const QString& title, const QString& filter) {
    return answer(false, title, filter);
}

std::optional<QString> DialogRecorder::chooseSavePath(const QString& title, const QString& filter,
                                                      const QString& fileName) {
    m_fileName = fileName;
    return answer(true, title, filter);
}

namespace {
template <typename T> std::optional<T> next(QList<std::optional<T>>& answers) {
    return answers.isEmpty() ? std::nullopt : answers.takeFirst();
}
} // namespace

std::optional<QString> DialogRecorder::chooseInputPath(const QString& title,
                                                       const QString& filter) {
    inputRequests.append({false, title, filter, {}});
    return next(inputAnswers);
}

std::optional<QString> DialogRecorder::chooseOutputPath(const QString& title, const QString& filter,
                                                        const QString& proposed) {
    outputRequests.append({true, title, filter, proposed});
    return next(outputAnswers);
}

std::optional<QString> DialogRecorder::chooseFolder(const QString& title) {
    folderRequests.append(title);
    return next(folderAnswers);
}

std::optional<QStringList> DialogRecorder::askTexts(const QString& title, const QStringList& labels,
                                                    const QStringList& values) {
    textsRequests.append({title, labels, values});
    return next(textsAnswers);
}

std::optional<QString> DialogRecorder::answer(bool save, const QString& title,
                                              const QString& filter) {
    fileRequests.append({save, title, filter, m_fileName});
    if (answers.isEmpty())
        return std::nullopt;
    auto path = answers.takeFirst();
    if (path)
        m_fileName = QFileInfo(*path).fileName();
    return path;
}
