// Enhanced metafile handles and their playback into a device context.
#pragma once

#include "win32/gdi32/gdi.h"
#include "win32/types.h"

extern "C" {
// The metafile of a file; null when it cannot be read or is malformed.
WIN32_API HENHMETAFILE WINAPI GetEnhMetaFileA(LPCSTR lpName);
// A metafile of a copy of the bytes; null when they are malformed.
WIN32_API HENHMETAFILE WINAPI SetEnhMetaFileBits(UINT nSize, const BYTE* pb);
// A copy of the metafile; with a file name the bytes are also written there.
WIN32_API HENHMETAFILE WINAPI CopyEnhMetaFileA(HENHMETAFILE hEnh, LPCSTR lpFileName);
WIN32_API BOOL WINAPI DeleteEnhMetaFile(HENHMETAFILE hmf);
// Plays the records into a memory device context: the metafile's frame
// lands on lprect (logical units of hdc).
WIN32_API BOOL WINAPI PlayEnhMetaFile(HDC hdc, HENHMETAFILE hmf, const RECT* lprect);
}
