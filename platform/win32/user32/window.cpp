#include "win32/user32/window.h"

#include <algorithm>
#include <string>

#include "win32/user32/dialog_window.h"

namespace {

// The control or the dialog behind a handle; only live windows answer.
struct Target {
    DialogWindow* pDialog = nullptr;
    ControlWindow* pControl = nullptr;
};

Target TargetOf(HWND hWnd) {
    if (!hWnd) return {};
    if (ControlWindow* c = ControlWindowFromHandle(hWnd)) return {nullptr, c};
    return {DialogWindowFromHandle(hWnd), nullptr};
}

}  // namespace

extern "C" {

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const Target t = TargetOf(hWnd);
    if (t.pControl) return t.pControl->Send(Msg, wParam, lParam);
    if (t.pDialog) return t.pDialog->Send(Msg, wParam, lParam);
    return 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                   LPARAM lParam) {
    return SendMessageA(GetDlgItem(hDlg, nIDDlgItem), Msg, wParam, lParam);
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    DialogWindow* dialog = DialogWindowFromHandle(hDlg);
    ControlWindow* control = dialog ? dialog->Control(nIDDlgItem) : nullptr;
    return control ? control->Handle() : nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    ControlWindow* control = ControlWindowFromHandle(hWnd);
    return control ? control->m_item.nId : 0;
}

HWND WINAPI GetParent(HWND hWnd) {
    const Target t = TargetOf(hWnd);
    if (t.pControl) return t.pControl->m_pDialog->Handle();
    if (t.pDialog) return t.pDialog->Owner();
    return nullptr;
}

// Both return the previous state, as Windows does: EnableWindow nonzero when
// the window was disabled, ShowWindow nonzero when it was visible.
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    ControlWindow* control = ControlWindowFromHandle(hWnd);
    if (!control) return FALSE;
    const BOOL wasDisabled = !control->m_bEnabled;
    control->m_bEnabled = bEnable != FALSE;
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    const Target t = TargetOf(hWnd);
    if (t.pControl) return t.pControl->m_bEnabled;
    return t.pDialog != nullptr;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    const Target t = TargetOf(hWnd);
    if (t.pDialog) {
        const BOOL wasVisible = !t.pDialog->m_bHidden;
        t.pDialog->m_bHidden = nCmdShow == SW_HIDE;
        return wasVisible;
    }
    if (!t.pControl) return FALSE;
    const BOOL wasVisible = t.pControl->m_bVisible;
    t.pControl->m_bVisible = nCmdShow != SW_HIDE;
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    const Target t = TargetOf(hWnd);
    if (t.pControl) return t.pControl->m_bVisible;
    return t.pDialog != nullptr && !t.pDialog->m_bEnded && !t.pDialog->m_bHidden;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!TargetOf(hWnd).pControl && !TargetOf(hWnd).pDialog) return FALSE;
    SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : ""));
    return TRUE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND WINAPI SetFocus(HWND hWnd) {
    ControlWindow* control = ControlWindowFromHandle(hWnd);
    if (!control) return nullptr;
    DialogWindow* dialog = control->m_pDialog;
    ControlWindow* previous = dialog->Control(dialog->m_nFocusId);
    dialog->m_nFocusId = control->m_item.nId;
    return previous ? previous->Handle() : nullptr;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    DialogWindow* dialog = DialogWindowFromHandle(hDlg);
    if (!dialog) return FALSE;
    // As on Windows, the dialog ends when its handler returns, with the result
    // of the last call.
    dialog->m_bEnded = true;
    dialog->m_nResult = nResult;
    return TRUE;
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC) {
    DialogWindow* dialog = DialogWindowFromHandle(hWnd);
    if (!dialog || nIDEvent == 0) return 0;
    if (std::find(dialog->m_timers.begin(), dialog->m_timers.end(), nIDEvent) ==
        dialog->m_timers.end())
        dialog->m_timers.push_back(nIDEvent);
    // Windows raises intervals below USER_TIMER_MINIMUM to it.
    dialog->m_timerElapse[nIDEvent] = std::max(uElapse, 10u);
    return nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    DialogWindow* dialog = DialogWindowFromHandle(hWnd);
    if (!dialog) return FALSE;
    auto& timers = dialog->m_timers;
    const auto it = std::find(timers.begin(), timers.end(), uIDEvent);
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    dialog->m_timerElapse.erase(uIDEvent);
    return TRUE;
}

}  // extern "C"
