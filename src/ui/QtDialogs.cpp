#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

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

namespace {
void useReadableDialog(QFileDialog& dialog) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // The desktop's own dialog there is GTK's, drawn inside this program,
    // and GTK's accessibility is switched off (see main): Qt's dialog is
    // the one a screen reader can read.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#else
    Q_UNUSED(dialog);
#endif
}

// Enter on a typed name accepts the dialog while the name box's list of
// completions is open; that list is a window of its own and would stay on
// the screen, taking the next click.
void hideCompletions(QFileDialog& dialog) {
    for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        if (completer->popup())
            completer->popup()->hide();
    }
}

QString chosen(QFileDialog& dialog, bool accepted) {
    hideCompletions(dialog);
    if (!accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QFileDialog& QtDialogs::dialog() {
    if (!m_dialog) {
        m_dialog = new QFileDialog(m_parent);
        useReadableDialog(*m_dialog);
    }
    return *m_dialog;
}

// Over the window asked from (the site window's folder over the site window),
// never over a menu that has just closed.
QWidget* QtDialogs::owner() const {
    QWidget* active = QApplication::activeWindow();
    return active && active->windowType() != Qt::Popup ? active : m_parent.data();
}

std::optional<QString> QtDialogs::chooseInputPath(const QString& title, const QString& filter) {
    QFileDialog d(owner(), title, m_outputFolder, filter);
    useReadableDialog(d);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    const QString path = chosen(d, d.exec() == QDialog::Accepted);
    if (path.isEmpty())
        return std::nullopt;
    m_outputFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtDialogs::chooseOutputPath(const QString& title, const QString& filter,
                                                   const QString& proposed) {
    QFileDialog d(owner(), title, m_outputFolder, filter);
    useReadableDialog(d);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    // The filter's first pattern ("*.pdf") gives a name typed without it its
    // ending.
    const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    if (const auto match = pattern.match(filter); match.hasMatch())
        d.setDefaultSuffix(match.captured(1));
    d.selectFile(proposed);
    const QString path = chosen(d, d.exec() == QDialog::Accepted);
    if (path.isEmpty())
        return std::nullopt;
    m_outputFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtDialogs::chooseFolder(const QString& title) {
    QFileDialog d(owner(), title, m_folder);
    useReadableDialog(d);
    d.setFileMode(QFileDialog::Directory);
    d.setOption(QFileDialog::ShowDirsOnly);
    const QString folder = chosen(d, d.exec() == QDialog::Accepted);
    return folder.isEmpty() ? std::nullopt : std::optional(folder);
}

std::optional<QStringList> QtDialogs::askTexts(const QString& title, const QStringList& labels,
                                               const QStringList& values) {
    QDialog form(owner());
    form.setWindowTitle(title);
    auto* layout = new QFormLayout(&form);
    QList<QLineEdit*> boxes;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        auto* box = new QLineEdit(values.value(i), &form);
        box->setAccessibleName(QString(labels[i]).remove(u'&'));
        box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 40);
        layout->addRow(labels[i], box);
        boxes << box;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &form);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    layout->addRow(buttons);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList texts;
    for (const QLineEdit* box : boxes)
        texts << box->text();
    return texts;
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
    const QString path = chosen(d, d.exec() == QDialog::Accepted);
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo file(path);
    m_fileName = file.fileName();
    m_folder = file.absolutePath();
    return path;
}
