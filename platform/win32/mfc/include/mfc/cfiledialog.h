// CFileDialog: the standard open and save dialogs, shown by the process's
// UI presenter.
#pragma once

#include <string>

#include "mfc/cstring.h"
#include "mfc/cwnd.h"
#include "win32/comdlg32/file_dialog.h"
#include "win32/types.h"

typedef long INT_PTR_T;

class WIN32_API CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    // IDOK with a chosen path, IDCANCEL otherwise.
    LONG_PTR DoModal();
    CString GetPathName() const { return m_strPath; }

private:
    BOOL m_bOpen;
    std::string m_strDefExt;
    std::string m_strFileName;
    DWORD m_dwFlags;
    std::string m_strFilter;
    HWND m_hOwner;
    std::string m_strPath;
};
