// The picture of a page on Linux: the metafile played once into a display
// list filed by bands, so that a band draws only the primitives that touch
// it and a pixel is the same whatever the bands.
#include "rip_picture.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "win32/gdi32/device_style.h"
#include "win32/gdi32/display_list.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

// The plotter's screen pixel in device pixels: its resolution (the frame's
// millimetres onto the raster's pixels) / 96, at least 1. Cosmetic pen
// styles and hatches are measured in it, as the vector plot measures them.
double ScreenPixel(HENHMETAFILE metafile, const RECT& dest) {
    const EmfDocument* doc = EnhMetaFileDocument(metafile);
    if (!doc) return 1;
    const double frameMm =
        (static_cast<double>(doc->header.rclFrame.right) - doc->header.rclFrame.left) / 100.0;
    const double pixels = static_cast<double>(dest.right) - dest.left;
    if (!(frameMm > 0) || !(pixels > 0)) return 1;
    return std::max(1.0, pixels / (frameMm / 25.4) / 96.0);
}

}  // namespace

RipPictureRows MakeRipPicture(HENHMETAFILE metafile, const XFORM& world, const RECT& dest,
                              const RipBandPlan& plan) {
    // A device context's origin is an int: -INT_MIN is none.
    if (dest.left == INT_MIN || dest.top == INT_MIN) return {};
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return {};
    std::shared_ptr<const DisplayList> list;
    std::string error;
    if (SetViewportOrgEx(dc, -dest.left, -dest.top, nullptr) && SetGraphicsMode(dc, GM_ADVANCED) &&
        SetWorldTransform(dc, &world) && SetDeviceStyleUnit(dc, ScreenPixel(metafile, dest)))
        list =
            DisplayList::Record(dc, metafile, dest, plan.width, plan.height, plan.bandRows, &error);
    DeleteDC(dc);
    if (!list) return {};
    return [list](HDC band, unsigned top, unsigned rows, RECT* drawn) {
        return list->DrawRows(band, top, rows, drawn);
    };
}
