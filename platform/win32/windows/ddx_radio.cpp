// DDX_Radio on Windows: the radio buttons from the first one up to the next
// control that starts a group, as the dialog manager groups them.
#include "mfc/ddx.h"

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (!pDX->m_bSaveAndValidate)
                SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            else if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
            ++index;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    } while (control && !(GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}
