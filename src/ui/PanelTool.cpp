#include "ui/PanelTool.h"

#include "ui/Announcer.h"

#include <QToolButton>

namespace {
// About what a screen reader takes to catch up with a whole window changed.
constexpr int readPause = 1500;
} // namespace

PanelTool::PanelTool(Dialogs& dialogs, SerialPort& port, int tickMs, EventYield* yield,
                     TickTimer* timer)
    : session(dialogs), form(session), link(session, dialogs, port, tickMs, yield, timer),
      files(session, dialogs), sheet(new WindowSheet(form, dialogs)),
      compareControls(new CompareControls(form, [this] { compare(); })),
      fileLabel(new FileLabel(session, &form)), help(new Help(form, dialogs)), m_port(port),
      m_dialogs(dialogs) {
    QObject::connect(&link, &PanelLink::stepsDone, compareControls, &CompareControls::showProgress);
    form.setCommands({[this] {
                          if (overPickedPort(&PanelLink::READ_CONFIG_Click) &&
                              link.lastOutcome() == PanelLink::Outcome::Done) {
                              session.configurationRead();
                              form.announcer()->holdFor(readPause);
                              sheet->readFromPanel(QDateTime::currentDateTime(), link.valuesRead());
                          }
                      },
                      [this] { writeConfig(); }, [this] { readFile(); }, [this] { writeFile(); },
                      [this] { link.requestStop(); }});
    files.panelNameMissing = [this] { form.focusPanelName(); };
    // Tab reaches the sheet command after the option buttons, and HELP
    // after the compare command, as they sit.
    QWidget::setTabOrder(form.findChild<QWidget*>(QStringLiteral("Option2")),
                         form.findChild<QToolButton*>(QStringLiteral("PRINT_SHEET")));
    QWidget::setTabOrder(form.findChild<QWidget*>(QStringLiteral("WRITE_CONFIG")),
                         compareControls->button());
    QWidget::setTabOrder(compareControls->button(), help->button());
}

// Only the status box and the marks change: no selection, no text, so the
// transaction leaves no undo step and nothing unsaved.
void PanelTool::compare() {
    if (session.transactionRunning() || !session.readyToCompare())
        return;
    overPickedPort(&PanelLink::COMPARE_CONFIG_Click);
    if (link.lastOutcome() == PanelLink::Outcome::Done)
        session.showComparison(link.valuesRead());
}

std::optional<PanelLink::Outcome> PanelTool::readPanel() {
    if (session.transactionRunning() || !overPickedPort(&PanelLink::COMPARE_CONFIG_Click))
        return std::nullopt;
    return link.lastOutcome();
}

std::optional<PanelLink::Outcome> PanelTool::writeConfig() {
    if (session.transactionRunning() || (beforeWrite && !beforeWrite()))
        return std::nullopt;
    if (!overPickedPort(&PanelLink::WRITE_CONFIG_Click))
        return std::nullopt;
    if (link.lastOutcome() == PanelLink::Outcome::Done)
        session.assignmentsWritten();
    if (afterWrite)
        afterWrite(link.lastOutcome());
    return link.lastOutcome();
}

PanelLink::Outcome PanelTool::probe() {
    if (picker)
        link.useDevice(picker->device());
    return link.probe();
}

FileOutcome PanelTool::open(const QString& path) {
    return took(files.open(path));
}

// Once a file is shown or written: the session learns what is stored, the
// sheet where the configuration came from, and the user which file it is.
FileOutcome PanelTool::took(FileOutcome outcome) {
    if (!outcome.done())
        return outcome;
    session.configurationStored(outcome.path);
    sheet->fileTaken(outcome.path, ConfigFile::panelValues(*outcome.line));
    if (outcome.kind == FileOutcome::Kind::Saved) {
        fileLabel->saved(outcome.path);
        form.announcer()->say(fileLabel->message());
    } else {
        form.announcer()->holdFor(readPause);
    }
    if (recent)
        recent->add(outcome.path);
    return outcome;
}

void PanelTool::addRecentFiles(Settings& settings) {
    recent = new RecentFiles(form, settings, [this](const QString& path) {
        form.runCommand([this, path] { open(path); }, true);
    });
    QWidget::setTabOrder(form.findChild<QWidget*>(QStringLiteral("READ_FILE")), recent->button());
    QWidget::setTabOrder(recent->button(), form.findChild<QWidget*>(QStringLiteral("WRITE_FILE")));
}

void PanelTool::addPortPicker(Settings& settings, const QString& commandLinePort,
                              PortPicker::Enumeration enumerate, PanelFinder::Platform finding) {
    picker = ::addPortPicker(&form, std::move(enumerate));
    // The probe holds the ports for under a second; the commands wait, as
    // they do for a transaction.
    picker->setFinder(
        [this, finding = std::move(finding)](const QList<PanelFinder::Candidate>& ports) {
            QList<PanelFinder::Found> found;
            session.runTransaction([&] {
                picker->setEnabled(false);
                found = PanelFinder(finding).probe(ports);
                picker->setEnabled(true);
            });
            return found;
        });
    const QString first = PortNames::numbered(1);
    picker->setFixedDevices({first, commandLinePort});
    QString device = commandLinePort;
    if (device.isEmpty())
        device = settings.serialPort();
    picker->setDevice(device.isEmpty() ? first : device);
    QWidget::setTabOrder(form.textBox(2), picker); // after the panel name, before the views
    m_settings = &settings;
    QObject::connect(picker, &PortPicker::deviceChosen,
                     [this](const QString& chosen) { m_chosenDevice = chosen; });
}

// The picker and the sheet button are held still like the command buttons
// while the transaction runs on the device the picker shows.
bool PanelTool::overPickedPort(void (PanelLink::*transaction)()) {
    return session.runTransaction([this, transaction] {
        form.statusBox()->setDevice(device());
        if (picker) {
            link.useDevice(picker->device());
            picker->setEnabled(false);
        }
        sheet->button()->setEnabled(false);
        (link.*transaction)();
        sheet->button()->setEnabled(true);
        if (picker) {
            picker->setEnabled(true);
            // A device the user chose is remembered once a transaction could
            // open it: a half-typed or mistyped path is not what the next
            // start should show, nor is a --port of this run.
            if (link.lastOutcome() != PanelLink::Outcome::PortFault && m_chosenDevice &&
                *m_chosenDevice == picker->device()) {
                m_settings->setSerialPort(*m_chosenDevice);
                m_chosenDevice.reset();
            }
        }
    });
}
