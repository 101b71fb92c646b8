// The raster GDI: memory device contexts over DIB sections, mapping modes,
// world transforms, brushes, rectangle fills, clipping by rectangles,
// regions and paths, and StretchDIBits with HALFTONE stretching. Drawn with cairo; antialiasing is
// off, as GDI draws aliased pixels.
#pragma once

#include "win32/gdi32/gdi.h"

struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HRGN__;
using HRGN = HRGN__*;
using HGDIOBJ = void*;

#ifndef HGDI_ERROR
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)))
#endif

// Stretch modes.
#ifndef BLACKONWHITE
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#endif

#ifndef RGN_AND
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#endif
#ifndef NULLREGION
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#endif
#ifndef ALTERNATE
#define ALTERNATE 1
#define WINDING 2
#endif

// Graphics modes: world transforms count only in GM_ADVANCED.
#ifndef GM_ADVANCED
#define GM_COMPATIBLE 1
#define GM_ADVANCED 2
#endif

// Ternary raster operations of the blits that take a source.
#ifndef SRCPAINT
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define NOTSRCCOPY 0x00330008
#endif

extern "C" {
WIN32_API HDC WINAPI CreateCompatibleDC(HDC hdc);
WIN32_API BOOL WINAPI DeleteDC(HDC hdc);
WIN32_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage,
                                          void** ppvBits, HANDLE hSection, DWORD offset);
WIN32_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
WIN32_API HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
WIN32_API HRGN WINAPI CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode);
WIN32_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
WIN32_API BOOL WINAPI DeleteObject(HGDIOBJ ho);

WIN32_API int WINAPI SetMapMode(HDC hdc, int iMode);
WIN32_API int WINAPI GetMapMode(HDC hdc);
WIN32_API BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, SIZE* lpsz);
WIN32_API BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, SIZE* lpsz);
WIN32_API BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, POINT* lppt);
WIN32_API BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, POINT* lppt);
WIN32_API BOOL WINAPI LPtoDP(HDC hdc, POINT* lppt, int c);

WIN32_API BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, POINT* lppt);
WIN32_API BOOL WINAPI GetBrushOrgEx(HDC hdc, POINT* lppt);

WIN32_API int WINAPI SetGraphicsMode(HDC hdc, int iMode);
WIN32_API int WINAPI GetGraphicsMode(HDC hdc);
WIN32_API BOOL WINAPI SetWorldTransform(HDC hdc, const XFORM* lpxf);
WIN32_API BOOL WINAPI GetWorldTransform(HDC hdc, XFORM* lpxf);
WIN32_API BOOL WINAPI ModifyWorldTransform(HDC hdc, const XFORM* lpxf, DWORD mode);

WIN32_API int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
WIN32_API int WINAPI SetROP2(HDC hdc, int rop2);

WIN32_API int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
WIN32_API int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn);
WIN32_API int WINAPI SetPolyFillMode(HDC hdc, int mode);
WIN32_API BOOL WINAPI BeginPath(HDC hdc);
WIN32_API BOOL WINAPI EndPath(HDC hdc);
WIN32_API BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt);
WIN32_API BOOL WINAPI SelectClipPath(HDC hdc, int mode);

WIN32_API int WINAPI SetStretchBltMode(HDC hdc, int mode);
WIN32_API int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight,
                                   int xSrc, int ySrc, int SrcWidth, int SrcHeight,
                                   const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                                   DWORD rop);
}
