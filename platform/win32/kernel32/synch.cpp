#include "win32/kernel32/synch.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kernel32/synch_object.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

// Handle values are small multiples of 4, never reused, so a closed handle
// stays invalid instead of naming a later object.
std::mutex g_tableLock;
std::map<UINT_PTR, std::shared_ptr<win32::Waitable>> g_handles;
std::map<std::string, std::weak_ptr<win32::Waitable>> g_names;
UINT_PTR g_nextHandle = 0x104;

}  // namespace

namespace win32 {

void Waitable::Set() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bSignalled = true;
    }
    // An auto-reset event wakes one waiter: the first to take it resets it.
    if (m_bManualReset)
        m_changed.notify_all();
    else
        m_changed.notify_one();
}

void Waitable::Reset() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bSignalled = false;
}

bool Waitable::Wait(DWORD dwMilliseconds) {
    std::unique_lock<std::mutex> lock(m_lock);
    const auto ready = [this] { return m_bSignalled; };
    if (dwMilliseconds == INFINITE)
        m_changed.wait(lock, ready);
    else if (!m_changed.wait_for(lock, std::chrono::milliseconds(dwMilliseconds), ready))
        return false;
    if (!m_bManualReset) m_bSignalled = false;
    return true;
}

HANDLE NewHandle(std::shared_ptr<Waitable> object) {
    std::lock_guard<std::mutex> lock(g_tableLock);
    const UINT_PTR value = g_nextHandle;
    g_nextHandle += 4;
    g_handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<Waitable> ObjectOf(HANDLE handle) {
    std::lock_guard<std::mutex> lock(g_tableLock);
    const auto found = g_handles.find(reinterpret_cast<UINT_PTR>(handle));
    return found == g_handles.end() ? nullptr : found->second;
}

}  // namespace win32

extern "C" {

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState,
                           LPCSTR lpName) {
    try {
        std::shared_ptr<win32::Waitable> event;
        bool existed = false;
        if (lpName && *lpName) {
            std::lock_guard<std::mutex> lock(g_tableLock);
            auto& named = g_names[lpName];
            event = named.lock();
            existed = event != nullptr;
            if (!event) {
                event = std::make_shared<win32::Waitable>(bManualReset != FALSE,
                                                          bInitialState != FALSE);
                named = event;
            }
        } else {
            event =
                std::make_shared<win32::Waitable>(bManualReset != FALSE, bInitialState != FALSE);
        }
        HANDLE handle = win32::NewHandle(std::move(event));
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
        return handle;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
    const auto object = win32::ObjectOf(hEvent);
    if (!object || !object->IsEvent()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Set();
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
    const auto object = win32::ObjectOf(hEvent);
    if (!object || !object->IsEvent()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Reset();
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    // The waiter holds the object, so a CloseHandle meanwhile cannot free it.
    const auto object = win32::ObjectOf(hHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return object->Wait(dwMilliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    std::shared_ptr<win32::Waitable> released;
    {
        std::lock_guard<std::mutex> lock(g_tableLock);
        const auto found = g_handles.find(reinterpret_cast<UINT_PTR>(hObject));
        if (found == g_handles.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        released = std::move(found->second);
        g_handles.erase(found);
    }
    released.reset();
    // A name goes with the object's last handle, as a kernel object's does.
    std::lock_guard<std::mutex> lock(g_tableLock);
    std::erase_if(g_names, [](const auto& named) { return named.second.expired(); });
    return TRUE;
}

DWORD WINAPI GetLastError() {
    return t_lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    t_lastError = dwErrCode;
}

}  // extern "C"
