// "Advanced option": raster compression and data mode, trim and shade mode,
// inked-area plotting, the PJL header mask and the PJL control text.
#pragma once

#include <afxwin.h>

class CHP_AdvanceDlg : public CDialog {
public:
    explicit CHP_AdvanceDlg(CWnd* pParent);

    // The longest PJL text kept: the record's 500-byte field also holds the NUL.
    static constexpr int kMaxControlCode = 499;

    int m_nCompression = 1;
    int m_nDataMode = 0;
    int m_nRenderMode = 0;
    int m_nClipMode = 1;
    int m_bInkedArea = 0;
    UINT m_nHeadMask = 0;
    CString m_strControlCode;
    int m_bPjlControl = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPjlControlClicked();
    void OnPjlTextChanged();
    DECLARE_MESSAGE_MAP()

private:
    // Exactly one of the two is enabled: the numeric control code without PJL
    // control, the free PJL text with it.
    void EnableControlCodeEdits();
};
