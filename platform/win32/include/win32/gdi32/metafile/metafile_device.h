// What a metafile plays into: the device that receives the player's
// primitives in device pixels. The player keeps the meaning of every record
// (transforms, saved states, objects, paths, clipping, text layout); the
// device only fills, strokes, clips and draws bitmaps. Clip regions are the
// device's own objects, made and combined through it, so that each device
// keeps them in the form it draws with.
#pragma once

#include <array>
#include <memory>
#include <span>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_path.h"
#include "win32/gdi32/metafile/gdi_transform.h"

struct DcState;

// A clip region of a device, in device pixels. Never changed once made, so
// that saved states share it.
class MetafileRegion {
public:
    virtual ~MetafileRegion() = default;
};
using RegionRef = std::shared_ptr<const MetafileRegion>;

// A vertex of a gradient fill: where it lies in device pixels and its
// colour, 16 bits a channel as GradientFill takes it (8-bit colour in the
// high byte).
struct GradientVertex {
    DPoint at;
    COLOR16 red = 0;
    COLOR16 green = 0;
    COLOR16 blue = 0;
};

// The fill of GradientFill: rectangles, each between the colours of its two
// corners (across for GRADIENT_FILL_RECT_H, down for GRADIENT_FILL_RECT_V),
// or triangles shaded between the colours of their corners
// (GRADIENT_FILL_TRIANGLE). Every index names one of the vertices.
struct GradientMesh {
    std::span<const GradientVertex> vertices;
    std::span<const GRADIENT_RECT> rects;
    std::span<const GRADIENT_TRIANGLE> triangles;
    ULONG mode = GRADIENT_FILL_RECT_H;
};

class MetafileDevice {
public:
    virtual ~MetafileDevice() = default;

    virtual int DeviceCaps(int index) const = 0;
    // The device pixels where anything drawn can show, when the device
    // keeps no more than that (a bitmap); false when everything drawn
    // counts (a plot, whose primitives are all handed on).
    virtual bool VisibleArea(RECT*) const { return false; }
    // True for a device of pixels that takes curves as GDI draws them on a
    // raster device: Bézier curves flattened from whole-pixel control
    // points to whole pixels, and (outside paths, when the transform
    // neither turns nor mirrors) ellipses, rounded corners and arcs along
    // GDI's integer ellipse. Other devices get curves flattened finely.
    virtual bool GdiPixelCurves() const { return false; }

    // Regions, in device pixels.
    virtual RegionRef RectRegion(const RECT& rect) = 0;
    virtual RegionRef PolygonRegion(std::span<const POINT> points, int fillMode) = 0;
    // The union of quadrilaterals that do not overlap (the rectangles of a
    // region record, placed on the device).
    virtual RegionRef QuadsRegion(std::span<const std::array<POINT, 4>> quads) = 0;
    virtual RegionRef CombineRegions(const RegionRef& a, const RegionRef& b, int mode) = 0;
    virtual RegionRef OffsetRegion(const RegionRef& region, POINT by) = 0;

    // Fills the figures (each one closed) with the brush under the state's
    // fill mode, background mode and colour, brush origin, raster operation
    // and clip region. simple: the figures form one polygon that does not
    // cross itself (rectangles, ellipses), which fills alike in both modes.
    virtual void Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
                      bool simple) = 0;
    // Strokes the figures with the pen; toDevice (logical units to device
    // pixels) sets the width of geometric pens.
    virtual void Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                        const Affine& toDevice) = 0;
    // A bitmap with the arguments of StretchDIBits (dest and source hold x,
    // y, width and height; dest in device pixels) under the state's clip;
    // alpha blends with the bitmap's alpha. False when it was not drawn.
    virtual bool DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                            const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop,
                            bool alpha) = 0;
    // A gradient fill under the state's clip. False when the device cannot
    // draw gradients: the record is counted as skipped.
    virtual bool GradientFill(const DcState&, const GradientMesh&) { return false; }
};
