#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Message boxes, the file and folder dialogs and small forms. The product shows Qt's own; tests
// answer them and record what was shown.
class Dialogs {
public:
    static inline const QString applicationTitle = QStringLiteral("TARNEK561or567");

    virtual ~Dialogs() = default;

    // A blocking box with one OK button and no icon. A box without a title of
    // its own carries the application title.
    virtual void message(const QString& text, const QString& title = applicationTitle) = 0;

    // Asked before unsaved changes would be lost: a blocking box with the
    // buttons Save, Discard and Cancel and no icon.
    enum class SaveAnswer { Save, Discard, Cancel };
    virtual SaveAnswer askToSave(const QString& text, const QString& title = applicationTitle) = 0;

    // One file dialog for both commands: its file name stays from one use to
    // the next, and it starts in the folder of the file chosen last. A save
    // proposes fileName; an open starts with the name left by the last use.
    // nullopt when the user cancelled.
    virtual std::optional<QString> chooseOpenPath(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> chooseSavePath(const QString& title, const QString& filter,
                                                  const QString& fileName) = 0;

    // The file dialogs of other files (a schedule read; a sheet or a site
    // document written) and the folder dialog: dialogs of their own, so the
    // open and save commands' file name stays. A save proposes proposed;
    // nullopt for a cancel.
    virtual std::optional<QString> chooseInputPath(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> chooseOutputPath(const QString& title, const QString& filter,
                                                    const QString& proposed) = 0;
    virtual std::optional<QString> chooseFolder(const QString& title) = 0;

    // A form of one-line texts, each beside its label and starting at its
    // value, with OK and Cancel: the texts as confirmed, nullopt for a cancel.
    // A label's "&" marks its key (Alt and the letter).
    virtual std::optional<QStringList> askTexts(const QString& title, const QStringList& labels,
                                                const QStringList& values) = 0;
};
