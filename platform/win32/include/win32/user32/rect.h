// Rectangle helpers of user32.
#pragma once

#include "win32/types.h"

extern "C" {
WIN32_API BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
WIN32_API BOOL WINAPI SetRectEmpty(LPRECT lprc);
WIN32_API BOOL WINAPI IsRectEmpty(const RECT* lprc);
WIN32_API BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
WIN32_API BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
WIN32_API BOOL WINAPI PtInRect(const RECT* lprc, POINT pt);
}
