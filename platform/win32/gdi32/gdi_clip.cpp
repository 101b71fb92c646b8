// The clip region of a device context: rectangles, regions and paths.
#include <algorithm>

#include "gdi32/gdi_objects.h"

namespace {

int ClipKind(const HDC__& dc) {
    if (dc.clipBox.left >= dc.clipBox.right || dc.clipBox.top >= dc.clipBox.bottom)
        return NULLREGION;
    return dc.clipLayers.empty() ? SIMPLEREGION : COMPLEXREGION;
}

void ResetClip(HDC__& dc) {
    dc.clipBox = kNoClip;
    dc.clipLayers.clear();
}

}  // namespace

extern "C" {

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return ERROR;
    const POINT a = dc->ToDevicePixel(left, top);
    const POINT b = dc->ToDevicePixel(right, bottom);
    RECT& box = dc->clipBox;
    box.left = std::max(box.left, std::min(a.x, b.x));
    box.top = std::max(box.top, std::min(a.y, b.y));
    box.right = std::min(box.right, std::max(a.x, b.x));
    box.bottom = std::min(box.bottom, std::max(a.y, b.y));
    return ClipKind(*dc);
}

// A copy of the region (device pixels) becomes the clip region; null
// removes the clip region.
int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return ERROR;
    ResetClip(*dc);
    if (!hrgn) return SIMPLEREGION;
    auto* rgn = static_cast<HRGN__*>(FindRasterGdiObject(hrgn, RasterGdiKind::Region));
    if (!rgn) return ERROR;
    dc->clipLayers.push_back(ClipLayer{rgn->polygons, rgn->fillMode});
    return ClipKind(*dc);
}

int WINAPI SetPolyFillMode(HDC hdc, int mode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int old = dc->polyFillMode;
    dc->polyFillMode = mode;
    return old;
}

BOOL WINAPI BeginPath(HDC hdc) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    dc->path.clear();
    dc->pathOpen = true;
    dc->pathDone = false;
    return TRUE;
}

BOOL WINAPI EndPath(HDC hdc) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !dc->pathOpen) return FALSE;
    dc->pathOpen = false;
    dc->pathDone = true;
    return TRUE;
}

// The closed path, read with the polygon fill mode, is combined with the
// clip region and then discarded.
BOOL WINAPI SelectClipPath(HDC hdc, int mode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !dc->pathDone) return FALSE;
    ClipLayer layer{std::move(dc->path), dc->polyFillMode};
    dc->path.clear();
    dc->pathDone = false;
    switch (mode) {
        case RGN_COPY: ResetClip(*dc); [[fallthrough]];
        case RGN_AND: dc->clipLayers.push_back(std::move(layer)); return TRUE;
        default: return FALSE;  // union, difference and exclusive or are not kept
    }
}

}  // extern "C"
