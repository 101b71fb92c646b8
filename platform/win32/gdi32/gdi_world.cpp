// World transforms of memory device contexts: the graphics mode and the
// transform that applies before the window and viewport mapping, with the
// results GDI gives (no world transform outside GM_ADVANCED, none that
// cannot be inverted).
#include <cmath>

#include "gdi32/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_transform.h"

namespace {

constexpr XFORM kIdentity{1, 0, 0, 1, 0, 0};

bool IsIdentity(const XFORM& x) {
    return x.eM11 == 1 && x.eM12 == 0 && x.eM21 == 0 && x.eM22 == 1 && x.eDx == 0 && x.eDy == 0;
}

bool Invertible(const XFORM& x) {
    const Affine t = FromXform(x);
    const double det = Determinant(t);
    return std::isfinite(det) && det != 0 && std::isfinite(t.dx) && std::isfinite(t.dy);
}

XFORM ToXform(const Affine& t) {
    return XFORM{static_cast<float>(t.m11), static_cast<float>(t.m12), static_cast<float>(t.m21),
                 static_cast<float>(t.m22), static_cast<float>(t.dx),  static_cast<float>(t.dy)};
}

}  // namespace

extern "C" {

int WINAPI SetGraphicsMode(HDC hdc, int iMode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || (iMode != GM_COMPATIBLE && iMode != GM_ADVANCED)) return 0;
    // Back to GM_COMPATIBLE only once the world transform is the identity
    // again, so that a transform never lingers unseen.
    if (iMode == GM_COMPATIBLE && !IsIdentity(dc->world)) return 0;
    const int old = dc->graphicsMode;
    dc->graphicsMode = iMode;
    return old;
}

int WINAPI GetGraphicsMode(HDC hdc) {
    HDC__* dc = FindDc(hdc);
    return dc ? dc->graphicsMode : 0;
}

BOOL WINAPI SetWorldTransform(HDC hdc, const XFORM* lpxf) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !lpxf || dc->graphicsMode != GM_ADVANCED || !Invertible(*lpxf)) return FALSE;
    dc->world = *lpxf;
    return TRUE;
}

BOOL WINAPI GetWorldTransform(HDC hdc, XFORM* lpxf) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !lpxf) return FALSE;
    *lpxf = dc->world;
    return TRUE;
}

BOOL WINAPI ModifyWorldTransform(HDC hdc, const XFORM* lpxf, DWORD mode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || dc->graphicsMode != GM_ADVANCED) return FALSE;
    XFORM result;
    switch (mode) {
        case MWT_IDENTITY: result = kIdentity; break;
        // The given transform applies to points before the current one.
        case MWT_LEFTMULTIPLY:
            if (!lpxf) return FALSE;
            result = ToXform(Then(FromXform(*lpxf), FromXform(dc->world)));
            break;
        case MWT_RIGHTMULTIPLY:
            if (!lpxf) return FALSE;
            result = ToXform(Then(FromXform(dc->world), FromXform(*lpxf)));
            break;
        default: return FALSE;
    }
    if (!Invertible(result)) return FALSE;
    dc->world = result;
    return TRUE;
}

}  // extern "C"
