#include "app/PanelTool.h"
#include "link/QtSerialPort.h"
#include "ui/QtDialogs.h"

#include <QApplication>

#include <cstdio>

// The one option, --port DEVICE, names the serial device to use instead of
// the first serial port.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString device;
    if (args.size() == 2 && args[0] == "--port") {
        device = args[1];
    } else if (!args.isEmpty()) {
        std::fprintf(stderr, "usage: panelconfig [--port DEVICE]\n");
        return 2;
    }

    QtSerialPort port(device);
    QtDialogs dialogs;
    PanelTool tool(dialogs, port);
    dialogs.setParent(&tool.form);
    tool.form.show();
    return app.exec();
}
