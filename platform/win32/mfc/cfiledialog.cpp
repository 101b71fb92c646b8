#include "mfc/cfiledialog.h"

#include "win32/user32/ui_presenter.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpen(bOpenFileDialog),
      m_strDefExt(lpszDefExt ? lpszDefExt : ""),
      m_strFileName(lpszFileName ? lpszFileName : ""),
      m_dwFlags(dwFlags),
      m_strFilter(lpszFilter ? lpszFilter : ""),
      m_hOwner(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr) {}

LONG_PTR CFileDialog::DoModal() {
    UiPresenter* presenter = GetUiPresenter();
    // Only the save form is presented; nothing in this system opens files through a dialog.
    if (!presenter || m_bOpen) return IDCANCEL;
    const SaveFileRequest request{m_hOwner, m_strFileName, m_strDefExt, m_strFilter, m_dwFlags};
    std::string path;
    if (!presenter->ShowSaveDialog(request, &path) || path.empty()) return IDCANCEL;
    m_strPath = path;
    return IDOK;
}
