// How the raster GDI turns a metafile's primitives into pixels: fills,
// strokes, clip regions, bitmaps and gradients, drawn as GDI draws them on a
// raster device (fills and regions by cairo without antialiasing, a pixel
// belonging to a shape when the point at its top-left corner does; one-pixel
// lines stepped a pixel a column or row; wider pens as the union of their
// segments' quadrilaterals, caps and joins), under the metafile's clip
// region, the context's own clip and the binary raster operation. Written once: a metafile played
// into a memory DC and a page's display list replayed band by band both draw through a
// RasterPainter.
//
// Everything is given in page pixels. The bitmap is a window onto the page:
// its first pixel is the page's pixel `origin`. A pixel's colour depends on
// the page's pixel grid only, never on where the window lies, so a page
// drawn band by band is the page drawn whole.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "gdi32/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_path.h"
#include "win32/gdi32/metafile/gdi_state.h"
#include "win32/gdi32/metafile/metafile_device.h"

// A clip region of the raster GDI over its box (page pixels, within the
// painter's window): the whole box when solid, else one byte a pixel, not 0
// inside; nothing outside the box is inside.
struct RasterRegion : MetafileRegion {
    RECT box{0, 0, 0, 0};
    bool solid = false;
    std::vector<uint8_t> inside;  // empty when solid
    bool Inside(int x, int y) const {
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
        return solid ||
               inside[static_cast<size_t>(y - box.top) * static_cast<size_t>(box.right - box.left) +
                      static_cast<size_t>(x - box.left)] != 0;
    }
    bool Empty() const { return box.right <= box.left || box.bottom <= box.top; }
};

// What a fill paints with: the brush and the state's modes, resolved.
struct RasterFill {
    uint32_t colour = 0;  // 0x00RRGGBB
    bool hatched = false;
    ULONG hatch = 0;          // HS_ style of a hatched brush
    int hatchCell = 8;        // pixels a side of the hatch's cells
    uint32_t background = 0;  // between the hatch lines, when opaque
    bool opaque = false;
    POINT brushOrg{0, 0};  // page pixels
    int fillMode = ALTERNATE;
    int rop2 = R2_COPYPEN;
    bool operator==(const RasterFill& o) const {
        return colour == o.colour && hatched == o.hatched && hatch == o.hatch &&
               hatchCell == o.hatchCell && background == o.background && opaque == o.opaque &&
               brushOrg.x == o.brushOrg.x && brushOrg.y == o.brushOrg.y && fillMode == o.fillMode &&
               rop2 == o.rop2;
    }
};

// What a stroke paints with: the pen on the device, resolved.
struct RasterStroke {
    int width = 1;  // device pixels
    uint32_t colour = 0;
    DWORD cap = PS_ENDCAP_ROUND;
    DWORD join = PS_JOIN_ROUND;
    std::vector<double> dashes;  // dash, gap, ... in device pixels; empty: solid
    // One-pixel dashed lines on an opaque background: the gaps in it.
    bool opaqueGaps = false;
    uint32_t background = 0;
    int rop2 = R2_COPYPEN;
    bool operator==(const RasterStroke&) const = default;
};

// The fill of the brush under the state; false when it paints nothing
// (no brush, a hollow one, R2_NOP). styleUnit: the device pixels of the unit
// hatch cells are measured in (SetDeviceStyleUnit).
bool ResolveFill(const GdiBrush* brush, const DcState& dc, double styleUnit, RasterFill* fill);
// The stroke of the pen under the state and transform (logical units to
// device pixels); false when it paints nothing (no pen, PS_NULL, R2_NOP).
// styleUnit: the device pixels of the unit cosmetic styles are measured in.
bool ResolveStroke(const GdiPen* pen, const DcState& dc, const Affine& toDevice, double styleUnit,
                   RasterStroke* stroke);

// v held within [low, high].
inline LONG ClampToLong(long long v, LONG low, LONG high) {
    return static_cast<LONG>(std::clamp<long long>(v, low, high));
}

// The part of area inside the clip region's box (all of it without one).
RECT WithinClip(RECT area, const RasterRegion* clip);

// The page pixels a stroke of that width can touch beyond its points:
// mitred corners reach out up to five widths (a miter limit of 10 half
// widths).
inline int StrokeReach(int width) {
    return 6 * width + 2;
}

class RasterPainter {
public:
    // dc must have a bitmap selected for as long as the painter draws; the
    // painter draws into its first rows rows (all of them when negative).
    RasterPainter(HDC__& dc, POINT origin, int rows = -1)
        : m_dc(dc), m_origin(origin), m_rows(rows) {}
    ~RasterPainter();
    RasterPainter(const RasterPainter&) = delete;
    RasterPainter& operator=(const RasterPainter&) = delete;

