#include "gdi32/metafile/raster_paint.h"

#include <algorithm>
#include <cairo.h>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

#include "gdi32/gdi_coverage.h"
#include "gdi32/metafile/cairo_paths.h"
#include "gdi32/metafile/raster_culling.h"
#include "win32/gdi32/metafile/dash_pattern.h"

namespace {

// GDI hatches repeat every 8 pixels (style units).
constexpr int kHatchCell = 8;

// Whether the hatch draws pixel (dx, dy) of its cell (from the brush
// origin): GDI's 8 x 8 patterns in cells of eight style units.
bool HatchCovers(ULONG style, const HatchOffsets& at, int dx, int dy) {
    switch (style) {
        case HS_HORIZONTAL: return dy == at.horizontal;
        case HS_VERTICAL: return dx == at.vertical;
        case HS_FDIAGONAL: return dx == dy;
        case HS_BDIAGONAL: return dx + dy == at.rising;
        case HS_CROSS: return dx == at.vertical || dy == at.horizontal;
        case HS_DIAGCROSS: return dx == dy || dx + dy == at.rising;
        default: return false;
    }
}

// Pixels of a mask row looked at together.
constexpr size_t kStretch = 16;

bool AnyCovered(const uint8_t* covered) {
    uint64_t a, b;
    std::memcpy(&a, covered, 8);
    std::memcpy(&b, covered + 8, 8);
    return (a | b) != 0;
}

int Modulo(long long v, int m) {
    const long long r = v % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

}  // namespace

RECT WithinClip(RECT area, const RasterRegion* clip) {
    if (!clip) return area;
    area.left = std::max(area.left, clip->box.left);
    area.top = std::max(area.top, clip->box.top);
    area.right = std::max(area.left, std::min(area.right, clip->box.right));
    area.bottom = std::max(area.top, std::min(area.bottom, clip->box.bottom));
    return area;
}

bool ResolveFill(const GdiBrush* brush, const DcState& dc, double styleUnit, RasterFill* fill) {
    if (!brush || dc.rop2 == R2_NOP) return false;
    if (brush->style != BS_SOLID && brush->style != BS_HATCHED) return false;  // hollow
    *fill = RasterFill{};
    fill->colour = RasterPixelOf(brush->color);
    fill->hatched = brush->style == BS_HATCHED;
    if (fill->hatched) {
        fill->hatch = brush->hatch;
        fill->hatchCell = static_cast<int>(std::max(1.0, std::round(kHatchCell * styleUnit)));
        fill->background = RasterPixelOf(dc.bkColor);
        fill->opaque = dc.bkMode == OPAQUE;
        fill->brushOrg = dc.brushOrg;
    }
    fill->fillMode = dc.polyFillMode;
    fill->rop2 = dc.rop2;
    return true;
}

bool ResolveStroke(const GdiPen* pen, const DcState& dc, const Affine& toDevice, double styleUnit,
                   RasterStroke* stroke) {
    if (!pen || pen->DashKind() == PS_NULL || dc.rop2 == R2_NOP) return false;
    *stroke = RasterStroke{};
    // GDI takes the width of a geometric pen along the x axis, in whole
    // pixels.
    if (!pen->cosmetic && pen->width > 0) {
        const POINT o = RoundToDevice(Apply(toDevice, {0, 0}));
        const POINT x = RoundToDevice(Apply(toDevice, {pen->width, 0}));
        const double w = std::floor(std::hypot(double(x.x) - o.x, double(x.y) - o.y));
        stroke->width = static_cast<int>(std::clamp(w, 1.0, 1e6));
    }
    stroke->colour = RasterPixelOf(pen->color);
    stroke->cap = pen->style & PS_ENDCAP_MASK;
    stroke->join = pen->style & PS_JOIN_MASK;
    stroke->rop2 = dc.rop2;
    if (stroke->width == 1) {
        // Pixel by pixel, the gaps of a dashed line in the background
        // colour when it is opaque.
        stroke->dashes = DashPattern(*pen, 1, styleUnit, LengthScale(toDevice));
        stroke->opaqueGaps = !stroke->dashes.empty() && dc.bkMode == OPAQUE;
        if (stroke->opaqueGaps) stroke->background = RasterPixelOf(dc.bkColor);
    } else if (!pen->cosmetic && (pen->style & PS_TYPE_MASK) == PS_GEOMETRIC) {
        // Only geometric pens are dashed when wide.
        stroke->dashes = DashPattern(*pen, stroke->width, styleUnit, LengthScale(toDevice));
    }
    return true;
}

RECT RasterPainter::Window() const {
    const int w = m_dc.bitmap ? m_dc.bitmap->width : 0;
    int h = m_dc.bitmap ? m_dc.bitmap->height : 0;
    if (m_rows >= 0) h = std::min(h, m_rows);
    return RECT{m_origin.x, m_origin.y, m_origin.x + w, m_origin.y + h};
}

bool RasterPainter::DrawableArea(const RECT& bounds, RECT* area) const {
    const RECT inBitmap{
        ClampToLong(static_cast<long long>(bounds.left) - m_origin.x, INT_MIN, INT_MAX),
        ClampToLong(static_cast<long long>(bounds.top) - m_origin.y, INT_MIN, INT_MAX),
        ClampToLong(static_cast<long long>(bounds.right) - m_origin.x, INT_MIN, INT_MAX),
        ClampToLong(static_cast<long long>(bounds.bottom) - m_origin.y, INT_MIN, INT_MAX)};
    const RECT w = Window();
    const RECT within{std::max(inBitmap.left, w.left - m_origin.x),
                      std::max(inBitmap.top, w.top - m_origin.y),
                      std::min(inBitmap.right, w.right - m_origin.x),
                      std::min(inBitmap.bottom, w.bottom - m_origin.y)};
    RECT a;
    if (!::DrawableArea(m_dc, within, &a)) return false;
    *area =
        RECT{a.left + m_origin.x, a.top + m_origin.y, a.right + m_origin.x, a.bottom + m_origin.y};
    return true;
}

RECT RasterPainter::BoundsWithin(std::span<const FigureView> figures, int margin) const {
    long long l = LLONG_MAX, t = LLONG_MAX, r = LLONG_MIN, b = LLONG_MIN;
    for (const FigureView& f : figures)
        for (const POINT& p : f.points) {
            l = std::min<long long>(l, p.x), r = std::max<long long>(r, p.x);
            t = std::min<long long>(t, p.y), b = std::max<long long>(b, p.y);
        }
    if (l > r) return RECT{0, 0, 0, 0};
    const RECT w = Window();
    const long long m = static_cast<long long>(margin) + 2;
    return RECT{ClampToLong(l - m, w.left, w.right), ClampToLong(t - m, w.top, w.bottom),
                ClampToLong(r + m, w.left, w.right), ClampToLong(b + m, w.top, w.bottom)};
}

// Rasterises draw over area into the mask storage, which is kept from
// figure to figure: a page band draws thousands of figures, and a fresh
// block for each costs more than drawing it. Cairo sees page pixels moved
// by whole pixels, which its fixed-point coordinates take exactly, so a
// figure covers the same pixels whatever the area around it. A pixel counts
// when the point at its top-left corner is inside, as GDI fills (a
// rectangle's right and bottom edges are outside it); cairo samples the
// pixel's centre, so the figures go half a pixel right and down.
RasterPainter::Mask RasterPainter::RasteriseMask(const RECT& area,
                                                 const std::function<void(cairo_t*)>& draw) {
    Mask mask;
    mask.area = area;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return mask;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
    const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
    if (m_maskStorage.size() < bytes) m_maskStorage.resize(bytes);
    std::fill_n(m_maskStorage.begin(), bytes, 0);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        m_maskStorage.data(), CAIRO_FORMAT_A8, width, height, stride);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_translate(cr, 0.5 - area.left, 0.5 - area.top);
    draw(cr);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    if (ok) {
        mask.stride = static_cast<size_t>(stride);
        mask.data = m_maskStorage.data();
    }
    return mask;
}

