// The objects behind the raster GDI's handles. Every live handle is kept in
// one registry, so that a stale or foreign handle is refused, not followed.
#pragma once

#include <climits>
#include <memory>
#include <vector>

#include "win32/gdi32/gdi_raster.h"

enum class RasterGdiKind { Dc, Bitmap, Brush, Region };

struct DPointF {
    double x;
    double y;
};
using GdiFigures = std::vector<std::vector<DPointF>>;

struct RasterGdiObject {
    explicit RasterGdiObject(RasterGdiKind k) : kind(k) {}
    virtual ~RasterGdiObject() = default;
    RasterGdiKind kind;
};

// A DIB section of 32 bits a pixel, the only form drawn into.
struct HBITMAP__ : RasterGdiObject {
    HBITMAP__() : RasterGdiObject(RasterGdiKind::Bitmap) {}
    int width = 0;
    int height = 0;
    bool topDown = true;
    size_t stride = 0;  // bytes a row
    std::unique_ptr<BYTE[]> bits;
    HDC selectedInto = nullptr;
    bool stock = false;  // the 1 x 1 bitmap of a new memory device context

    // The first byte of display row y.
    BYTE* Row(int y) const {
        const int memoryRow = topDown ? y : height - 1 - y;
        return bits.get() + static_cast<size_t>(memoryRow) * stride;
    }
};

struct HBRUSH__ : RasterGdiObject {
    HBRUSH__() : RasterGdiObject(RasterGdiKind::Brush) {}
    COLORREF color = 0;
};

// Polygons in device pixels, read with their fill mode.
struct HRGN__ : RasterGdiObject {
    HRGN__() : RasterGdiObject(RasterGdiKind::Region) {}
    GdiFigures polygons;
    int fillMode = ALTERNATE;
};

struct ClipLayer {
    GdiFigures figures;  // device pixels
    int fillMode = ALTERNATE;
};

inline constexpr RECT kNoClip{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

struct HDC__ : RasterGdiObject {
    HDC__() : RasterGdiObject(RasterGdiKind::Dc) {}
    HBITMAP bitmap = nullptr;
    HBRUSH brush = nullptr;
    HRGN region = nullptr;  // the last one selected (SelectObject returns it)
    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    // Applies before the window and viewport mapping; the identity unless
    // the context is in GM_ADVANCED.
    XFORM world{1, 0, 0, 1, 0, 0};
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    // The clip region: a device rectangle intersected with every layer.
    RECT clipBox = kNoClip;
    std::vector<ClipLayer> clipLayers;
    GdiFigures path;
    bool pathOpen = false;
    bool pathDone = false;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    int rop2 = R2_COPYPEN;
    POINT brushOrg{0, 0};  // device pixels
    // Device pixels of the unit of cosmetic pen styles and hatch cells
    // (SetDeviceStyleUnit).
    double styleUnit = 1;

    // Logical -> device (world transform, then window and viewport),
    // without rounding.
    DPointF ToDevice(double x, double y) const;
    // Logical -> device pixel, rounded as GDI rounds.
    POINT ToDevicePixel(int x, int y) const;
    bool Clipped() const { return clipBox.left != INT_MIN || !clipLayers.empty(); }
};

void RegisterRasterGdiObject(RasterGdiObject* object);
void UnregisterRasterGdiObject(RasterGdiObject* object);
// The object when h is a live handle of that kind, else null.
RasterGdiObject* FindRasterGdiObject(const void* h, RasterGdiKind kind);

inline HDC__* FindDc(HDC h) {
    return static_cast<HDC__*>(FindRasterGdiObject(h, RasterGdiKind::Dc));
}
