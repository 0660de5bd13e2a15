#include "ui/PanelTool.h"

#include <QToolButton>

PanelTool::PanelTool(Dialogs& dialogs, SerialPort& port, int tickMs, EventYield* yield,
                     TickTimer* timer)
    : session(dialogs), form(session), link(session, dialogs, port, tickMs, yield, timer),
      files(session, dialogs), sheet(new WindowSheet(form, dialogs)), m_port(port) {
    form.setCommands({[this] {
                          if (overPickedPort(&PanelLink::READ_CONFIG_Click) &&
                              link.lastOutcome() == PanelLink::Outcome::Done) {
                              session.configurationRead();
                              sheet->readFromPanel(QDateTime::currentDateTime(), link.valuesRead());
                          }
                      },
                      [this] {
                          if (overPickedPort(&PanelLink::WRITE_CONFIG_Click) &&
                              link.lastOutcome() == PanelLink::Outcome::Done)
                              session.assignmentsWritten();
                      },
                      [this] { files.READ_FILE_Click(); }, [this] { files.WRITE_FILE_Click(); },
                      [this] { link.requestStop(); }});
    files.fileDone = [this](const QString& path) {
        session.configurationStored(path);
        sheet->fileDone(path);
    };
    files.panelNameMissing = [this] { form.focusPanelName(); };
    // Tab reaches the sheet command after the option buttons, as it sits.
    QWidget::setTabOrder(form.findChild<QWidget*>(QStringLiteral("Option2")),
                         form.findChild<QToolButton*>(QStringLiteral("PRINT_SHEET")));
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
    QObject::connect(picker, &PortPicker::deviceChosen,
                     [&settings](const QString& chosen) { settings.setSerialPort(chosen); });
}

// The picker and the sheet button are held still like the command buttons
// while the transaction runs on the device the picker shows.
bool PanelTool::overPickedPort(void (PanelLink::*transaction)()) {
    return session.runTransaction([this, transaction] {
        if (picker) {
            m_port.setDeviceName(picker->device());
            picker->setEnabled(false);
        }
        sheet->button()->setEnabled(false);
        (link.*transaction)();
        sheet->button()->setEnabled(true);
        if (picker)
            picker->setEnabled(true);
    });
}
