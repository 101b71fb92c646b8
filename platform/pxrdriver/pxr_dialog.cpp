#include "pxrdriver/pxr_dialog.h"

IMPLEMENT_DYNAMIC(CPXRDialog, CDialog)

CPXRDialog::CPXRDialog(UINT nIDTemplate, CWnd* pParent, const char* pszModuleName)
    : CDialog(nIDTemplate, pParent), m_strModuleName(pszModuleName ? pszModuleName : "") {}

CPXRDialog::~CPXRDialog() = default;

INT_PTR CPXRDialog::DoModal() {
    // Without its module the dialog would load from whatever module the
    // process has current, which is not this dialog's.
    if (!TemplateModule()) return -1;
    return CDialog::DoModal();
}

BOOL CPXRDialog::OnInitDialog() {
    return CDialog::OnInitDialog();
}

HINSTANCE CPXRDialog::TemplateModule() const {
    return m_strModuleName.empty() ? nullptr : GetModuleHandleA(m_strModuleName.c_str());
}
