// CDialog: a modal dialog made from a template of its resource module, with dialog data exchange
// and a message map. DoModal builds the dialog window, runs OnInitDialog and hands the window to
// the process's UI presenter, which shows it until the dialog ends.
#pragma once

#include <map>
#include <memory>

#include "mfc/cwnd.h"
#include "mfc/message_map.h"
#include "win32/kernel32/resources.h"
#include "win32/user32/dialog_window.h"
#include "win32/user32/message_box.h"

class CDataExchange;

class WIN32_API CDialog : public CWnd, public DialogMessageSink {
    DECLARE_DYNAMIC(CDialog)

public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or the EndDialog result; -1 when the template is missing
    // or malformed.
    // A dialog that the presenter leaves before it ended (or that no
    // presenter shows) runs on, unseen, on its timers until it ends, as a
    // hidden window does on Windows; without timers it ends as IDCANCEL.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult);
    // The control's window object; stays valid while the dialog is open.
    CWnd* GetDlgItem(int nID);
    void GotoDlgCtrl(CWnd* pWndCtrl);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    UINT GetTemplateId() const { return m_nIDTemplate; }
    // The open dialog's emulated window on Linux (null outside DoModal, and
    // on Windows, where the dialog is the system's window m_hWnd).
    DialogWindow* Window() { return m_window; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    void OnTimer(UINT_PTR nIDEvent);
    // Nothing more than the default window procedure does, which is nothing
    // for the messages that reach a dialog here.
    void Default() {}
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();
    LRESULT OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The module the template and the dialog's bitmaps load from: the
    // process's resource module (AfxGetResourceHandle) when DoModal begins.
    virtual HINSTANCE TemplateModule() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;

    DialogWindow* m_window = nullptr;  // DoModal's, while it runs
    std::map<int, std::unique_ptr<CWnd>> m_items;
};

// The module whose resources dialogs and strings load from.
WIN32_API HINSTANCE AfxGetResourceHandle();
WIN32_API void AfxSetResourceHandle(HINSTANCE hInstResource);

// A message box of the UI presenter, without a caption; IDCANCEL without one.
WIN32_API int AfxMessageBox(LPCSTR lpszText, UINT nType = 0, UINT nIDHelp = 0);
// The type with the icon MFC adds to a box that asks for none.
UINT MessageBoxTypeWithIcon(UINT nType);
// The text is string nIDPrompt of the resource module.
WIN32_API int AfxMessageBox(UINT nIDPrompt, UINT nType = 0, UINT nIDHelp = static_cast<UINT>(-1));
