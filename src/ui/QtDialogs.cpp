#include "ui/QtDialogs.h"

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

QFileDialog& QtDialogs::dialog() {
    if (!m_dialog)
        m_dialog = new QFileDialog(m_parent);
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
    d.selectFile(m_fileName);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = d.selectedFiles().constFirst();
    m_fileName = QFileInfo(path).fileName();
    return path;
}
