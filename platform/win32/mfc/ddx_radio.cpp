// DDX_Radio on Linux: the radio group as the emulated dialog window keeps it.
#include "mfc/ddx.h"
#include "win32/user32/dialog_window.h"

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND first = pDX->PrepareCtrl(nIDC);
    DialogWindow* dialog = pDX->m_pDlgWnd->Window();
    ControlWindow* control = ControlWindowFromHandle(first);
    if (!dialog || !control) return;
    const auto group = dialog->RadioGroupOf(control);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (group[i]->m_nCheck == BST_CHECKED) value = static_cast<int>(i);
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        group[i]->m_nCheck = static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED;
}
