// A dialog made from its template: the dialog window and its controls, with
// the state each control shows, and the actions a user takes on them. A
// presenter shows a DialogWindow and turns what the user does into these
// actions; the dialog's own code sees them as the messages Windows sends.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win32/user32/dialog_message_sink.h"
#include "win32/user32/dialog_template.h"
#include "win32/types.h"
#include "win32/user32/window_messages.h"

class DialogWindow;

struct ComboItem {
    std::string strText;
    LPARAM data = 0;
};

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    DropDownCombo,  // typed text allowed
    DropDownList,
    Label,
    Bitmap,
    UpDown,
    Progress,
    Other,
};

class WIN32_API ControlWindow {
public:
    ControlWindow(DialogWindow* pDialog, const DialogItemTemplate& item);
    HWND Handle() { return reinterpret_cast<HWND>(this); }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    bool IsReadOnly() const;

    DialogWindow* m_pDialog;
    DialogItemTemplate m_item;
    ControlKind m_kind;
    std::string m_strText;
    bool m_bEnabled;
    bool m_bVisible;
    int m_nCheck = BST_UNCHECKED;
    std::vector<ComboItem> m_items;
    int m_nCurSel = CB_ERR;
    int m_nLower = 0, m_nUpper = 100, m_nPos = 0;  // up-down and progress
    size_t m_nTextLimit = 0;                       // 0: no limit
    int m_nSelStart = 0, m_nSelEnd = 0;
    int m_nBuddyId = -1;  // the up-down's buddy, the control before it
};

class WIN32_API DialogWindow {
public:
    DialogWindow(int nTemplateId, const DialogTemplate& dialogTemplate, HWND hOwner,
                 DialogMessageSink* pSink);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND Handle() { return reinterpret_cast<HWND>(this); }
    int TemplateId() const { return m_nTemplateId; }
    const DialogTemplate& Template() const { return m_template; }
    HWND Owner() const { return m_hOwner; }
    ControlWindow* Control(int nId);
    const std::vector<std::unique_ptr<ControlWindow>>& Controls() const { return m_controls; }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    // The radio buttons of the group that holds the control.
    std::vector<ControlWindow*> RadioGroupOf(const ControlWindow* pControl);

    // What a user does. Each returns false when the control cannot take the
    // action (missing, hidden, disabled, read-only, wrong kind).
    bool UserType(int nId, const std::string& text);
    bool UserChoose(int nId, int nIndex);
    bool UserClick(int nId);
    bool UserSpin(int nId, int nDelta);
    bool TimerTick(UINT_PTR nTimerId);
    void UserClose();  // the close box or Esc: IDCANCEL

    std::string m_strCaption;
    int m_nFocusId = -1;
    bool m_bEnded = false;
    bool m_bHidden = false;  // ShowWindow(SW_HIDE): runs on, not shown
    INT_PTR m_nResult = 0;
    std::vector<UINT_PTR> m_timers;          // in the order they were set
    std::map<UINT_PTR, UINT> m_timerElapse;  // milliseconds, per timer
    HMODULE m_hModule = nullptr;             // where its template and bitmaps come from

private:
    int m_nTemplateId;
    DialogTemplate m_template;
    HWND m_hOwner;
    DialogMessageSink* m_pSink;
    std::vector<std::unique_ptr<ControlWindow>> m_controls;
};

// Runs a dialog that no presenter shows on its timers, each at its own
// interval, until it ends: a hidden dialog on Windows runs on the same way.
// A dialog without timers (or whose timers are all killed) could never end
// and is ended as IDCANCEL.
WIN32_API void RunDialogUnseen(DialogWindow& dialog);

// The live window behind a handle, or null.
WIN32_API DialogWindow* DialogWindowFromHandle(HWND hWnd);
WIN32_API ControlWindow* ControlWindowFromHandle(HWND hWnd);