    // Lets plain fills and strokes (one colour copied, no clip) go straight
    // onto the bitmap through cairo, which is quicker than through a mask
    // but leaves the pixels' fourth byte set: Finish clears it, and nothing
    // between reads it.
    void DrawDirectly() { m_directAllowed = true; }
    void Finish();

    // The page pixels the bitmap shows, as far as the painter draws.
    RECT Window() const;

    std::shared_ptr<RasterRegion> RectRegion(const RECT& rect) const;
    std::shared_ptr<RasterRegion> PolygonRegion(std::span<const POINT> points, int fillMode);
    std::shared_ptr<RasterRegion> QuadsRegion(std::span<const std::array<POINT, 4>> quads);
    std::shared_ptr<RasterRegion> CombineRegions(const RasterRegion* a, const RasterRegion* b,
                                                 int mode) const;
    std::shared_ptr<RasterRegion> OffsetRegion(const RasterRegion* region, POINT by) const;

    // clip: the metafile's clip region, null when nothing is clipped.
    void Fill(std::span<const FigureView> figures, const RasterFill& fill,
              const RasterRegion* clip);
    void Stroke(std::span<const FigureView> figures, const RasterStroke& stroke,
                const RasterRegion* clip);
    // A bitmap with the arguments of StretchDIBits (dest and source hold x,
    // y, width and height; dest in page pixels), stretched in stretchMode;
    // alpha blends with the bitmap's alpha. False when it was not drawn.
    bool DrawBitmap(const RECT& dest, const RECT& source, const void* bits, const BITMAPINFO* info,
                    UINT usage, DWORD rop, int stretchMode, bool alpha, const RasterRegion* clip);
    // Drawn in raster_gradient.cpp.
    void GradientFill(const GradientMesh& mesh, const RasterRegion* clip);

private:
    // Coverage of an area (page pixels), one byte a pixel, rows of stride
    // bytes; null data when nothing could be made.
    struct Mask {
        RECT area{0, 0, 0, 0};
        size_t stride = 0;
        const uint8_t* data = nullptr;
        bool Covered(int x, int y) const {
            return data[static_cast<size_t>(y - area.top) * stride + (x - area.left)] != 0;
        }
    };
    // Draws a plain paint straight onto the bitmap; false (nothing drawn)
    // when the paint is not plain or direct drawing is not allowed.
    // bounds: the page pixels the paint can touch.
    bool PaintDirectly(const RasterRegion* clip, const RasterFill& fill, const RECT& bounds,
                       const std::function<void(cairo_t*)>& draw);
    Mask RasteriseMask(const RECT& area, const std::function<void(cairo_t*)>& draw);
    // A mask of nothing over area, in storage.
    static Mask BlankMask(std::vector<uint8_t>& storage, const RECT& area);
    // Strokes of one-pixel pens, and of wider ones.
    void StrokeThin(std::span<const FigureView> figures, const RasterStroke& stroke,
                    const RasterRegion* clip);
    void StrokeWide(std::span<const FigureView> figures, const RasterStroke& stroke,
                    const RasterRegion* clip);
    // A region of nothing over box, within the window.
    std::shared_ptr<RasterRegion> EmptyRegion(const RECT& box) const;
    // The whole of box, within the window.
    std::shared_ptr<RasterRegion> SolidRegion(const RECT& box) const;
    // The region of the pixels draw covers within bounds.
    std::shared_ptr<RasterRegion> MaskRegion(const RECT& bounds,
                                             const std::function<void(cairo_t*)>& draw);
    void PaintMask(const Mask& mask, const RasterRegion* clip, const RasterFill& fill);
    void PaintPlain(const Mask& mask, const RasterRegion* clip, RECT area, uint32_t colour,
                    int rop2);
    bool BlendBitmap(const RECT& dest, const RECT& source, const void* bits, const BITMAPINFO* info,
                     const RasterRegion* clip);
    // The page pixels of bounds that can be drawn: the window and the
    // context's own clip box together; false when nothing is left.
    bool DrawableArea(const RECT& bounds, RECT* area) const;
    // The page pixels figures can touch, widened by margin, within the window.
    RECT BoundsWithin(std::span<const FigureView> figures, int margin) const;
    BYTE* Pixel(int x, int y) const {
        return m_dc.bitmap->Row(y - m_origin.y) + static_cast<size_t>(x - m_origin.x) * 4;
    }

    HDC__& m_dc;
    POINT m_origin;
    int m_rows;
    std::vector<uint8_t> m_maskStorage;        // the coverage of the figure being drawn
    std::vector<uint8_t> m_gapStorage;         // the gaps of a dashed line drawn opaque
    std::vector<std::vector<POINT>> m_culled;  // the figures of a fill, culled
    bool m_directAllowed = false;
    RECT m_directArea{0, 0, 0, 0};  // what direct paints touched, within the window
    cairo_surface_t* m_directSurface = nullptr;
    cairo_t* m_direct = nullptr;
};
