// This platform's addition, not a Win32 name: the style unit of a memory
// device context. Windows printer drivers measure cosmetic pen styles and
// hatch brushes in a styling unit of their own, so that dashes and hatches
// look on paper as they do on a screen; a memory device context measures
// them in its pixels. A page rendered in the computer for a plotter sets the
// plotter's screen pixel (its resolution / 96), so that it shows them as
// the vector plot of the same page does.
#pragma once

#include "win32/gdi32/gdi.h"
#include "win32/types.h"

extern "C" {
// The device pixels of one style unit (1 for a new context; at least 1).
// FALSE for a handle that is no device context, or a unit below 1 or not a
// number.
WIN32_API BOOL WINAPI SetDeviceStyleUnit(HDC hdc, double pixels);
}
