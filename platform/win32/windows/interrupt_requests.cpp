// Stop requests on Windows come from the console: Ctrl-C and Ctrl-Break are
// SIGINT here. A console control handler notes them (it runs on a thread of
// its own, so it may take the lock and set an event); the code that can stop
// cleanly asks InterruptSignal() at its own points. Without a live scope the
// handler passes the event on, and the process ends as a console program
// does. Nothing on Windows sends SIGTERM to a console program.
#include "win32/kernel32/interrupt_requests.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <mutex>

namespace {

std::mutex g_lock;
int g_ctrlCUsers = 0;
bool g_handlerInstalled = false;
std::atomic<int> g_scopes{0};
std::atomic<int> g_noted{0};
// Made once and never closed: the handler may run late on its own thread.
HANDLE g_wake = nullptr;

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_ctrlCUsers == 0) return FALSE;
    int none = 0;
    g_noted.compare_exchange_strong(none, SIGINT);
    if (g_wake) SetEvent(g_wake);
    return TRUE;
}

}  // namespace

InterruptScope::InterruptScope(unsigned signals) : m_nSignals(signals) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_scopes.fetch_add(1) == 0) {
        g_noted.store(0);
        if (!g_wake) g_wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (g_wake) ResetEvent(g_wake);
    }
    if ((signals & kInterruptCtrlC) && g_ctrlCUsers++ == 0 && !g_handlerInstalled)
        g_handlerInstalled = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

InterruptScope::~InterruptScope() {
    if (m_bKept) return;
    std::lock_guard<std::mutex> lock(g_lock);
    if (m_nSignals & kInterruptCtrlC) --g_ctrlCUsers;
    if (g_scopes.fetch_sub(1) == 1) g_noted.store(0);
}

int InterruptSignal() {
    return g_scopes.load() > 0 ? g_noted.load() : 0;
}

int InterruptWakeDescriptor() {
    return -1;  // no descriptor to poll: waits use WaitForInterrupt
}

bool WaitForInterrupt(int timeoutMs) {
    if (InterruptSignal()) return true;
    if (g_scopes.load() == 0 || !g_wake) {
        Sleep(static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0));
        return false;
    }
    WaitForSingleObject(g_wake, static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0));
    return InterruptSignal() != 0;
}
