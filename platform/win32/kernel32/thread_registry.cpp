#include "win32/kernel32/thread_registry.h"

#include <condition_variable>
#include <mutex>

#include "kernel32/thread_registry_internal.h"

namespace {

std::mutex g_lock;
std::condition_variable g_changed;
int g_running = 0;
int g_failStarts = 0;
thread_local bool t_counted = false;

}  // namespace

namespace win32 {

bool EnterCountedThread() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_failStarts > 0) {
        --g_failStarts;
        return false;
    }
    ++g_running;
    return true;
}

void LeaveCountedThread() {
    // Notified under the lock: a waiter that sees zero may return and let its
    // host unload everything, and must not find this thread still in here.
    std::lock_guard<std::mutex> lock(g_lock);
    --g_running;
    g_changed.notify_all();
}

void MarkCountedThread() {
    t_counted = true;
}

}  // namespace win32

void AfxWaitForAllThreads() {
    std::unique_lock<std::mutex> lock(g_lock);
    const int self = t_counted ? 1 : 0;
    g_changed.wait(lock, [self] { return g_running <= self; });
}

int AfxRunningThreadCount() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_running;
}

void AfxFailNextThreadStarts(int nCount) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_failStarts = nCount < 0 ? 0 : nCount;
}
