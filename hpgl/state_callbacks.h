// Pen and brush selections and the raster operation. Selections write
// nothing: they set the attributes the next primitives send when changed.
#pragma once

#include <windows.h>

#include "pxrdriver/driver_callbacks.h"

// The colour as the job's colour mode draws it: 0 black and white (only
// pure white stays white), 2 grey (the mean of the three bytes), else as is.
COLORREF ConvertColor(COLORREF color, int nColorMode);
// Line-attribute word of a Win32 pen style.
int LineAttributesOfStyle(DWORD nStyle);

int OnSelectPen(HostContext* pHost, const HostPenRecord* pPen);
int OnSelectBrush(HostContext* pHost, const HostBrushRecord* pBrush);
int OnSetRop2(HostContext* pHost, int nRop2);
