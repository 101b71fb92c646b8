// "Plot transaction": the progress dialog of a page rendered in the
// computer. It shows what its owner (the progress thread) was told by the
// renderer, polled on a timer, and passes Cancel back to it; it ends at the
// first tick after the renderer has finished, never earlier, because its
// end ends the thread object that the renderer still reports to.
#pragma once

#include <afxwin.h>

#include "pxrdriver/pxr_dialog.h"

class CPrintPoolThread;

class CPrintMemProcess : public CPXRDialog {
public:
    CPrintMemProcess(CWnd* pParent, CPrintPoolThread* pOwner);

    static constexpr UINT kTemplateId = 104;
    static constexpr int kProgressId = 1017;
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT kPollMilliseconds = 100;

    CProgressCtrl m_ctrlProgress;
    CPrintPoolThread* m_pOwner;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnCancelClicked();
    DECLARE_MESSAGE_MAP()
};
