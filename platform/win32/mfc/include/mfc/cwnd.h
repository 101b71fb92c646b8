// CWnd: the MFC window object, a thin wrapper of a window handle.
#pragma once

#include "mfc/cstring.h"
#include "mfc/runtime_class.h"
#include "win32/types.h"
#include "win32/user32/window.h"

class WIN32_API CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)

public:
    explicit CWnd(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    ~CWnd() override = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window object of a handle, null for none. Unlike MFC's temporary
    // objects these stay until the process ends: the handles asked for are
    // the desktop's and owners', few and long-lived.
    static CWnd* FromHandle(HWND hWnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    CWnd* SetFocus();
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    HWND m_hWnd;
};

inline void CWnd::GetWindowText(CString& rString) const {
    const int n = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const int got = ::GetWindowTextA(m_hWnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(got < 0 ? 0 : got));
    rString = CString(text);
}

inline CWnd* CWnd::SetFocus() {
    ::SetFocus(m_hWnd);
    return nullptr;
}
