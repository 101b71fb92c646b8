#include "ui/advance_dlg.h"

#include "ui/exchange_keeping.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

BEGIN_MESSAGE_MAP(CHP_AdvanceDlg, CDialog)
ON_BN_CLICKED(IDC_PJL_CONTROL, OnPjlControlClicked)
ON_EN_CHANGE(IDC_PJL_TEXT, OnPjlTextChanged)
END_MESSAGE_MAP()

CHP_AdvanceDlg::CHP_AdvanceDlg(CWnd* pParent) : CDialog(IDD_HP_ADVANCE, pParent) {}

void CHP_AdvanceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_RadioKeeping(pDX, IDC_UNCOMPRESSED, m_nCompression);
    DDX_RadioKeeping(pDX, IDC_INDEX_COLOR, m_nDataMode);
    DDX_CBIndexKeeping(pDX, IDC_SHADE_MODE, m_nRenderMode);
    DDX_CBIndexKeeping(pDX, IDC_TRIM_MODE, m_nClipMode);
    DDX_Check(pDX, IDC_INKED_AREA, m_bInkedArea);
    DDX_Text(pDX, IDC_CONTROL_CODE, m_nHeadMask);
    DDX_Check(pDX, IDC_PJL_CONTROL, m_bPjlControl);
    DDX_Text(pDX, IDC_PJL_TEXT, m_strControlCode);
    // Checked when read, but the edit is given no length limit: a limit
    // would cut a longer text silently (inside a character, at worst)
    // before this check could refuse it.
    if (pDX->m_bSaveAndValidate) DDV_MaxChars(pDX, m_strControlCode, kMaxControlCode);
}

BOOL CHP_AdvanceDlg::OnInitDialog() {
    // The lists are filled before the exchange selects their entries, as
    // the dialog's initialisation data fills them when it is created.
    CComboBox shade, trim;
    shade.m_hWnd = ::GetDlgItem(m_hWnd, IDC_SHADE_MODE);
    trim.m_hWnd = ::GetDlgItem(m_hWnd, IDC_TRIM_MODE);
    for (UINT i = 0; i < IDS_SHADE_COUNT; ++i)
        shade.AddString(LoadModuleString(IDS_SHADE_FIRST + i));
    for (UINT i = 0; i < IDS_TRIM_COUNT; ++i) trim.AddString(LoadModuleString(IDS_TRIM_FIRST + i));
    CDialog::OnInitDialog();
    EnableControlCodeEdits();
    return TRUE;
}

void CHP_AdvanceDlg::EnableControlCodeEdits() {
    GetDlgItem(IDC_CONTROL_CODE)->EnableWindow(!m_bPjlControl);
    GetDlgItem(IDC_PJL_TEXT)->EnableWindow(m_bPjlControl != 0);
}

void CHP_AdvanceDlg::OnPjlControlClicked() {
    UpdateData(TRUE);
    // The box decides even when another field was refused by the exchange.
    m_bPjlControl = static_cast<int>(GetDlgItem(IDC_PJL_CONTROL)->SendMessage(BM_GETCHECK));
    EnableControlCodeEdits();
}

void CHP_AdvanceDlg::OnPjlTextChanged() {}
