#include "app/PanelTool.h"
#include "app/Settings.h"
#include "link/LinkTrace.h"
#include "link/QtSerialPort.h"
#include "link/TracingSerialPort.h"
#include "ui/QtDialogs.h"

#include <QApplication>

#include <cstdio>
#include <memory>

// Options: --port DEVICE names the serial device to start on instead of the
// one chosen last; --trace FILE appends the traffic with the panel to FILE.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Tarnek");
    QCoreApplication::setApplicationName("panelconfig");
    const QStringList args = app.arguments().mid(1);
    QString device, tracePath;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (i + 1 < args.size() && args[i] == "--port") {
            device = args[i + 1];
        } else if (i + 1 < args.size() && args[i] == "--trace") {
            tracePath = args[i + 1];
        } else {
            std::fprintf(stderr, "usage: panelconfig [--port DEVICE] [--trace FILE]\n");
            return 2;
        }
    }

    QtSerialPort serialPort(device);
    LinkTrace trace;
    std::unique_ptr<TracingSerialPort> traced;
    if (!tracePath.isEmpty()) {
        QString error;
        if (!trace.open(tracePath, &error)) {
            std::fprintf(stderr, "panelconfig: cannot open the trace file %s: %s\n",
                         qPrintable(tracePath), qPrintable(error));
            return 2;
        }
        traced = std::make_unique<TracingSerialPort>(serialPort, trace);
    }
    SerialPort& port = traced ? static_cast<SerialPort&>(*traced) : serialPort;

    Settings settings;
    QtDialogs dialogs;
    PanelTool tool(dialogs, port);
    if (traced)
        tool.link.setTrace(&trace);
    tool.addPortPicker(settings, device);
    dialogs.setParent(&tool.form);
    tool.form.show();
    return app.exec();
}
