#include "mfc/cwinthread.h"

#include <new>

IMPLEMENT_DYNAMIC(CWinThread, CObject)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

int CWinThread::Run() {
    return ExitInstance();
}

void CWinThread::Delete() {
    if (m_bAutoDelete) delete this;
}

namespace {

// Starts a thread object made by either form of AfxBeginThread: held until
// its priority is set, as MFC does; null (the object deleted) on failure.
CWinThread* StartThreadObject(CWinThread* thread, int nPriority, UINT nStackSize,
                              DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        thread->Delete();
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    CWinThread* thread = new (std::nothrow) CWinThread(pfnThreadProc, pParam);
    if (!thread) return nullptr;
    return StartThreadObject(thread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) return nullptr;
    CObject* object = pThreadClass->CreateObject();
    if (!object) return nullptr;
    return StartThreadObject(static_cast<CWinThread*>(object), nPriority, nStackSize, dwCreateFlags,
                             lpSecurityAttrs);
}
