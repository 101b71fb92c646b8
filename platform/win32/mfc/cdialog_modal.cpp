// How a dialog runs on Linux: a window of the subset's own made from the
// template, shown by the process's UI presenter.
#include "mfc/cdialog.h"

#include "win32/user32/dialog_window.h"
#include "win32/user32/ui_presenter.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    UiPresenter* presenter = GetUiPresenter();
    if (!presenter) return IDCANCEL;
    return presenter->ShowMessageBox(nullptr, lpszText ? lpszText : "", "",
                                     MessageBoxTypeWithIcon(nType));
}

INT_PTR CDialog::DoModal() {
    HINSTANCE module = TemplateModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    if (!found) return -1;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    const auto dialogTemplate = ParseDialogTemplate(bytes, SizeofResource(module, found));
    if (!dialogTemplate) return -1;

    auto window =
        std::make_unique<DialogWindow>(static_cast<int>(m_nIDTemplate), *dialogTemplate,
                                       m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, this);
    m_window = window.get();
    m_window->m_hModule = module;
    m_hWnd = m_window->Handle();
    OnInitDialog();
    if (!m_window->m_bEnded) {
        UiPresenter* presenter = GetUiPresenter();
        if (presenter) presenter->RunDialog(*m_window);
        if (!m_window->m_bEnded) RunDialogUnseen(*m_window);
    }
    const INT_PTR result = m_window->m_nResult;
    m_items.clear();
    m_window = nullptr;
    m_hWnd = nullptr;
    return result;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (!pWndCtrl) return;
    ::SetFocus(pWndCtrl->m_hWnd);
    if (ControlWindow* c = ControlWindowFromHandle(pWndCtrl->m_hWnd))
        if (c->m_kind == ControlKind::Edit) c->Send(EM_SETSEL, 0, -1);
}
