#include "cli/Interrupt.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int wakePipe[2] = {-1, -1};

// Only async-signal-safe calls here: one byte down the pipe, with errno
// kept for the code the signal interrupted.
extern "C" void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);
    errno = saved;
}
} // namespace

Interrupt::Interrupt() {
    if (::pipe(wakePipe) != 0)
        return;
    for (int fd : wakePipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
        }
        raise();
    });
    m_notifier = notifier;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

Interrupt::~Interrupt() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    delete m_notifier;
    for (int& fd : wakePipe) {
        ::close(fd);
        fd = -1;
    }
}

#elif defined(Q_OS_WIN)
#include <QMetaObject>
#include <QPointer>

#include <windows.h>

namespace {
QPointer<Interrupt> current;
// Set once the command is over: its summary printed, its log written, the
// port closed. Never closed, so a late handler still waits on a valid handle.
HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);

// Runs on a thread of its own: hand the event to the main thread. Windows
// ends the process as soon as the handler returns from a closed console
// window, a logoff or a shutdown (or after about five seconds): hold it
// until the command has ended as after Ctrl+C.
BOOL WINAPI onConsoleEvent(DWORD type) {
    const bool closing =
        type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT;
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && !closing)
        return FALSE;
    if (Interrupt* target = current.data())
        QMetaObject::invokeMethod(target, "raised", Qt::QueuedConnection);
    else
        return FALSE;
    if (closing)
        WaitForSingleObject(finished, INFINITE);
    return TRUE;
}
} // namespace

Interrupt::Interrupt() {
    current = this;
    ResetEvent(finished);
    connect(this, &Interrupt::raised, this, [this] { m_raised = true; });
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

Interrupt::~Interrupt() {
    current = nullptr;
    SetEvent(finished);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

#else
Interrupt::Interrupt() = default;
Interrupt::~Interrupt() = default;
#endif

void Interrupt::raise() {
    m_raised = true;
    emit raised();
}
