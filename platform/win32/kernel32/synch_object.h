// The object behind an event or thread handle: a signalled state guarded by
// a mutex, with a condition variable for its waiters.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "win32/kernel32/synch.h"

namespace win32 {

class Waitable {
public:
    // A thread's handle is a manual-reset object set once, when it ends.
    Waitable(bool bManualReset, bool bSignalled, bool bEvent = true)
        : m_bManualReset(bManualReset), m_bEvent(bEvent), m_bSignalled(bSignalled) {}
    void Set();
    void Reset();
    // True when signalled within the time (INFINITE: waits for ever); an
    // auto-reset object is then reset by this waiter.
    bool Wait(DWORD dwMilliseconds);
    bool IsEvent() const { return m_bEvent; }

private:
    const bool m_bManualReset;
    const bool m_bEvent;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_bSignalled;
};

HANDLE NewHandle(std::shared_ptr<Waitable> object);
std::shared_ptr<Waitable> ObjectOf(HANDLE handle);

}  // namespace win32
