/* Window, dialog and control styles: plain definitions, so that resource
   scripts include this file as well as C++ code. */
#pragma once

#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_VSCROLL 0x00200000
#define WS_SYSMENU 0x00080000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000

#define BS_PUSHBUTTON 0x0
#define BS_DEFPUSHBUTTON 0x1
#define BS_AUTOCHECKBOX 0x3
#define BS_GROUPBOX 0x7
#define BS_AUTORADIOBUTTON 0x9
#define BS_TYPEMASK 0xF

#define ES_MULTILINE 0x4
#define ES_AUTOVSCROLL 0x40
#define ES_AUTOHSCROLL 0x80
#define ES_READONLY 0x800
#define ES_WANTRETURN 0x1000
#define ES_NUMBER 0x2000

#define CBS_DROPDOWN 0x2
#define CBS_DROPDOWNLIST 0x3
#define CBS_TYPEMASK 0x3

#define SS_LEFT 0x0
#define SS_BITMAP 0xE
#define SS_TYPEMASK 0x1F

#define UDS_ALIGNRIGHT 0x4
#define UDS_AUTOBUDDY 0x10
#define UDS_ARROWKEYS 0x20

#define PBS_SMOOTH 0x1
