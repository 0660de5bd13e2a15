#pragma once

#include "platform/Dialogs.h"

#include <QPointer>

class QFileDialog;
class QWidget;

// Qt's message box and one file dialog object shared by the open and save
// commands, so the file name chosen last is offered again, in its folder.
// An output's dialog starts where the last output went; the folder dialog
// where the last configuration file was.
class QtDialogs : public Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;
    void setParent(QWidget* parent);

    void message(const QString& text, const QString& title) override;
    SaveAnswer askToSave(const QString& text, const QString& title) override;
    std::optional<QString> chooseOpenPath(const QString& title, const QString& filter) override;
    std::optional<QString> chooseSavePath(const QString& title, const QString& filter,
                                          const QString& fileName) override;
    std::optional<QString> chooseInputPath(const QString& title, const QString& filter) override;
    std::optional<QString> chooseOutputPath(const QString& title, const QString& filter,
                                            const QString& proposed) override;
    std::optional<QString> chooseFolder(const QString& title) override;
    std::optional<QStringList> askTexts(const QString& title, const QStringList& labels,
                                        const QStringList& values) override;

private:
    QFileDialog& dialog();
    QWidget* owner() const;
    std::optional<QString> run(const QString& title, const QString& filter);

    QPointer<QWidget> m_parent;
    QPointer<QFileDialog> m_dialog; // a child of the window, which may go first
    QString m_fileName;
    QString m_folder;       // of the file chosen last
    QString m_outputFolder; // of the other file chosen last
};
