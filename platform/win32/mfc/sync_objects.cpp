#include <afxmt.h>

#include <cstdio>
#include <cstdlib>

CSyncObject::~CSyncObject() {
    if (m_hObject) CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
    return WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0;
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName,
               LPSECURITY_ATTRIBUTES lpsaAttribute) {
    m_hObject = CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (!m_hObject) {
        std::fprintf(stderr, "CEvent: no event could be created\n");
        std::abort();
    }
}

CEvent::~CEvent() = default;

CCriticalSection::~CCriticalSection() = default;

BOOL CCriticalSection::Lock() {
    m_mutex.lock();
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD) {
    return Lock();
}

BOOL CCriticalSection::Unlock() {
    m_mutex.unlock();
    return TRUE;
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject) {
    if (bInitialLock) Lock();
}

CSingleLock::~CSingleLock() {
    Unlock();
}

BOOL CSingleLock::Lock(DWORD dwTimeout) {
    if (m_bAcquired) return TRUE;
    m_bAcquired = m_pObject->Lock(dwTimeout);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
    if (m_bAcquired) m_bAcquired = !m_pObject->Unlock();
    return TRUE;
}
