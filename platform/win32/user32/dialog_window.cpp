#include "win32/user32/dialog_window.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>

namespace {

std::mutex g_windowsLock;
std::set<const void*> g_dialogs;
std::set<const void*> g_controls;

ControlKind KindOf(const DialogItemTemplate& item) {
    const DWORD style = item.dwStyle;
    std::string cls = item.strClass;
    std::transform(cls.begin(), cls.end(), cls.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (cls == "button") {
        switch (style & BS_TYPEMASK) {
            case BS_DEFPUSHBUTTON: return ControlKind::DefaultPushButton;
            case BS_AUTOCHECKBOX: return ControlKind::CheckBox;
            case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
            case BS_GROUPBOX: return ControlKind::GroupBox;
            default: return ControlKind::PushButton;
        }
    }
    if (cls == "edit") return ControlKind::Edit;
    if (cls == "combobox")
        return (style & CBS_TYPEMASK) == CBS_DROPDOWNLIST ? ControlKind::DropDownList
                                                          : ControlKind::DropDownCombo;
    if (cls == "static")
        return (style & SS_TYPEMASK) == SS_BITMAP ? ControlKind::Bitmap : ControlKind::Label;
    if (cls == "msctls_updown32") return ControlKind::UpDown;
    if (cls == "msctls_progress32") return ControlKind::Progress;
    return ControlKind::Other;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

LRESULT CopyText(const std::string& text, WPARAM capacity, LPARAM buffer) {
    if (!buffer || capacity == 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.data(), n, reinterpret_cast<char*>(buffer));
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

ControlWindow::ControlWindow(DialogWindow* pDialog, const DialogItemTemplate& item)
    : m_pDialog(pDialog),
      m_item(item),
      m_kind(KindOf(item)),
      m_strText(item.strText),
      m_bEnabled(!(item.dwStyle & WS_DISABLED)),
      m_bVisible((item.dwStyle & WS_VISIBLE) != 0) {
    if (m_kind == ControlKind::Edit || m_kind == ControlKind::DropDownCombo ||
        m_kind == ControlKind::DropDownList)
        m_strText.clear();
}

bool ControlWindow::IsReadOnly() const {
    return m_kind == ControlKind::Edit && (m_item.dwStyle & ES_READONLY);
}

LRESULT ControlWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool isCombo =
        m_kind == ControlKind::DropDownCombo || m_kind == ControlKind::DropDownList;
    const auto validIndex = [&](WPARAM i) { return i < m_items.size(); };
    switch (message) {
        case WM_SETTEXT:
            m_strText = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: return CopyText(m_strText, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m_strText.size());
        case BM_GETCHECK: return m_nCheck;
        case BM_SETCHECK: m_nCheck = static_cast<int>(wParam); return 0;
        case EM_SETSEL:
            m_nSelStart = static_cast<int>(wParam);
            m_nSelEnd = static_cast<int>(lParam);
            return 0;
        case EM_LIMITTEXT:
        case CB_LIMITTEXT: m_nTextLimit = static_cast<size_t>(wParam); return TRUE;
        case CB_SETEDITSEL:
            m_nSelStart = static_cast<short>(LOWORD(lParam));
            m_nSelEnd = static_cast<short>(HIWORD(lParam));
            return TRUE;
        case UDM_SETRANGE32:
            m_nLower = static_cast<int>(wParam);
            m_nUpper = static_cast<int>(lParam);
            return 0;
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int*>(wParam) = m_nLower;
            if (lParam) *reinterpret_cast<int*>(lParam) = m_nUpper;
            return 0;
        case UDM_SETPOS32: {
            const int old = m_nPos;
            m_nPos = std::clamp(static_cast<int>(lParam), std::min(m_nLower, m_nUpper),
                                std::max(m_nLower, m_nUpper));
            return old;
        }
        case UDM_GETPOS32: return m_nPos;
        case PBM_SETRANGE32:
            if (m_kind != ControlKind::Progress) return 0;
            m_nLower = static_cast<int>(wParam);
            m_nUpper = static_cast<int>(lParam);
            return 0;
        case PBM_SETPOS: {
            if (m_kind != ControlKind::Progress) return 0;
            const int old = m_nPos;
            m_nPos = static_cast<int>(wParam);
            return old;
        }
        default: break;
    }
    if (!isCombo) return 0;
    switch (message) {
        case CB_ADDSTRING:
            m_items.push_back({lParam ? reinterpret_cast<const char*>(lParam) : "", 0});
            return static_cast<LRESULT>(m_items.size() - 1);
        case CB_INSERTSTRING: {
            const WPARAM at = static_cast<int>(wParam) < 0 ? m_items.size() : wParam;
            if (at > m_items.size()) return CB_ERR;
            m_items.insert(m_items.begin() + static_cast<long>(at),
                           {lParam ? reinterpret_cast<const char*>(lParam) : "", 0});
            return static_cast<LRESULT>(at);
        }
        case CB_DELETESTRING:
            if (!validIndex(wParam)) return CB_ERR;
            m_items.erase(m_items.begin() + static_cast<long>(wParam));
            // The list's selection goes with the entry it was on.
            if (m_nCurSel == static_cast<int>(wParam))
                m_nCurSel = CB_ERR;
            else if (m_nCurSel > static_cast<int>(wParam))
                --m_nCurSel;
            return static_cast<LRESULT>(m_items.size());
        case CB_RESETCONTENT:
            m_items.clear();
            m_nCurSel = CB_ERR;
            m_strText.clear();
            return 0;
        case CB_GETCOUNT: return static_cast<LRESULT>(m_items.size());
        case CB_GETCURSEL: return m_nCurSel;
        case CB_SETCURSEL:
            if (!validIndex(wParam)) {
                m_nCurSel = CB_ERR;
                m_strText.clear();
                return CB_ERR;
            }
            m_nCurSel = static_cast<int>(wParam);
            m_strText = m_items[wParam].strText;
            return m_nCurSel;
        case CB_GETLBTEXT:
            if (!validIndex(wParam) || !lParam) return CB_ERR;
            // The caller's buffer holds CB_GETLBTEXTLEN + 1 bytes, as Windows requires.
            std::copy(m_items[wParam].strText.begin(), m_items[wParam].strText.end(),
                      reinterpret_cast<char*>(lParam));
            reinterpret_cast<char*>(lParam)[m_items[wParam].strText.size()] = '\0';
            return static_cast<LRESULT>(m_items[wParam].strText.size());
        case CB_GETLBTEXTLEN:
            if (!validIndex(wParam)) return CB_ERR;
            return static_cast<LRESULT>(m_items[wParam].strText.size());
        case CB_GETITEMDATA: return validIndex(wParam) ? m_items[wParam].data : CB_ERR;
        case CB_SETITEMDATA:
            if (!validIndex(wParam)) return CB_ERR;
            m_items[wParam].data = lParam;
            return 0;
        case CB_FINDSTRINGEXACT: {
            // Starts after wParam and wraps; -1 searches from the top.
            if (m_items.empty() || !lParam) return CB_ERR;
            const std::string wanted = reinterpret_cast<const char*>(lParam);
            const size_t n = m_items.size();
            const size_t first = static_cast<int>(wParam) < 0 || wParam >= n ? 0 : wParam + 1;
            for (size_t k = 0; k < n; ++k) {
                const size_t i = (first + k) % n;
                if (EqualNoCase(m_items[i].strText, wanted)) return static_cast<LRESULT>(i);
            }
            return CB_ERR;
        }
        default: return 0;
    }
}

DialogWindow::DialogWindow(int nTemplateId, const DialogTemplate& dialogTemplate, HWND hOwner,
                           DialogMessageSink* pSink)
    : m_strCaption(dialogTemplate.strCaption),
      m_nTemplateId(nTemplateId),
      m_template(dialogTemplate),
      m_hOwner(hOwner),
      m_pSink(pSink) {
    for (const auto& item : m_template.items) {
        auto control = std::make_unique<ControlWindow>(this, item);
        // An up-down control with UDS_AUTOBUDDY takes the control before it.
        if (control->m_kind == ControlKind::UpDown && (item.dwStyle & UDS_AUTOBUDDY) &&
            !m_controls.empty())
            control->m_nBuddyId = m_controls.back()->m_item.nId;
        m_controls.push_back(std::move(control));
    }
    for (const auto& control : m_controls)
        if (control->m_bEnabled && (control->m_item.dwStyle & WS_TABSTOP)) {
            m_nFocusId = control->m_item.nId;
            break;
        }
    std::lock_guard<std::mutex> lock(g_windowsLock);
    g_dialogs.insert(this);
    for (const auto& control : m_controls) g_controls.insert(control.get());
}

DialogWindow::~DialogWindow() {
    std::lock_guard<std::mutex> lock(g_windowsLock);
    g_dialogs.erase(this);
    for (const auto& control : m_controls) g_controls.erase(control.get());
}

ControlWindow* DialogWindow::Control(int nId) {
    if (nId < 0) return nullptr;
    for (const auto& control : m_controls)
        if (control->m_item.nId == nId) return control.get();
    return nullptr;
}

LRESULT DialogWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            m_strCaption = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: return CopyText(m_strCaption, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m_strCaption.size());
        default: return m_pSink ? m_pSink->OnDialogMessage(message, wParam, lParam) : 0;
    }
}

std::vector<ControlWindow*> DialogWindow::RadioGroupOf(const ControlWindow* pControl) {
    std::vector<ControlWindow*> group;
    size_t at = 0;
    while (at < m_controls.size() && m_controls[at].get() != pControl) ++at;
    if (at == m_controls.size()) return group;
    size_t first = at;
    while (first > 0 && !(m_controls[first]->m_item.dwStyle & WS_GROUP)) --first;
    for (size_t i = first; i < m_controls.size(); ++i) {
        if (i > first && (m_controls[i]->m_item.dwStyle & WS_GROUP)) break;
        if (m_controls[i]->m_kind == ControlKind::RadioButton) group.push_back(m_controls[i].get());
    }
    return group;
}

bool DialogWindow::UserType(int nId, const std::string& text) {
    ControlWindow* c = Control(nId);
    if (m_bEnded || !c || !c->m_bEnabled || !c->m_bVisible || c->IsReadOnly()) return false;
    if (c->m_kind != ControlKind::Edit && c->m_kind != ControlKind::DropDownCombo) return false;
    // A digits-only edit refuses any other key.
    if ((c->m_item.dwStyle & ES_NUMBER) && c->m_kind == ControlKind::Edit &&
        !std::all_of(text.begin(), text.end(), [](unsigned char ch) { return std::isdigit(ch); }))
        return false;
    std::string typed = text;
    if (c->m_nTextLimit && typed.size() > c->m_nTextLimit) {
        // The edit takes whole characters only, never the first bytes of one.
        size_t n = c->m_nTextLimit;
        while (n > 0 && (static_cast<unsigned char>(typed[n]) & 0xC0) == 0x80) --n;
        typed.resize(n);
    }
    c->m_strText = typed;
    m_nFocusId = nId;
    if (c->m_kind == ControlKind::DropDownCombo) {
        c->m_nCurSel = CB_ERR;
        Send(WM_COMMAND, MAKEWPARAM(nId, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(c->Handle()));
    } else {
        Send(WM_COMMAND, MAKEWPARAM(nId, EN_CHANGE), reinterpret_cast<LPARAM>(c->Handle()));
    }
    return true;
}

bool DialogWindow::UserChoose(int nId, int nIndex) {
    ControlWindow* c = Control(nId);
    if (m_bEnded || !c || !c->m_bEnabled || !c->m_bVisible) return false;
    if (c->m_kind != ControlKind::DropDownCombo && c->m_kind != ControlKind::DropDownList)
        return false;
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= c->m_items.size()) return false;
    c->m_nCurSel = nIndex;
    c->m_strText = c->m_items[static_cast<size_t>(nIndex)].strText;
    m_nFocusId = nId;
    Send(WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c->Handle()));
    return true;
}

