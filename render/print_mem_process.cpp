#include "render/print_mem_process.h"

#include "render/print_pool_thread.h"
#include "ui/module_resources.h"

BEGIN_MESSAGE_MAP(CPrintMemProcess, CPXRDialog)
ON_WM_TIMER()
ON_BN_CLICKED(IDCANCEL, OnCancelClicked)
END_MESSAGE_MAP()

namespace {

// The module's resources are registered before the dialog looks for them.
const char* RegisteredModuleName() {
    ModuleResourceHandle();
    return kModuleFileName;
}

}  // namespace

CPrintMemProcess::CPrintMemProcess(CWnd* pParent, CPrintPoolThread* pOwner)
    : CPXRDialog(kTemplateId, pParent, RegisteredModuleName()), m_pOwner(pOwner) {}

void CPrintMemProcess::DoDataExchange(CDataExchange* pDX) {
    CPXRDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kProgressId, m_ctrlProgress);
}

BOOL CPrintMemProcess::OnInitDialog() {
    CPXRDialog::OnInitDialog();
    SetTimer(kPollTimer, kPollMilliseconds, nullptr);
    return TRUE;
}

void CPrintMemProcess::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kPollTimer) {
        const int range = m_pOwner->GetRange();
        m_ctrlProgress.SendMessage(PBM_SETRANGE32, 0, range < 1 ? 1 : range);
        m_ctrlProgress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_pOwner->GetPosition()), 0);
        // The renderer sets this bit last and never touches the owner again.
        if (m_pOwner->GetState() & CPrintPoolThread::kFinished) {
            EndDialog(0);
            return;
        }
    }
    CDialog::OnTimer(nIDEvent);
}

void CPrintMemProcess::OnCancelClicked() {
    // The renderer sees the request at its next IsCanceled and finishes;
    // the dialog waits for that, out of sight.
    m_pOwner->RequestCancel();
    ShowWindow(SW_HIDE);
}
