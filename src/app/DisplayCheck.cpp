#include "app/DisplayCheck.h"

#include "app/CommandLine.h"
#include "platform/AppInfo.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {
QtMessageHandler previous = nullptr;

// The context's strings are Qt's literals, alive for the program's run.
struct Held {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};
QList<Held> held;
// Messages may come from the thread that reads the port list meanwhile.
QMutex heldLock;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    QMutexLocker lock(&heldLock);
    if (type != QtFatalMsg) {
        held.append({type, context.file, context.line, context.function, context.category, text});
        return;
    }
    std::fprintf(stderr,
                 "%s: the window needs a display, and none could be reached here.\n"
                 "The commands write, read, verify, identify, find, status, sheet, import "
                 "and export run without one; see '%s --help'.\n",
                 AppInfo::programName, AppInfo::programName);
    for (const Held& line : held)
        std::fprintf(stderr, "  (%s)\n", qPrintable(line.text));
    Q_UNUSED(text); // Qt's advice to reinstall the program does not fit the case
    std::fflush(stderr);
    std::_Exit(ExitStatus::noDisplay);
}
} // namespace

DisplayCheck::DisplayCheck() {
    previous = qInstallMessageHandler(onMessage);
}

DisplayCheck::~DisplayCheck() {
    qInstallMessageHandler(previous);
    QList<Held> lines;
    {
        QMutexLocker lock(&heldLock);
        lines.swap(held);
    }
    for (const Held& m : lines)
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category),
                          m.text);
}
