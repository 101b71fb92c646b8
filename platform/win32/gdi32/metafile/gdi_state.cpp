#include "win32/gdi32/metafile/gdi_state.h"

#include "win32/gdi32/gdi.h"

#include <string>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

LONG ClampToLong(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<LONG>(std::clamp(v, -2147483647.0, 2147483647.0));
}

bool Scalable(int mode) {
    return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC;
}

// In MM_ISOTROPIC one logical unit is as long on both axes: the viewport
// extent of the axis that would stretch more is shrunk to match.
void FixIsotropic(DcState* dc, const ReferenceDevice& device) {
    if (dc->mapMode != MM_ISOTROPIC) return;
    if (dc->windowExt.cx == 0 || dc->windowExt.cy == 0) return;
    const double xdim = std::fabs(static_cast<double>(dc->viewportExt.cx) * device.millimetresX /
                                  (device.pixelsX * dc->windowExt.cx));
    const double ydim = std::fabs(static_cast<double>(dc->viewportExt.cy) * device.millimetresY /
                                  (device.pixelsY * dc->windowExt.cy));
    if (xdim == 0 || ydim == 0) return;
    if (xdim > ydim) {
        const LONG least = dc->viewportExt.cx >= 0 ? 1 : -1;
        dc->viewportExt.cx = ClampToLong(std::floor(dc->viewportExt.cx * ydim / xdim + 0.5));
        if (dc->viewportExt.cx == 0) dc->viewportExt.cx = least;
    } else if (ydim > xdim) {
        const LONG least = dc->viewportExt.cy >= 0 ? 1 : -1;
        dc->viewportExt.cy = ClampToLong(std::floor(dc->viewportExt.cy * xdim / ydim + 0.5));
        if (dc->viewportExt.cy == 0) dc->viewportExt.cy = least;
    }
}

LONG Units(double perMillimetre, double millimetres) {
    return ClampToLong(std::floor(perMillimetre * millimetres + 0.5));
}

bool ScaleExtent(SIZE* extent, LONG xNum, LONG xDenom, LONG yNum, LONG yDenom) {
    if (xNum == 0 || xDenom == 0 || yNum == 0 || yDenom == 0) return false;
    const LONG x = ClampToLong(std::trunc(static_cast<double>(extent->cx) * xNum / xDenom));
    const LONG y = ClampToLong(std::trunc(static_cast<double>(extent->cy) * yNum / yDenom));
    // An extent that shrinks to nothing stays one unit, as in GDI.
    *extent = SIZE{x ? x : 1, y ? y : 1};
    return true;
}

bool Invertible(const Affine& t) {
    const double det = Determinant(t);
    return std::isfinite(det) && det != 0 && std::isfinite(t.dx) && std::isfinite(t.dy);
}

}  // namespace

DcState DefaultDcState() {
    DcState dc;
    dc.pen = StockObject(BLACK_PEN).pen;
    dc.brush = StockObject(WHITE_BRUSH).brush;
    static const std::shared_ptr<const GdiFont> systemFont = StockFont(SYSTEM_FONT);
    dc.font = systemFont;
    return dc;
}

Affine PageToDevice(const DcState& dc) {
    const double sx =
        dc.windowExt.cx ? static_cast<double>(dc.viewportExt.cx) / dc.windowExt.cx : 1;
    const double sy =
        dc.windowExt.cy ? static_cast<double>(dc.viewportExt.cy) / dc.windowExt.cy : 1;
    return Affine{sx,
                  0,
                  0,
                  sy,
                  dc.viewportOrg.x - dc.windowOrg.x * sx,
                  dc.viewportOrg.y - dc.windowOrg.y * sy};
}

