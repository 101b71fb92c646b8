#include "render/print_pool_thread.h"

#include <chrono>
#include <thread>

IMPLEMENT_DYNCREATE(CPrintPoolThread, CWinThread)

CPrintPoolThread::CPrintPoolThread() : m_dlgProgress(CWnd::FromHandle(GetDesktopWindow()), this) {}

CPrintPoolThread::~CPrintPoolThread() = default;

BOOL CPrintPoolThread::InitInstance() {
    CWinThread::InitInstance();
    m_nDialogResult = m_dlgProgress.DoModal();
    // The dialog ends only once the renderer has finished; but when it could
    // not be shown at all (no template), or a presenter ended it another
    // way, the renderer may still be reporting here: the object must live
    // until it has finished. Seeing the bit under the lock also means the
    // renderer has left its last lock.
    while (!(GetState() & kFinished))
        std::this_thread::sleep_for(std::chrono::milliseconds(CPrintMemProcess::kPollMilliseconds));
    AfxEndThread(0, TRUE);
}

int CPrintPoolThread::IsCanceled() {
    CSingleLock lock(&m_lock, TRUE);
    return m_nState & kCancelRequested;
}

void CPrintPoolThread::SetPosition(int nPosition) {
    CSingleLock lock(&m_lock, TRUE);
    m_nPosition = nPosition;
}

void CPrintPoolThread::SetRange(int nRange) {
    CSingleLock lock(&m_lock, TRUE);
    m_nRange = nRange;
}

void CPrintPoolThread::SetFinished() {
    CSingleLock lock(&m_lock, TRUE);
    m_nState |= kFinished;
}

int CPrintPoolThread::GetState() {
    CSingleLock lock(&m_lock, TRUE);
    return m_nState;
}

int CPrintPoolThread::GetPosition() {
    CSingleLock lock(&m_lock, TRUE);
    return m_nPosition;
}

int CPrintPoolThread::GetRange() {
    CSingleLock lock(&m_lock, TRUE);
    return m_nRange;
}

void CPrintPoolThread::RequestCancel() {
    CSingleLock lock(&m_lock, TRUE);
    m_nState |= kCancelRequested;
}
