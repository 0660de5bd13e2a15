#include "ui/PanelTool.h"

#include <QToolButton>

PanelTool::PanelTool(Dialogs& dialogs, SerialPort& port, int tickMs, EventYield* yield,
                     TickTimer* timer)
    : session(dialogs), form(session), link(session, dialogs, port, tickMs, yield, timer),
      files(session, dialogs), sheet(new WindowSheet(form, dialogs)), m_port(port),
      m_dialogs(dialogs) {
    form.setCommands({[this] {
                          if (overPickedPort(&PanelLink::READ_CONFIG_Click) &&
                              link.lastOutcome() == PanelLink::Outcome::Done) {
                              session.configurationRead();
                              sheet->readFromPanel(QDateTime::currentDateTime(), link.valuesRead());
                          }
                      },
                      [this] { writeConfig(); }, [this] { readFile(); }, [this] { writeFile(); },
                      [this] { link.requestStop(); }});
    files.panelNameMissing = [this] { form.focusPanelName(); };
    // Tab reaches the sheet command after the option buttons, as it sits.
    QWidget::setTabOrder(form.findChild<QWidget*>(QStringLiteral("Option2")),
                         form.findChild<QToolButton*>(QStringLiteral("PRINT_SHEET")));
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

FileOutcome PanelTool::took(FileOutcome outcome) {
    if (outcome.done()) {
        session.configurationStored(outcome.path);
        sheet->fileTaken(outcome.path, ConfigFile::panelValues(*outcome.line));
    }
    return outcome;
}

void PanelTool::addPortPicker(Settings& settings, const QString& commandLinePort,
                              PortPicker::Enumeration enumerate) {
    picker = ::addPortPicker(&form, std::move(enumerate));
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
