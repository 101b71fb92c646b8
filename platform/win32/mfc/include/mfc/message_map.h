// MFC message maps for dialogs: tables from a message, notification code and
// control id to a member function of the dialog class, searched from the most
// derived class to CDialog.
#pragma once

#include "win32/types.h"
#include "win32/user32/window_messages.h"

class CDialog;
using AFX_PMSG = void (CDialog::*)();
using AFX_PMSG_NOTIFY = void (CDialog::*)(NMHDR*, LRESULT*);
using AFX_PMSG_TIMER = void (CDialog::*)(UINT_PTR);

enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()
    AfxSig_vNMHDRpl,  // void (NMHDR*, LRESULT*)
    AfxSig_vw,        // void (UINT_PTR)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nSig;
    // One handler, of the kind nSig names.
    AFX_PMSG pfn;
    AFX_PMSG_NOTIFY pfnNotify;
    AFX_PMSG_TIMER pfnTimer;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                     \
        using TheBaseClass = baseClass;                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr }                                            \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

#define ON_COMMAND(id, memberFxn)                  \
    {WM_COMMAND,                                   \
     0,                                            \
     static_cast<UINT>(id),                        \
     AfxSig_vv,                                    \
     static_cast<AFX_PMSG>(&ThisClass::memberFxn), \
     nullptr,                                      \
     nullptr},
#define ON_CONTROL(code, id, memberFxn)            \
    {WM_COMMAND,                                   \
     static_cast<UINT>(code),                      \
     static_cast<UINT>(id),                        \
     AfxSig_vv,                                    \
     static_cast<AFX_PMSG>(&ThisClass::memberFxn), \
     nullptr,                                      \
     nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                    \
    {WM_NOTIFY,                                           \
     static_cast<UINT>(code),                             \
     static_cast<UINT>(id),                               \
     AfxSig_vNMHDRpl,                                     \
     nullptr,                                             \
     static_cast<AFX_PMSG_NOTIFY>(&ThisClass::memberFxn), \
     nullptr},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, AfxSig_vw, nullptr, nullptr, static_cast<AFX_PMSG_TIMER>(&ThisClass::OnTimer)},
