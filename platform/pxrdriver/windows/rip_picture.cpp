// The picture of a page on Windows: every band plays the metafile through
// the system's GDI into its memory DC, placed so that the band's rows fall
// on it. The system's PlayEnhMetaFile clips to the DC's bitmap; hatches keep
// the phase they have on the whole raster. (Cosmetic styles and hatches are
// in the raster's pixels there: GDI has no style unit for memory DCs.)
#include "../rip_picture.h"

#include <climits>

RipPictureRows MakeRipPicture(HENHMETAFILE metafile, const XFORM& world, const RECT& dest,
                              const RipBandPlan& plan) {
    if (!metafile || dest.left == INT_MIN || dest.top == INT_MIN) return {};
    const unsigned width = plan.width;
    return [metafile, world, dest, width](HDC dc, unsigned top, unsigned rows, RECT* drawn) {
        const long long y = -static_cast<long long>(dest.top) - top;
        if (y < INT_MIN || y > INT_MAX || top > INT_MAX) return false;
        if (!SetViewportOrgEx(dc, -dest.left, static_cast<int>(y), nullptr) ||
            !SetBrushOrgEx(dc, 0, -static_cast<int>(top), nullptr) ||
            !SetGraphicsMode(dc, GM_ADVANCED))
            return false;
        bool ok = SetWorldTransform(dc, &world) != FALSE;
        if (ok) ok = PlayEnhMetaFile(dc, metafile, &dest) != FALSE;
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc, GM_COMPATIBLE);
        *drawn = RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(rows)};
        return ok;
    };
}