RasterPainter::Mask RasterPainter::BlankMask(std::vector<uint8_t>& storage, const RECT& area) {
    Mask mask;
    mask.area = area;
    const size_t width = static_cast<size_t>(std::max<LONG>(0, area.right - area.left));
    const size_t bytes = width * static_cast<size_t>(std::max<LONG>(0, area.bottom - area.top));
    if (bytes == 0) return mask;
    if (storage.size() < bytes) storage.resize(bytes);
    std::fill_n(storage.begin(), bytes, 0);
    mask.stride = width;
    mask.data = storage.data();
    return mask;
}

// The plain case of PaintMask, which a page spends most of its time in:
// one colour, no context clip, no pattern. Row by row over the mask and the
// metafile's region, with no per-pixel lookups.
void RasterPainter::PaintPlain(const Mask& mask, const RasterRegion* region, RECT area,
                               uint32_t colour, int rop2) {
    if (region) {
        area.left = std::max(area.left, region->box.left);
        area.top = std::max(area.top, region->box.top);
        area.right = std::min(area.right, region->box.right);
        area.bottom = std::min(area.bottom, region->box.bottom);
        if (area.right <= area.left || area.bottom <= area.top) return;
    }
    const size_t count = static_cast<size_t>(area.right - area.left);
    for (int y = area.top; y < area.bottom; ++y) {
        const uint8_t* covered = mask.data + static_cast<size_t>(y - mask.area.top) * mask.stride +
                                 static_cast<size_t>(area.left - mask.area.left);
        const uint8_t* inside = nullptr;
        if (region && !region->solid)
            inside = region->inside.data() +
                     static_cast<size_t>(y - region->box.top) *
                         static_cast<size_t>(region->box.right - region->box.left) +
                     static_cast<size_t>(area.left - region->box.left);
        BYTE* out = Pixel(area.left, y);
        if (rop2 == R2_COPYPEN) {
            // 0x00RRGGBB is the pixel's byte order on a little-endian host.
            // Stretches of sixteen pixels the figure leaves alone (most of a
            // thin line's box) are passed over; the others are written
            // without branches, so that the loop runs in vectors.
            uint32_t* pixels = reinterpret_cast<uint32_t*>(out);
            for (size_t i = 0; i < count; i += kStretch) {
                const size_t n = std::min(kStretch, count - i);
                if (n == kStretch && !AnyCovered(covered + i)) continue;
                if (inside)
                    for (size_t k = i; k < i + n; ++k)
                        pixels[k] = ((covered[k] != 0) & (inside[k] != 0)) ? colour : pixels[k];
                else
                    for (size_t k = i; k < i + n; ++k) pixels[k] = covered[k] ? colour : pixels[k];
            }
            continue;
        }
        for (size_t i = 0; i < count; ++i)
            if (covered[i] && (!inside || inside[i]))
                StorePixel(out + i * 4, ApplyRop2(rop2, colour, LoadPixel(out + i * 4)));
    }
}

