// How a dialog runs on Windows: the system's dialog, made from the template
// of the resource module in the user's language and run modally by
// DialogBoxIndirectParamA. Its dialog procedure hands WM_COMMAND, WM_NOTIFY
// and WM_TIMER to the dialog's message map, as MFC's window procedure does.
#include "mfc/cdialog.h"

#include "win32/user32/ui_presenter.h"

namespace {

// The template in the user's language, else in English, else in whatever
// language the module has it: the order the Linux build loads it in.
HRSRC FindDialogTemplate(HINSTANCE module, UINT id) {
    const LANGID languages[] = {GetUserDefaultUILanguage(),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
    for (LANGID language : languages)
        if (HRSRC found =
                FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id), language))
            return found;
    return FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
}

// The caption MFC gives a message box: the application's name, here the
// host executable's.
std::string ApplicationName() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n);
    name = name.substr(name.find_last_of("\\/") + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

// Reaches the dialog's protected hooks from its dialog procedure.
struct CDialogProcedure {
    static INT_PTR CALLBACK Run(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* dialog = reinterpret_cast<CDialog*>(lParam);
            SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
            dialog->m_hWnd = hWnd;
            return dialog->OnInitDialog();
        }
        auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
        if (!dialog) return FALSE;
        if (message != WM_COMMAND && message != WM_NOTIFY && message != WM_TIMER) return FALSE;
        DialogMessageSink* sink = dialog;
        const LRESULT result = sink->OnDialogMessage(message, wParam, lParam);
        if (message == WM_NOTIFY) SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
};

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    nType = MessageBoxTypeWithIcon(nType);
    if (UiPresenter* presenter = GetUiPresenter())
        return presenter->ShowMessageBox(nullptr, lpszText ? lpszText : "", "", nType);
    // Modal to the window the user works in, as MFC's is.
    return MessageBoxA(GetActiveWindow(), lpszText ? lpszText : "", ApplicationName().c_str(),
                       nType);
}

INT_PTR CDialog::DoModal() {
    HINSTANCE module = TemplateModule();
    HRSRC found = FindDialogTemplate(module, m_nIDTemplate);
    if (!found) return -1;
    const auto* dialogTemplate =
        static_cast<LPCDLGTEMPLATEA>(LockResource(LoadResource(module, found)));
    if (!dialogTemplate) return -1;
    const INT_PTR result = DialogBoxIndirectParamA(
        module, dialogTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
        &CDialogProcedure::Run, reinterpret_cast<LPARAM>(this));
    m_items.clear();
    m_hWnd = nullptr;
    return result;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (!pWndCtrl) return;
    // The dialog manager moves the focus and selects an edit control's text.
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}