void SetMapMode(DcState* dc, int mode, const ReferenceDevice& device) {
    const auto fixed = [&](double unitsPerMillimetre) {
        dc->windowExt = SIZE{Units(unitsPerMillimetre, device.millimetresX),
                             Units(unitsPerMillimetre, device.millimetresY)};
        dc->viewportExt = SIZE{ClampToLong(device.pixelsX), -ClampToLong(device.pixelsY)};
    };
    switch (mode) {
        case MM_TEXT:
            dc->windowExt = SIZE{1, 1};
            dc->viewportExt = SIZE{1, 1};
            break;
        case MM_LOMETRIC:
        case MM_ISOTROPIC: fixed(10); break;
        case MM_HIMETRIC: fixed(100); break;
        case MM_LOENGLISH: fixed(100 / 25.4); break;
        case MM_HIENGLISH: fixed(1000 / 25.4); break;
        case MM_TWIPS: fixed(1440 / 25.4); break;
        case MM_ANISOTROPIC: break;
        default: return;  // GDI refuses unknown modes
    }
    if (dc->windowExt.cx == 0 || dc->windowExt.cy == 0) dc->windowExt = SIZE{1, 1};
    if (dc->viewportExt.cx == 0 || dc->viewportExt.cy == 0) dc->viewportExt = SIZE{1, 1};
    dc->mapMode = mode;
    FixIsotropic(dc, device);
}

void SetWindowExt(DcState* dc, SIZE extent, const ReferenceDevice& device) {
    if (!Scalable(dc->mapMode) || extent.cx == 0 || extent.cy == 0) return;
    dc->windowExt = extent;
    FixIsotropic(dc, device);
}

void SetViewportExt(DcState* dc, SIZE extent, const ReferenceDevice& device) {
    if (!Scalable(dc->mapMode) || extent.cx == 0 || extent.cy == 0) return;
    dc->viewportExt = extent;
    FixIsotropic(dc, device);
}

void ScaleWindowExt(DcState* dc, LONG xNum, LONG xDenom, LONG yNum, LONG yDenom,
                    const ReferenceDevice& device) {
    if (!Scalable(dc->mapMode)) return;
    if (ScaleExtent(&dc->windowExt, xNum, xDenom, yNum, yDenom)) FixIsotropic(dc, device);
}

void ScaleViewportExt(DcState* dc, LONG xNum, LONG xDenom, LONG yNum, LONG yDenom,
                      const ReferenceDevice& device) {
    if (!Scalable(dc->mapMode)) return;
    if (ScaleExtent(&dc->viewportExt, xNum, xDenom, yNum, yDenom)) FixIsotropic(dc, device);
}

bool SetWorldTransform(DcState* dc, const XFORM& xform) {
    const Affine t = FromXform(xform);
    if (!Invertible(t)) return false;
    dc->world = t;
    return true;
}

bool ModifyWorldTransform(DcState* dc, const XFORM& xform, DWORD mode) {
    Affine result;
    switch (mode) {
        case MWT_IDENTITY: result = Affine{}; break;
        // The new transform applies to points before the current one.
        case MWT_LEFTMULTIPLY: result = Then(FromXform(xform), dc->world); break;
        case MWT_RIGHTMULTIPLY: result = Then(dc->world, FromXform(xform)); break;
        case MWT_SET: result = FromXform(xform); break;
        default: return false;
    }
    if (!Invertible(result)) return false;
    dc->world = result;
    return true;
}

bool DcStack::Restore(LONG level) {
    const long long depth = static_cast<long long>(m_saved.size());
    // The saved state to return to, counted from 1 for the oldest.
    const long long target = level < 0 ? depth + 1 + level : level;
    if (level == 0 || target < 1 || target > depth) return false;
    m_current = std::move(m_saved[static_cast<size_t>(target - 1)]);
    m_saved.resize(static_cast<size_t>(target - 1));
    return true;
}

bool ReadReferenceDevice(const ENHMETAHEADER& header, ReferenceDevice* device, std::string* error) {
    const SIZEL& px = header.szlDevice;
    const bool micrometres = header.szlMicrometers.cx > 0 && header.szlMicrometers.cy > 0;
    const double mmX = micrometres ? header.szlMicrometers.cx / 1000.0 : header.szlMillimeters.cx;
    const double mmY = micrometres ? header.szlMicrometers.cy / 1000.0 : header.szlMillimeters.cy;
    if (px.cx <= 0 || px.cy <= 0 || mmX <= 0 || mmY <= 0) {
        *error = "the metafile header gives no size for its reference device (szlDevice " +
                 std::to_string(px.cx) + " x " + std::to_string(px.cy) + ", szlMillimeters " +
                 std::to_string(header.szlMillimeters.cx) + " x " +
                 std::to_string(header.szlMillimeters.cy) + ")";
        return false;
    }
    *device = ReferenceDevice{static_cast<double>(px.cx), static_cast<double>(px.cy), mmX, mmY};
    return true;
}
