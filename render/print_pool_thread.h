// The progress thread of a page rendered in the computer: a user-interface
// thread that shows "Plot transaction" while the render thread reports to it
// through IDrawCallback. It deletes itself when its dialog has ended, which
// is only after the render thread called SetFinished, its last use of the
// object.
#pragma once

#include <afxmt.h>
#include <afxwin.h>

#include "pxrdriver/rip.h"
#include "render/print_mem_process.h"

class CPrintPoolThread : public CWinThread, public IDrawCallback {
    DECLARE_DYNCREATE(CPrintPoolThread)

public:
    static constexpr int kFinished = 1;
    static constexpr int kCancelRequested = 2;

    CPrintPoolThread();
    ~CPrintPoolThread() override;

    BOOL InitInstance() override;

    // The render thread's side, callable from any thread.
    int IsCanceled() override;
    void SetPosition(int nPosition) override;
    void SetRange(int nRange) override;
    // The render thread's last call on this object: it may be deleted as
    // soon as the call has returned.
    void SetFinished();

    // The dialog's side, and the tests'.
    int GetState();
    int GetPosition();
    int GetRange();
    void RequestCancel();

    CPrintMemProcess m_dlgProgress;

protected:
    // What DoModal returned: 0 when the dialog ended on the finished bit.
    INT_PTR m_nDialogResult = -1;

private:
    int m_nState = 0;  // kFinished | kCancelRequested
    int m_nPosition = 0;
    int m_nRange = 0;
    CCriticalSection m_lock;
};
