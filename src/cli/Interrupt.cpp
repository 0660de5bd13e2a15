#include "cli/Interrupt.h"

#include <atomic>

namespace {
// The one thing the handler and the main thread share. Lock-free, so a
// signal handler may set it.
std::atomic<bool> pending{false};
static_assert(std::atomic<bool>::is_always_lock_free);
} // namespace

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Made once and never closed: a handler that runs while a command ends
// still writes into this pipe, never into a file that took its number.
int wakePipe[2] = {-1, -1};

bool makeWakePipe() {
    if (wakePipe[0] >= 0)
        return true;
    int ends[2];
    if (::pipe(ends) != 0)
        return false;
    for (int fd : ends) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    wakePipe[0] = ends[0];
    wakePipe[1] = ends[1];
    return true;
}

// Only async-signal-safe calls here: the flag, one byte down the pipe, and
// errno kept for the code the signal interrupted.
extern "C" void onSignal(int) {
    const int saved = errno;
    pending.store(true);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);
    errno = saved;
}

void drainWakePipe() {
    char bytes[16];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
}
} // namespace

Interrupt::Interrupt() {
    if (!makeWakePipe())
        return;
    drainWakePipe(); // what an earlier command left unread
    pending.store(false);
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        drainWakePipe();
        deliver();
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
}

#elif defined(Q_OS_WIN)
#include <QWinEventNotifier>

#include <windows.h>

namespace {
// Whether a command listens; the handler passes the event on to Windows'
// default (ending the process) when none does.
std::atomic<bool> listening{false};
// Made once and never closed, so a handler still running as a command ends
// always signals and waits on valid handles. wake: a console event came;
// finished: the command is over (its summary printed, its log written, the
// port closed).
const HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
const HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);

// Runs on a thread of its own, so it touches no Qt object: it sets the
// flag and wakes the main thread. Windows ends the process as soon as the
// handler returns from a closed console window, a logoff or a shutdown (or
// after about five seconds): hold it until the command has ended as after
// Ctrl+C.
BOOL WINAPI onConsoleEvent(DWORD type) {
    const bool closing =
        type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT;
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && !closing)
        return FALSE;
    if (!listening.load())
        return FALSE;
    pending.store(true);
    SetEvent(wake);
    if (closing)
        WaitForSingleObject(finished, INFINITE);
    return TRUE;
}
} // namespace

Interrupt::Interrupt() {
    ResetEvent(finished);
    ResetEvent(wake);
    pending.store(false);
    auto* notifier = new QWinEventNotifier(wake, this);
    connect(notifier, &QWinEventNotifier::activated, this, [this] { deliver(); });
    m_notifier = notifier;
    listening.store(true);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

Interrupt::~Interrupt() {
    listening.store(false);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    delete m_notifier;
    SetEvent(finished);
}

#else
Interrupt::Interrupt() = default;
Interrupt::~Interrupt() = default;
#endif

void Interrupt::deliver() {
    if (pending.exchange(false))
        emit raised();
}
