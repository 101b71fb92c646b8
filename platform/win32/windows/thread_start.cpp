// CWinThread's threads on Windows: the C runtime's (_beginthreadex), created
// suspended as asked. AfxEndThread ends the thread as MFC's does: the object
// is deleted and the thread exits without unwinding its stack (an exception
// cannot cross from this library into the module's frames: each module has
// its own copy of the unwinder).
#include "mfc/cwinthread.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>

#include "kernel32/thread_registry_internal.h"

namespace {

thread_local CWinThread* t_current = nullptr;

}  // namespace

struct CWinThreadStart {
    static unsigned __stdcall Main(void* pParam) {
        auto* pThread = static_cast<CWinThread*>(pParam);
        t_current = pThread;
        win32::MarkCountedThread();
        UINT code;
        if (pThread->m_pfnThreadProc)
            code = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else
            code = static_cast<UINT>(pThread->InitInstance() ? pThread->Run()
                                                             : pThread->ExitInstance());
        AfxEndThread(code, TRUE);
    }
};

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_hThread) return FALSE;
    if (!win32::EnterCountedThread()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    unsigned id = 0;
    const uintptr_t thread = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThreadStart::Main,
                                            this, dwCreateFlags & CREATE_SUSPENDED, &id);
    if (!thread) {
        win32::LeaveCountedThread();
        return FALSE;
    }
    m_hThread = reinterpret_cast<HANDLE>(thread);
    m_nThreadID = id;
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority) {
    if (!::SetThreadPriority(m_hThread, nPriority)) return FALSE;
    m_nPriority = nPriority;
    return TRUE;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
    CWinThread* thread = t_current;
    if (!thread) {
        std::fprintf(stderr, "AfxEndThread: called on a thread not started by AfxBeginThread\n");
        std::abort();
    }
    t_current = nullptr;
    if (bDelete) thread->Delete();
    // From here on only this library's code runs on the thread.
    win32::LeaveCountedThread();
    _endthreadex(nExitCode);
    std::abort();  // _endthreadex does not return
}

CWinThread* AfxGetThread() {
    return t_current;
}