bool DialogWindow::UserClick(int nId) {
    ControlWindow* c = Control(nId);
    if (m_bEnded || !c || !c->m_bEnabled || !c->m_bVisible) return false;
    switch (c->m_kind) {
        case ControlKind::CheckBox:
            c->m_nCheck = c->m_nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            break;
        case ControlKind::RadioButton:
            for (ControlWindow* other : RadioGroupOf(c)) other->m_nCheck = BST_UNCHECKED;
            c->m_nCheck = BST_CHECKED;
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: break;
        default: return false;
    }
    m_nFocusId = nId;
    Send(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(c->Handle()));
    return true;
}

bool DialogWindow::UserSpin(int nId, int nDelta) {
    ControlWindow* c = Control(nId);
    if (m_bEnded || !c || !c->m_bEnabled || !c->m_bVisible || c->m_kind != ControlKind::UpDown)
        return false;
    NMUPDOWN notify{{c->Handle(), static_cast<UINT_PTR>(nId), UDN_DELTAPOS}, c->m_nPos, nDelta};
    const LRESULT refused =
        Send(WM_NOTIFY, static_cast<WPARAM>(nId), reinterpret_cast<LPARAM>(&notify));
    if (!refused)
        c->m_nPos = std::clamp(c->m_nPos + nDelta, std::min(c->m_nLower, c->m_nUpper),
                               std::max(c->m_nLower, c->m_nUpper));
    return true;
}

bool DialogWindow::TimerTick(UINT_PTR nTimerId) {
    if (m_bEnded || std::find(m_timers.begin(), m_timers.end(), nTimerId) == m_timers.end())
        return false;
    Send(WM_TIMER, nTimerId, 0);
    return true;
}

void DialogWindow::UserClose() {
    if (m_bEnded) return;
    Send(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);
}

DialogWindow* DialogWindowFromHandle(HWND hWnd) {
    std::lock_guard<std::mutex> lock(g_windowsLock);
    return g_dialogs.count(hWnd) ? reinterpret_cast<DialogWindow*>(hWnd) : nullptr;
}

ControlWindow* ControlWindowFromHandle(HWND hWnd) {
    std::lock_guard<std::mutex> lock(g_windowsLock);
    return g_controls.count(hWnd) ? reinterpret_cast<ControlWindow*>(hWnd) : nullptr;
}
