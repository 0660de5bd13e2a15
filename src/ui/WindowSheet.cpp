#include "ui/WindowSheet.h"

#include "files/FileNames.h"
#include "sheet/SheetCommand.h"
#include "sheet/SheetDocument.h"
#include "site/Handover.h"
#include "site/SiteModel.h"
#include "ui/Form1.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

namespace {
const QString caption = QStringLiteral("PRINT SHEET\u2026");
const QString saveTitle = QStringLiteral("SAVE CONFIGURATION SHEET AS PDF");
const QString pdfFilter = QStringLiteral("PDF FILES (*.pdf)");
const QString notSavedTitle = QStringLiteral("SHEET NOT SAVED");
const QString notSavedText = QStringLiteral("THE CONFIGURATION SHEET WAS NOT SAVED:\n%1\n%2");
const QString notPrintedTitle = QStringLiteral("SHEET NOT PRINTED");
const QString notPrintedText = QStringLiteral("THE CONFIGURATION SHEET COULD NOT BE PRINTED.");

const QString siteFolderTitle = QStringLiteral("FOLDER FOR THE SITE DOCUMENT");
const QString siteTitle = QStringLiteral("SITE DOCUMENT");
const QString siteSaveTitle = QStringLiteral("SAVE SITE DOCUMENT AS PDF");
const QString siteSavedTitle = QStringLiteral("SITE DOCUMENT SAVED");
const QString siteSavedText = QStringLiteral("THE SITE DOCUMENT WAS SAVED AS:\n%1");
const QString siteNotSavedTitle = QStringLiteral("SITE DOCUMENT NOT SAVED");
const QString siteNotSavedText = QStringLiteral("THE SITE DOCUMENT WAS NOT SAVED:\n%1");
const QStringList siteFields{QStringLiteral("SITE &NAME"), QStringLiteral("CONFIGURED &BY")};

// The panel's name, as the save command proposes it for the configuration
// file, made safe to be a file name.
QString documentName(const Sheet& sheet) {
    return sheet.panel.trimmed().isEmpty() ? QStringLiteral("sheet")
                                           : FileNames::fromPanelName(sheet.panel);
}
} // namespace

WindowSheet::WindowSheet(Form1& form, Dialogs& dialogs)
    : QObject(&form), m_form(form), m_dialogs(dialogs) {
    m_button = new QToolButton(&form);
    m_button->setObjectName(QStringLiteral("PRINT_SHEET"));
    m_button->setText(caption);
    m_button->setToolTip(
        QStringLiteral("LEFT CLICK TO SAVE OR PRINT THE CONFIGURATION SHEET (CTRL+P)"));
    // Spoken as it reads, so a user who sees it and one who hears it name it alike.
    m_button->setAccessibleName(QStringLiteral("PRINT SHEET"));
    m_button->setAccessibleDescription(
        QStringLiteral("SAVE OR PRINT THE CONFIGURATION SHEET, OR A SITE DOCUMENT"));
    if (const auto* command = form.findChild<QPushButton*>(QStringLiteral("READ_CONFIG")))
        m_button->setFont(command->font());
    // Above READ_CONFIG, right of the option buttons, where the window is empty.
    m_button->setGeometry(twipsRect(8760, 420, 2415, 615));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* menu = new QMenu(m_button);
    QAction* save = menu->addAction(QStringLiteral("SAVE AS PDF\u2026"));
    save->setObjectName(QStringLiteral("SAVE_SHEET_PDF"));
    QAction* printing = menu->addAction(QStringLiteral("PRINT\u2026"));
    printing->setObjectName(QStringLiteral("PRINT_SHEET_DIALOG"));
    QAction* site = menu->addAction(QStringLiteral("SITE DOCUMENT OF A FOLDER AS PDF\u2026"));
    site->setObjectName(QStringLiteral("SAVE_SITE_PDF"));
    connect(site, &QAction::triggered, this, &WindowSheet::saveSiteAsPdf);
    connect(save, &QAction::triggered, this, &WindowSheet::saveAsPdf);
    connect(printing, &QAction::triggered, this, &WindowSheet::print);
    m_button->setMenu(menu);

    auto* shortcut = new QShortcut(QKeySequence::Print, &form);
    connect(shortcut, &QShortcut::activated, this, [this] {
        if (m_button->isEnabled())
            m_button->showMenu();
    });
}

void WindowSheet::noteSource(const QString& source, std::optional<PanelValues> given,
                             const QString& giver) {
    m_source = source;
    m_sourceSheet = sheetFromWindow(m_form.session());
    m_sourceValues = given;
    m_giver = giver;
}

