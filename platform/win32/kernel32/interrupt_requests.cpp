#include "win32/kernel32/interrupt_requests.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

struct TakenSignal {
    int number;
    unsigned flag;
    int users = 0;
    bool handled = false;  // false while the process ignores it
    struct sigaction previous {};
};

// Scopes come and go under the lock; the handler and the readers touch only
// the atomics, which need no lock in a signal handler.
std::mutex g_lock;
TakenSignal g_taken[] = {{SIGINT, kInterruptCtrlC}, {SIGTERM, kInterruptTerminate}};
std::atomic<int> g_scopes{0};
std::atomic<int> g_noted{0};
// The pipe is made once and never closed: a handler running late on
// another thread must never write into a descriptor reused for a file.
std::atomic<int> g_wakeRead{-1};
std::atomic<int> g_wakeWrite{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free atomics");

void OnSignal(int number) {
    const int savedErrno = errno;
    int none = 0;
    g_noted.compare_exchange_strong(none, number);
    const int fd = g_wakeWrite.load();
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe is readable already: nothing is lost by failing.
        [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

// A fresh start: nothing noted, nothing in the pipe.
void StartAfresh() {
    g_noted.store(0);
    if (g_wakeRead.load() < 0) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // waits then only sleep
        g_wakeRead.store(fds[0]);
        g_wakeWrite.store(fds[1]);
        return;
    }
    char scratch[64];
    while (read(g_wakeRead.load(), scratch, sizeof scratch) > 0) {
    }
}

}  // namespace

InterruptScope::InterruptScope(unsigned signals) : m_nSignals(signals) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_scopes.load() == 0) StartAfresh();
    g_scopes.fetch_add(1);
    for (TakenSignal& s : g_taken) {
        if (!(signals & s.flag) || s.users++ > 0) continue;
        struct sigaction current {};
        sigaction(s.number, nullptr, &current);
        s.handled = !(current.sa_flags & SA_SIGINFO) && current.sa_handler != SIG_IGN;
        if (!s.handled) continue;
        s.previous = current;
        struct sigaction noting {};
        noting.sa_handler = OnSignal;
        sigemptyset(&noting.sa_mask);
        // Interrupted reads and writes go on: the waits that matter poll
        // the wake descriptor.
        noting.sa_flags = SA_RESTART;
        sigaction(s.number, &noting, nullptr);
    }
}

InterruptScope::~InterruptScope() {
    if (m_bKept) return;
    std::lock_guard<std::mutex> lock(g_lock);
    for (TakenSignal& s : g_taken) {
        if (!(m_nSignals & s.flag) || --s.users > 0) continue;
        if (s.handled) sigaction(s.number, &s.previous, nullptr);
        s.handled = false;
    }
    if (g_scopes.fetch_sub(1) == 1) g_noted.store(0);
}

int InterruptSignal() {
    return g_scopes.load() > 0 ? g_noted.load() : 0;
}

int InterruptWakeDescriptor() {
    return g_scopes.load() > 0 ? g_wakeRead.load() : -1;
}

bool WaitForInterrupt(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (InterruptSignal()) return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        pollfd wake{InterruptWakeDescriptor(), POLLIN, 0};
        // A readable pipe without a signal is a late byte of an earlier
        // scope: sleep the rest rather than spin on it.
        if (wake.fd < 0 || poll(&wake, 1, static_cast<int>(left)) > 0) {
            if (InterruptSignal()) return true;
            std::this_thread::sleep_until(until);
        }
    }
}
