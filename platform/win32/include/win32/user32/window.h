// Window functions on dialogs and their controls.
#pragma once

#include "win32/types.h"
#include "win32/user32/window_messages.h"

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

extern "C" {
WIN32_API LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WIN32_API LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                             LPARAM lParam);
WIN32_API HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
WIN32_API int WINAPI GetDlgCtrlID(HWND hWnd);
WIN32_API HWND WINAPI GetParent(HWND hWnd);
WIN32_API BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
WIN32_API BOOL WINAPI IsWindowEnabled(HWND hWnd);
WIN32_API BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
WIN32_API BOOL WINAPI IsWindowVisible(HWND hWnd);
WIN32_API BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
WIN32_API int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
WIN32_API int WINAPI GetWindowTextLengthA(HWND hWnd);
WIN32_API HWND WINAPI SetFocus(HWND hWnd);
WIN32_API BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
WIN32_API UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse,
                                   TIMERPROC lpTimerFunc);
WIN32_API BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);
}
