// CWinThread's threads on Linux: the C++ standard library's, held at a gate
// while suspended; AfxEndThread unwinds the thread's stack.
#include "mfc/cwinthread.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "kernel32/synch_object.h"
#include "kernel32/thread_registry_internal.h"

namespace {

std::atomic<DWORD> g_nextThreadId{1};
thread_local CWinThread* t_current = nullptr;

// Thrown by AfxEndThread, caught only where the thread began. Not a
// std::exception, so that handlers of ordinary errors let it pass.
struct ThreadEnd {
    UINT nExitCode;
    BOOL bDelete;
};

}  // namespace

// What the new thread runs: held at its gate while suspended, then the
// worker function or InitInstance and Run, then the object's deletion, and
// last the count that hosts wait on.
struct CWinThreadStart {
    static void Main(CWinThread* pThread, std::shared_ptr<win32::Waitable> gate,
                     std::shared_ptr<win32::Waitable> ended) {
        gate->Wait(INFINITE);
        t_current = pThread;
        win32::MarkCountedThread();
        try {
            UINT code;
            if (pThread->m_pfnThreadProc)
                code = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
            else
                code = static_cast<UINT>(pThread->InitInstance() ? pThread->Run()
                                                                 : pThread->ExitInstance());
            AfxEndThread(code, TRUE);
        } catch (const ThreadEnd& end) {
            t_current = nullptr;
            if (end.bDelete) pThread->Delete();
            ended->Set();
        }
        win32::LeaveCountedThread();
    }
};

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
    if (m_hStartGate) CloseHandle(m_hStartGate);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT, LPSECURITY_ATTRIBUTES) {
    if (m_hThread) return FALSE;
    if (!win32::EnterCountedThread()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    try {
        auto gate = std::make_shared<win32::Waitable>(true, false, false);
        auto ended = std::make_shared<win32::Waitable>(true, false, false);
        m_hStartGate = win32::NewHandle(gate);
        m_hThread = win32::NewHandle(ended);
        m_nThreadID = g_nextThreadId.fetch_add(1);
        std::thread(&CWinThreadStart::Main, this, gate, ended).detach();
        if (!(dwCreateFlags & CREATE_SUSPENDED)) gate->Set();
        return TRUE;
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    if (m_hThread) CloseHandle(m_hThread);
    if (m_hStartGate) CloseHandle(m_hStartGate);
    m_hThread = m_hStartGate = nullptr;
    m_nThreadID = 0;
    win32::LeaveCountedThread();
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

DWORD CWinThread::ResumeThread() {
    const auto gate = win32::ObjectOf(m_hStartGate);
    if (!gate) return static_cast<DWORD>(-1);
    // The gate is signalled for good once the thread runs.
    const bool wasHeld = !gate->Wait(0);
    gate->Set();
    return wasHeld ? 1 : 0;
}

BOOL CWinThread::SetThreadPriority(int nPriority) {
    m_nPriority = nPriority;
    return TRUE;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
    if (!t_current) {
        std::fprintf(stderr, "AfxEndThread: called on a thread not started by AfxBeginThread\n");
        std::abort();
    }
    throw ThreadEnd{nExitCode, bDelete};
}

CWinThread* AfxGetThread() {
    return t_current;
}
