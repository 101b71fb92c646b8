#include "mfc/cdialog.h"

#include <atomic>

#include "mfc/ddx.h"

namespace {
std::atomic<HINSTANCE> g_resourceHandle{nullptr};
}

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle.load();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_resourceHandle.store(hInstResource);
}

UINT MessageBoxTypeWithIcon(UINT nType) {
    // A box without an icon gets the one MFC gives it: the exclamation mark
    // with OK, the question mark with Yes and No.
    if (nType & MB_ICONMASK) return nType;
    const UINT buttons = nType & MB_TYPEMASK;
    if (buttons == MB_OK || buttons == MB_OKCANCEL) return nType | MB_ICONEXCLAMATION;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) return nType | MB_ICONQUESTION;
    return nType;
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    char text[1024];
    LoadStringA(AfxGetResourceHandle(), nIDPrompt, text, sizeof text);
    return AfxMessageBox(text, nType, nIDHelp);
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

const AFX_MSGMAP* CDialog::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CDialog::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {
        {WM_COMMAND, 0, IDOK, AfxSig_vv, &CDialog::OnOK, nullptr, nullptr},
        {WM_COMMAND, 0, IDCANCEL, AfxSig_vv, &CDialog::OnCancel, nullptr, nullptr},
        {WM_TIMER, 0, 0, AfxSig_vw, nullptr, nullptr, &CDialog::OnTimer},
        {0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

HINSTANCE CDialog::TemplateModule() const {
    return AfxGetResourceHandle();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnTimer(UINT_PTR) {
    Default();
}

CWnd* CDialog::GetDlgItem(int nID) {
    HWND control = ::GetDlgItem(m_hWnd, nID);
    if (!control) return nullptr;
    auto& wrapper = m_items[nID];
    if (!wrapper) wrapper = std::make_unique<CWnd>(control);
    return wrapper.get();
}

UINT_PTR CDialog::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

const AFX_MSGMAP_ENTRY* CDialog::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
            if (e->nMessage == message && e->nCode == code && (message == WM_TIMER || e->nID == id))
                return e;
    return nullptr;
}

LRESULT CDialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
        if (e) (this->*(e->pfn))();
        return 0;
    }
    if (message == WM_NOTIFY && lParam) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* e =
            FindEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
        LRESULT result = 0;
        if (e) (this->*(e->pfnNotify))(header, &result);
        return result;
    }
    if (message == WM_TIMER) {
        const AFX_MSGMAP_ENTRY* e = FindEntry(WM_TIMER, 0, 0);
        if (e) (this->*(e->pfnTimer))(wParam);
        return 0;
    }
    return 0;
}