// Paints the covered pixels: the fill's colour through its raster
// operation, inside the context's clip and the metafile's region; a hatch
// chooses per pixel between colour and background (skipped when the
// background is transparent).
void RasterPainter::PaintMask(const Mask& mask, const RasterRegion* region,
                              const RasterFill& fill) {
    if (!mask.data) return;
    RECT area;
    if (!DrawableArea(mask.area, &area)) return;
    const bool layered = !m_dc.clipLayers.empty();
    if (!layered && !fill.hatched) {
        PaintPlain(mask, region, area, fill.colour, fill.rop2);
        return;
    }
    // The context's own clip (rectangles, regions and paths selected into
    // it before the metafile played), in the bitmap's pixels.
    GdiCoverage contextClip;
    if (layered && !contextClip.Build(m_dc,
                                      RECT{area.left - m_origin.x, area.top - m_origin.y,
                                           area.right - m_origin.x, area.bottom - m_origin.y},
                                      nullptr, ALTERNATE))
        return;
    const HatchOffsets hatch = HatchCellOffsets(fill.hatchCell);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!mask.Covered(x, y)) continue;
            if (region && !region->Inside(x, y)) continue;
            if (layered && !contextClip.Covered(x - m_origin.x, y - m_origin.y)) continue;
            uint32_t pen = fill.colour;
            if (fill.hatched &&
                !HatchCovers(fill.hatch, hatch,
                             Modulo(static_cast<long long>(x) - fill.brushOrg.x, fill.hatchCell),
                             Modulo(static_cast<long long>(y) - fill.brushOrg.y, fill.hatchCell))) {
                if (!fill.opaque) continue;
                pen = fill.background;
            }
            BYTE* p = Pixel(x, y);
            StorePixel(p, fill.rop2 == R2_COPYPEN ? pen : ApplyRop2(fill.rop2, pen, LoadPixel(p)));
        }
    }
}

