// The MFC control classes the dialogs bind with DDX_Control: thin wrappers
// that send the controls' messages.
#pragma once

#include "mfc/cwnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) {
        ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
    }
};

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) {
        ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStart), nEnd);
    }
    void LimitText(int nChars) {
        ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
};

class CComboBox : public CWnd {
public:
    int AddString(LPCSTR text) { return Int(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    int InsertString(int nIndex, LPCSTR text) {
        return Int(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text));
    }
    int DeleteString(UINT nIndex) { return Int(CB_DELETESTRING, nIndex, 0); }
    void ResetContent() { ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }
    int GetCount() const { return Int(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return Int(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return Int(CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0); }
    int GetLBTextLen(int nIndex) const {
        return Int(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    }
    void GetLBText(int nIndex, CString& rString) const {
        const int n = GetLBTextLen(nIndex);
        if (n < 0) {
            rString.Empty();
            return;
        }
        std::string text(static_cast<size_t>(n) + 1, '\0');
        ::SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(n));
        rString = CString(text);
    }
    LPARAM GetItemData(int nIndex) const {
        return ::SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
    }
    int SetItemData(int nIndex, LPARAM data) {
        return Int(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), data);
    }
    // Whole text, letter case ignored; nStartAfter -1 searches from the top.
    int FindStringExact(int nStartAfter, LPCSTR text) const {
        return Int(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nStartAfter),
                   reinterpret_cast<LPARAM>(text));
    }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const {
        return static_cast<int>(::SendMessageA(m_hWnd, message, wParam, lParam));
    }
};

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) {
        ::SendMessageA(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
    }
    void GetRange32(int& nLower, int& nUpper) const {
        ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower),
                       reinterpret_cast<LPARAM>(&nUpper));
    }
    int SetPos32(int nPos) {
        return static_cast<int>(::SendMessageA(m_hWnd, UDM_SETPOS32, 0, nPos));
    }
    int GetPos32() const { return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS32, 0, 0)); }
};

class CProgressCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) {
        ::SendMessageA(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
    }
    int SetPos(int nPos) {
        return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPos), 0));
    }
};