void WindowSheet::fileTaken(const QString& path, const PanelValues& given) {
    noteSource(path, given, QStringLiteral("the file"));
}

void WindowSheet::readFromPanel(const QDateTime& when, const PanelValues& values) {
    noteSource(QStringLiteral("read from panel on %1").arg(when.toString("yyyy-MM-dd HH:mm")),
               values, QStringLiteral("the panel"));
}

Sheet WindowSheet::sheet() const {
    Sheet sheet = sheetFromWindow(m_form.session());
    if (!m_sourceSheet)
        sheet.source = QStringLiteral("entered in the window");
    else if (sheet.sameConfiguration(*m_sourceSheet)) {
        sheet.source = m_source;
        const auto shown = m_form.session().valuesToSend();
        if (m_sourceValues && shown)
            noteAdjustments(sheet, m_form.session(), *m_sourceValues, *shown, m_giver);
    } else
        sheet.source = m_source + QStringLiteral(", changed in the window since");
    return sheet;
}

void WindowSheet::saveAsPdf() {
    if (m_form.session().transactionRunning())
        return;
    const Sheet shown = sheet();
    // A dialog of its own, so the open and save commands' file name is left alone.
    const auto path = m_dialogs.chooseOutputPath(saveTitle, pdfFilter,
                                                 documentName(shown) + QStringLiteral(".pdf"));
    if (!path)
        return;
    if (QString why; !SheetDocument::writePdf(*path, {shown}, &why))
        m_dialogs.message(notSavedText.arg(*path, why.toUpper()), notSavedTitle);
}

// The sheet command's own run on the site's files as the site window lists
// them: a cover, the files in natural order, each that does not open named
// as skipped.
void WindowSheet::saveSiteAsPdf() {
    if (m_form.session().transactionRunning())
        return;
    const auto chosen = m_dialogs.chooseFolder(siteFolderTitle);
    if (!chosen)
        return;
    SiteModel site;
    QString why;
    if (!site.open(*chosen, &why) || site.panels().isEmpty()) {
        m_dialogs.message(
            siteNotSavedText.arg(
                QDir::toNativeSeparators(*chosen) + u'\n' +
                (why.isEmpty() ? QStringLiteral("NO CONFIGURATION FILE (*.zqc)") : why.toUpper())),
            siteNotSavedTitle);
        return;
    }
    QStringList files;
    for (const SitePanel& panel : site.panels())
        files << panel.path;

    const Handover::Fields start = Handover::remembered(site.folder(), m_settings);
    const auto texts = m_dialogs.askTexts(siteTitle, siteFields, {start.name, start.by});
    if (!texts)
        return;
    Handover::Fields fields{texts->value(0).trimmed(), texts->value(1).trimmed()};
    Handover::remember(site.folder(), fields, m_settings);
    if (fields.name.isEmpty())
        fields.name = Handover::folderName(site.folder());

    writeSiteDocument(m_dialogs, files, fields);
}

bool WindowSheet::writeSiteDocument(Dialogs& dialogs, const QStringList& files,
                                    const Handover::Fields& fields) {
    const QString proposed =
        fields.name.isEmpty() ? QStringLiteral("site") : FileNames::fromPanelName(fields.name);
    const auto path =
        dialogs.chooseOutputPath(siteSaveTitle, pdfFilter, proposed + QStringLiteral(".pdf"));
    if (!path)
        return false;
    QString errors, written;
    SheetCommand::run({files, *path, fields.name, fields.by}, &errors, {}, &written);
    // The files skipped, and the notes of values the window would show
    // otherwise, after where it went.
    if (written.isEmpty())
        dialogs.message(siteNotSavedText.arg(errors.trimmed()), siteNotSavedTitle);
    else
        dialogs.message((siteSavedText.arg(QDir::toNativeSeparators(written)) +
                         QStringLiteral("\n\n") + errors.trimmed())
                            .trimmed(),
                        siteSavedTitle);
    return !written.isEmpty();
}

void WindowSheet::print() {
    if (m_form.session().transactionRunning())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(SheetDocument::paperFor());
    SheetDocument::setMargins(printer);
    printer.setDocName(documentName(sheet()));
    QPrintDialog dialog(&printer, &m_form);
    if (dialog.exec() == QDialog::Accepted)
        printOn(printer);
}

void WindowSheet::printOn(QPrinter& printer) {
    if (!SheetDocument::paint(printer, {sheet()}))
        m_dialogs.message(notPrintedText, notPrintedTitle);
}
