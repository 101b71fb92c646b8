// Bitmaps in vector plots: the host's StretchDIBits-like calls, rendered in
// the computer and placed into the HP-GL/2 plot as scaled HP RTL rasters.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"

// Callback-table entry +180: any bitmap.
int OnDrawBitmap(HostContext* pHost, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                 int wSrc, int hSrc, const void* pBits, const BITMAPINFO* pInfo, UINT iUsage,
                 DWORD dwRop);
// Entry +184: a bitmap whose pixels may carry alpha; alpha 0 is sent white.
int OnDrawBitmapAlpha(HostContext* pHost, int xDest, int yDest, int wDest, int hDest, int xSrc,
                      int ySrc, int wSrc, int hSrc, const void* pBits, const BITMAPINFO* pInfo,
                      UINT iUsage, DWORD dwRop);
