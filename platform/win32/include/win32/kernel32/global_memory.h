// Global memory handles, as the DEVMODE exchange with the host uses them.
#pragma once

#include "win32/types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

extern "C" {
WIN32_API HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
WIN32_API LPVOID WINAPI GlobalLock(HGLOBAL hMem);
WIN32_API BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
WIN32_API HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
WIN32_API SIZE_T WINAPI GlobalSize(HGLOBAL hMem);
}