void RasterPainter::Fill(std::span<const FigureView> figures, const RasterFill& fill,
                         const RasterRegion* clip) {
    if (!m_dc.bitmap) return;
    // Edges wholly above or below the window cross none of its rows' centres.
    const RECT w = Window();
    const RowReach reach{w.top - 1LL, w.bottom + 1LL};
    m_culled.resize(std::max(m_culled.size(), figures.size()));
    bool wasRectilinear = true, isRectilinear = true;
    for (size_t i = 0; i < figures.size(); ++i) {
        if (figures[i].points.size() < 3) continue;
        CullFillFigure(figures[i].points, reach, &m_culled[i]);
        wasRectilinear = wasRectilinear && Rectilinear(figures[i].points, true);
        isRectilinear = isRectilinear && Rectilinear(m_culled[i], true);
    }
    const bool culled = wasRectilinear == isRectilinear;
    const auto draw = [&](cairo_t* cr) {
        for (size_t i = 0; i < figures.size(); ++i)
            if (figures[i].points.size() >= 3)
                AddFigure(cr, culled ? std::span<const POINT>(m_culled[i]) : figures[i].points,
                          true);
        cairo_set_fill_rule(cr, FillRule(fill.fillMode));
        cairo_fill(cr);
    };
    const RECT bounds = WithinClip(BoundsWithin(figures, 0), clip);
    if (PaintDirectly(clip, fill, bounds, draw)) return;
    PaintMask(RasteriseMask(bounds, draw), clip, fill);
}

RasterPainter::~RasterPainter() {
    if (m_direct) cairo_destroy(m_direct);
    if (m_directSurface) cairo_surface_destroy(m_directSurface);
}

bool RasterPainter::PaintDirectly(const RasterRegion* clip, const RasterFill& fill,
                                  const RECT& bounds, const std::function<void(cairo_t*)>& draw) {
    // One colour copied, clipped to a box at most (which bounds is within),
    // on a bitmap cairo can draw on.
    if (!m_directAllowed || (clip && !clip->solid) || fill.hatched || fill.rop2 != R2_COPYPEN ||
        m_dc.Clipped() || !m_dc.bitmap->topDown)
        return false;
    if (!m_direct) {
        const RECT w = Window();
        m_directSurface = cairo_image_surface_create_for_data(
            m_dc.bitmap->Row(0), CAIRO_FORMAT_RGB24, w.right - w.left, w.bottom - w.top,
            static_cast<int>(m_dc.bitmap->stride));
        m_direct = cairo_create(m_directSurface);
        cairo_set_antialias(m_direct, CAIRO_ANTIALIAS_NONE);
        cairo_translate(m_direct, -w.left, -w.top);
    }
    if (cairo_status(m_direct) != CAIRO_STATUS_SUCCESS) return false;
    if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return true;
    cairo_save(m_direct);
    cairo_new_path(m_direct);
    // cairo works through every row of its clip for each paint: clipped to
    // the paint's bounds (within the clip region's box, when there is one),
    // a small figure costs its own rows, not the band's.
    cairo_rectangle(m_direct, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top);
    cairo_clip(m_direct);
    // Sampled at pixel corners, as RasteriseMask samples.
    cairo_translate(m_direct, 0.5, 0.5);
    cairo_set_source_rgb(m_direct, (fill.colour >> 16 & 0xFF) / 255.0,
                         (fill.colour >> 8 & 0xFF) / 255.0, (fill.colour & 0xFF) / 255.0);
    draw(m_direct);
    cairo_restore(m_direct);
    RECT& a = m_directArea;
    a = a.right > a.left ? RECT{std::min(a.left, bounds.left), std::min(a.top, bounds.top),
                                std::max(a.right, bounds.right), std::max(a.bottom, bounds.bottom)}
                         : bounds;
    return true;
}

void RasterPainter::Finish() {
    const RECT a = m_directArea;
    if (a.right <= a.left || a.bottom <= a.top) return;
    cairo_surface_flush(m_directSurface);
    // cairo leaves its own fourth byte in what it drew; GDI's is 0.
    for (int y = a.top; y < a.bottom; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(Pixel(a.left, y));
        for (int x = 0; x < a.right - a.left; ++x) row[x] &= 0x00FFFFFF;
    }
    m_directArea = RECT{0, 0, 0, 0};
}
