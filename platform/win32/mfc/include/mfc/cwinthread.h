// CWinThread and AfxBeginThread on the C++ standard library's threads. As
// on Windows, nobody joins these threads: an object with m_bAutoDelete
// (the default) deletes itself when its thread ends. Hosts wait for them
// with AfxWaitForAllThreads (win32/thread_registry.h, included here) before
// they unload a module or leave.
#pragma once

#include "mfc/runtime_class.h"
#include "win32/kernel32/synch.h"
#include "win32/kernel32/thread_registry.h"
#include "win32/types.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

class WIN32_API CWinThread : public CObject {
    DECLARE_DYNAMIC(CWinThread)

public:
    // A user-interface thread: a class derived from this one, made through
    // RUNTIME_CLASS, whose InitInstance runs on the new thread.
    CWinThread();
    // A worker thread: the function runs on the new thread with its parameter.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (held until ResumeThread with CREATE_SUSPENDED). The
    // stack size and security attributes are accepted and not used. FALSE
    // when no thread can be started.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    // The previous suspend count (1 for a held thread, 0 for a running one).
    DWORD ResumeThread();
    // Kept for GetThreadPriority; the standard library's threads run at one
    // priority, which the operating system's scheduler shares fairly.
    BOOL SetThreadPriority(int nPriority);
    int GetThreadPriority() const { return m_nPriority; }

    // FALSE by default: the thread then ends with ExitInstance.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // There is no message queue on this platform: Run ends the thread with
    // ExitInstance, and a thread that shows a dialog does so from
    // InitInstance, as modal loops do.
    virtual int Run();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    operator HANDLE() const { return m_hThread; }

    BOOL m_bAutoDelete = TRUE;
    // Signalled when the thread ends; closed with the object.
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    friend struct CWinThreadStart;
    int m_nPriority = THREAD_PRIORITY_NORMAL;
    HANDLE m_hStartGate = nullptr;
};

// Null when the thread cannot start (no system resources, out of memory, a
// class that is not a CWinThread or cannot be created); the object is then
// deleted. A returned object with m_bAutoDelete may be gone by the time the
// caller looks at it, as on Windows, unless it was created suspended.
WIN32_API CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                     int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                     DWORD dwCreateFlags = 0,
                                     LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
WIN32_API CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass,
                                     int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                     DWORD dwCreateFlags = 0,
                                     LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// Ends the calling thread (deleting its object when bDelete and
// m_bAutoDelete are set); never returns. On Linux the thread's stack is
// unwound by an exception of this library's own, caught where the thread
// began, so local objects are destroyed as they go out of scope; a
// catch (...) between the call and the thread's start would stop it: code
// on these threads must let it pass (rethrow). On Windows the thread exits
// as MFC's does, without unwinding: code must not leave anything to the
// destructors of locals of the frames it ends. On a thread not started
// through AfxBeginThread there is nothing to end, and the process stops
// with a message.
[[noreturn]] WIN32_API void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The object of the calling thread; null on threads not started through
// AfxBeginThread.
WIN32_API CWinThread* AfxGetThread();
