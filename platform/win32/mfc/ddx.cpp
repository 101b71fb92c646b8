#include "mfc/ddx.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "mfc/resources/afx_ids.h"

namespace {

std::string TextOf(HWND control) {
    CWnd wnd(control);
    CString text;
    wnd.GetWindowText(text);
    return text.str();
}

std::string Trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

}  // namespace

std::string AfxFormatDouble(double value) {
    // "%.15g", the precision MFC writes doubles with (DBL_DIG).
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, r.ptr);
}

bool AfxParseInt(const std::string& text, long long lowest, long long highest, long long* pValue) {
    std::string t = Trimmed(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty()) return false;
    long long v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    if (v < lowest || v > highest) return false;
    *pValue = v;
    return true;
}

bool AfxParseDouble(const std::string& text, double* pValue) {
    std::string t = Trimmed(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty()) return false;
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v)) return false;
    *pValue = v;
    return true;
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    m_bEditLastControl = false;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail() {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
    if (control) {
        ::SetFocus(control);
        if (m_bEditLastControl) SendMessageA(control, EM_SETSEL, 0, -1);
    }
    m_bFailed = true;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->m_bFailed) return;
    rControl.m_hWnd = pDX->PrepareCtrl(nIDC);
}

namespace {

template <typename T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, UINT message) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextA(control, std::to_string(value).c_str());
        return;
    }
    long long parsed = 0;
    if (!AfxParseInt(TextOf(control), std::numeric_limits<T>::min(), std::numeric_limits<T>::max(),
                     &parsed)) {
        AfxMessageBox(AfxFrameworkString(message).c_str(), MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    value = static_cast<T>(parsed);
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeInteger(pDX, nIDC, value, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ExchangeInteger(pDX, nIDC, value, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextA(control, AfxFormatDouble(value).c_str());
        return;
    }
    if (!AfxParseDouble(TextOf(control), &value)) {
        AfxMessageBox(AfxFrameworkString(AFX_IDP_PARSE_REAL).c_str(), MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = CString(TextOf(control));
    else
        SetWindowTextA(control, value);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bFailed) return;
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            std::string message = AfxFrameworkString(AFX_IDP_PARSE_STRING_SIZE);
            const size_t at = message.find("%1");
            if (at != std::string::npos) message.replace(at, 2, std::to_string(nChars));
            AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        return;
    }
    HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
    SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    if (pDX->m_bFailed) return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
