// MFC synchronisation objects: events and critical sections, with
// CSingleLock to hold one for a scope.
#pragma once

#include <mutex>

#include "win32/kernel32/synch.h"
#include "win32/types.h"

class WIN32_API CSyncObject {
public:
    virtual ~CSyncObject();
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class WIN32_API CEvent : public CSyncObject {
public:
    // bInitiallyOwn: signalled from the start. The security attributes are
    // accepted and not used. Out of memory ends the process, as MFC throws
    // a resource exception nobody here would catch.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE,
                    LPCSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CEvent() override;

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

// Recursive, as a Windows critical section is: the owning thread may enter
// again and leaves as often as it entered.
class WIN32_API CCriticalSection : public CSyncObject {
public:
    CCriticalSection() = default;
    ~CCriticalSection() override;

    BOOL Lock();
    // The time-out is not used: a critical section waits until it is free.
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override;

private:
    std::recursive_mutex m_mutex;
};

class WIN32_API CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeout = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
