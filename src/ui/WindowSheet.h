#pragma once

#include "platform/Dialogs.h"
#include "sheet/Sheet.h"
#include "site/Handover.h"

#include <QObject>

#include <optional>

class Form1;
class Settings;
class QPrinter;
class QToolButton;

// The window's sheet command: a button in the empty band at the top right,
// and Ctrl+P, offering the sheet of the configuration in the window as a PDF
// or on a printer. It only reads the window; an item never assigned is blank.
class WindowSheet : public QObject {
    Q_OBJECT
public:
    WindowSheet(Form1& form, Dialogs& dialogs);

    QToolButton* button() const { return m_button; }
    // Where a site's name and who configured it are remembered, per folder,
    // as the site window remembers them.
    void setSettings(Settings& settings) { m_settings = &settings; }

    // Where the configuration in the window came from, told as it arrives:
    // the file it was opened from or saved to, and the values it gives.
    void fileTaken(const QString& path, const PanelValues& given);
    // values: what the panel holds, as read.
    void readFromPanel(const QDateTime& when, const PanelValues& values);

    // The sheet of the window as it is now.
    Sheet sheet() const;

    void saveAsPdf();
    // The site's document of every configuration file in a folder, made out
    // to the site's name and who configured it; where it went is said.
    void saveSiteAsPdf();
    // The site document of files as a PDF: asks where, writes it, and says
    // where it went or why it did not. False when it was not written.
    static bool writeSiteDocument(Dialogs& dialogs, const QStringList& files,
                                  const Handover::Fields& fields);
    void print();
    // Prints on a printer already set up, as the print dialog leaves it.
    void printOn(QPrinter& printer);

private:
    void noteSource(const QString& source, std::optional<PanelValues> given, const QString& giver);

    Form1& m_form;
    Dialogs& m_dialogs;
    QToolButton* m_button = nullptr;
    Settings* m_settings = nullptr;
    QString m_source;
    std::optional<Sheet> m_sourceSheet;        // the window as it came from m_source
    std::optional<PanelValues> m_sourceValues; // what m_source holds
    QString m_giver;                           // "the file", "the panel"
};
