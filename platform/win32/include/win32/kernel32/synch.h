// Kernel objects of the subset: events, and the handles of threads started
// through AfxBeginThread, waited on with WaitForSingleObject. A handle stays
// usable until CloseHandle; the object lives while any handle or waiter
// holds it.
#pragma once

#include "win32/types.h"

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define CREATE_SUSPENDED 0x00000004u

#define ERROR_SUCCESS 0u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_ALREADY_EXISTS 183u

extern "C" {
// bInitialState: signalled from the start. A name already in use opens that
// event (its own reset mode and state kept) and sets ERROR_ALREADY_EXISTS.
// Security attributes are accepted and ignored: there is one user here.
WIN32_API HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                                     BOOL bInitialState, LPCSTR lpName);
// An auto-reset event releases one waiter per SetEvent (or stays signalled
// until one comes); a manual-reset event releases all until ResetEvent.
WIN32_API BOOL WINAPI SetEvent(HANDLE hEvent);
WIN32_API BOOL WINAPI ResetEvent(HANDLE hEvent);
// WAIT_OBJECT_0, WAIT_TIMEOUT after dwMilliseconds (INFINITE: never), or
// WAIT_FAILED for a handle that is not a live event or thread.
WIN32_API DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
WIN32_API BOOL WINAPI CloseHandle(HANDLE hObject);
// The calling thread's last error, as the functions above set it.
WIN32_API DWORD WINAPI GetLastError();
WIN32_API void WINAPI SetLastError(DWORD dwErrCode);
}
