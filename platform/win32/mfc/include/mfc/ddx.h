// Dialog data exchange: members to controls (loading) and controls to
// members with validation (saving). A failed exchange shows the framework's
// message, puts the focus on the control and stops the rest of the exchange.
#pragma once

#include <string>

#include "mfc/cdialog.h"
#include "mfc/cstring.h"

class WIN32_API CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focus and whole-text selection to the last prepared control; the
    // exchange stops here.
    void Fail();

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
    bool m_bFailed = false;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

WIN32_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
WIN32_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
WIN32_API void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
WIN32_API void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
WIN32_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
WIN32_API void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
WIN32_API void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
WIN32_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
WIN32_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

// A message of the framework's own string table (the exchange's messages),
// in the user's language; "%1" stays for the caller to fill.
WIN32_API std::string AfxFrameworkString(UINT nId);

// Number texts as the exchange writes and reads them, independent of the C locale.
WIN32_API std::string AfxFormatDouble(double value);
WIN32_API bool AfxParseInt(const std::string& text, long long lowest, long long highest,
                           long long* pValue);
WIN32_API bool AfxParseDouble(const std::string& text, double* pValue);
