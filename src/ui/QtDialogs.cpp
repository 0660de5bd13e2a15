#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QtDialogs::QtDialogs() = default;

QtDialogs::~QtDialogs() {
    delete m_dialog;
}

void QtDialogs::setParent(QWidget* parent) {
    m_parent = parent;
}

void QtDialogs::message(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

// Escape and the window's close button answer Cancel: nothing is lost.
Dialogs::SaveAnswer QtDialogs::askToSave(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // Each answer has its key (Alt and the first letter) where the style's
    // text gives it none.
    for (QAbstractButton* button : box.buttons())
        if (!button->text().contains(QLatin1Char('&')))
            button->setText(QLatin1Char('&') + button->text());
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

QFileDialog& QtDialogs::dialog() {
    if (!m_dialog) {
        m_dialog = new QFileDialog(m_parent);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
        // The desktop's own dialog there is GTK's, drawn inside this program,
        // and GTK's accessibility is switched off (see main): Qt's dialog is
        // the one a screen reader can read.
        m_dialog->setOption(QFileDialog::DontUseNativeDialog);
#endif
    }
    return *m_dialog;
}

std::optional<QString> QtDialogs::chooseOpenPath(const QString& title, const QString& filter) {
    dialog().setAcceptMode(QFileDialog::AcceptOpen);
    dialog().setFileMode(QFileDialog::ExistingFile);
    return run(title, filter);
}

std::optional<QString> QtDialogs::chooseSavePath(const QString& title, const QString& filter,
                                                 const QString& fileName) {
    dialog().setAcceptMode(QFileDialog::AcceptSave);
    dialog().setFileMode(QFileDialog::AnyFile);
    m_fileName = fileName;
    return run(title, filter);
}

std::optional<QString> QtDialogs::run(const QString& title, const QString& filter) {
    QFileDialog& d = dialog();
    d.setWindowTitle(title);
    d.setNameFilter(filter);
    if (!m_folder.isEmpty())
        d.setDirectory(m_folder);
    d.selectFile(m_fileName);
    const bool accepted = d.exec() == QDialog::Accepted;
    // Enter on a typed name accepts the dialog while the name box's list of
    // completions is open; that list is a window of its own and would stay
    // on the screen, taking the next click.
    for (QCompleter* completer : d.findChildren<QCompleter*>()) {
        if (completer->popup())
            completer->popup()->hide();
    }
    if (!accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = d.selectedFiles().constFirst();
    const QFileInfo chosen(path);
    m_fileName = chosen.fileName();
    m_folder = chosen.absolutePath();
    return path;
}
