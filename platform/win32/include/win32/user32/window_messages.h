// Messages and notifications of windows and the standard and common controls
// that the dialogs use, with their Win32 values.
#pragma once

#include "win32/types.h"

#define WM_USER 0x0400
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_NOTIFY 0x004E
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BN_CLICKED 0

#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5
#define EN_CHANGE 0x0300

#define CB_ERR (-1)
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_FINDSTRINGEXACT 0x0158
#define CBN_SELCHANGE 1
#define CBN_EDITCHANGE 5

#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)
#define UDN_FIRST (0U - 721U)
#define UDN_DELTAPOS (UDN_FIRST - 1)

#define PBM_SETPOS (WM_USER + 2)
#define PBM_SETRANGE32 (WM_USER + 6)

#define SW_HIDE 0
#define SW_SHOW 5

#define MAKEWPARAM(lo, hi) \
    (static_cast<WPARAM>((static_cast<DWORD>(hi) << 16) | static_cast<WORD>(lo)))
#define LOWORD(v) (static_cast<WORD>(static_cast<UINT_PTR>(v) & 0xFFFF))
#define HIWORD(v) (static_cast<WORD>((static_cast<UINT_PTR>(v) >> 16) & 0xFFFF))

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};
