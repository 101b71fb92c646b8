// Mapping modes: window and viewport origins and extents, and the brush
// origin.
#include <cmath>

#include "gdi32/gdi_objects.h"

namespace {

// A memory device context compatible with the screen: 96 pixels an inch,
// what the fixed metric modes scale by.
constexpr double kScreenDpi = 96.0;

// Logical units per inch of the fixed modes (0 for the others).
double UnitsPerInch(int mode) {
    switch (mode) {
        case MM_LOMETRIC: return 254.0;
        case MM_HIMETRIC: return 2540.0;
        case MM_LOENGLISH: return 100.0;
        case MM_HIENGLISH: return 1000.0;
        case MM_TWIPS: return 1440.0;
        default: return 0.0;
    }
}

}  // namespace

DPointF HDC__::ToDevice(double worldX, double worldY) const {
    const double x = worldX * world.eM11 + worldY * world.eM21 + world.eDx;
    const double y = worldX * world.eM12 + worldY * world.eM22 + world.eDy;
    const double lx = x - windowOrg.x, ly = y - windowOrg.y;
    double sx = 1.0, sy = 1.0;
    if (mapMode == MM_ANISOTROPIC || mapMode == MM_ISOTROPIC) {
        if (windowExt.cx != 0 && windowExt.cy != 0) {
            sx = static_cast<double>(viewportExt.cx) / windowExt.cx;
            sy = static_cast<double>(viewportExt.cy) / windowExt.cy;
        }
        if (mapMode == MM_ISOTROPIC) {
            // Both axes take the smaller scale, each keeping its sign.
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    } else if (const double perInch = UnitsPerInch(mapMode)) {
        sx = kScreenDpi / perInch;
        sy = -kScreenDpi / perInch;  // y grows upwards in the metric modes
    }
    return {lx * sx + viewportOrg.x, ly * sy + viewportOrg.y};
}

POINT HDC__::ToDevicePixel(int x, int y) const {
    const DPointF d = ToDevice(x, y);
    auto round = [](double v) {
        const double r = std::floor(v + 0.5);
        return static_cast<LONG>(r < INT_MIN ? INT_MIN : r > INT_MAX ? INT_MAX : r);
    };
    return {round(d.x), round(d.y)};
}

extern "C" {

int WINAPI SetMapMode(HDC hdc, int iMode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || iMode < MM_TEXT || iMode > MM_ANISOTROPIC) return 0;
    const int old = dc->mapMode;
    dc->mapMode = iMode;
    return old;
}

int WINAPI GetMapMode(HDC hdc) {
    HDC__* dc = FindDc(hdc);
    return dc ? dc->mapMode : 0;
}

// The extents count only in the isotropic and anisotropic modes; the other
// modes keep theirs, as GDI does.
BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, SIZE* lpsz) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lpsz) *lpsz = dc->windowExt;
    if (dc->mapMode != MM_ISOTROPIC && dc->mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->windowExt = SIZE{x, y};
    return TRUE;
}

BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, SIZE* lpsz) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lpsz) *lpsz = dc->viewportExt;
    if (dc->mapMode != MM_ISOTROPIC && dc->mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->viewportExt = SIZE{x, y};
    return TRUE;
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, POINT* lppt) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->windowOrg;
    dc->windowOrg = POINT{x, y};
    return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, POINT* lppt) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->viewportOrg;
    dc->viewportOrg = POINT{x, y};
    return TRUE;
}

// The brush origin is in device pixels: no mapping applies to it.
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, POINT* lppt) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->brushOrg;
    dc->brushOrg = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetBrushOrgEx(HDC hdc, POINT* lppt) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !lppt) return FALSE;
    *lppt = dc->brushOrg;
    return TRUE;
}

BOOL WINAPI LPtoDP(HDC hdc, POINT* lppt, int c) {
    HDC__* dc = FindDc(hdc);
    if (!dc || (!lppt && c > 0)) return FALSE;
    for (int i = 0; i < c; ++i) lppt[i] = dc->ToDevicePixel(lppt[i].x, lppt[i].y);
    return TRUE;
}

}  // extern "C"
