#include "gdi32/metafile/raster_device.h"

#include <algorithm>
#include <cairo.h>
#include <climits>
#include <cmath>
#include <functional>

#include "gdi32/gdi_coverage.h"
#include "gdi32/metafile/cosmetic_line.h"
#include "gdi32/metafile/wide_line.h"
#include "win32/gdi32/metafile/dash_pattern.h"
#include "win32/gdi32/metafile/gdi_state.h"

namespace {

// GDI hatches repeat every 8 pixels (style units).
constexpr int kHatchCell = 8;

int Width(const HDC__& dc) {
    return dc.bitmap ? dc.bitmap->width : 0;
}
int Height(const HDC__& dc) {
    return dc.bitmap ? dc.bitmap->height : 0;
}

// A region of nothing over box (clamped to the bitmap).
std::shared_ptr<RasterRegion> EmptyRegion(const HDC__& dc, const RECT& box) {
    auto region = std::make_shared<RasterRegion>();
    const LONG l = std::clamp<LONG>(box.left, 0, Width(dc));
    const LONG t = std::clamp<LONG>(box.top, 0, Height(dc));
    region->box = RECT{l, t, std::clamp<LONG>(box.right, l, Width(dc)),
                       std::clamp<LONG>(box.bottom, t, Height(dc))};
    region->inside.assign(static_cast<size_t>(region->box.right - region->box.left) *
                              static_cast<size_t>(region->box.bottom - region->box.top),
                          0);
    return region;
}

// A rectangle over box (clamped to the bitmap), keeping no bytes.
std::shared_ptr<RasterRegion> WholeRegion(const HDC__& dc, const RECT& box) {
    auto region = std::make_shared<RasterRegion>();
    const LONG l = std::clamp<LONG>(box.left, 0, Width(dc));
    const LONG t = std::clamp<LONG>(box.top, 0, Height(dc));
    region->box = RECT{l, t, std::clamp<LONG>(box.right, l, Width(dc)),
                       std::clamp<LONG>(box.bottom, t, Height(dc))};
    region->whole = true;
    return region;
}

cairo_fill_rule_t FillRule(int mode) {
    return mode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

void AddFigure(cairo_t* cr, std::span<const POINT> points, bool closed) {
    if (points.empty()) return;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    if (closed) cairo_close_path(cr);
}

// Coverage of an area of the bitmap, one byte a pixel, rows of stride
// bytes; null data when nothing could be made.
struct Mask {
    RECT area{0, 0, 0, 0};
    size_t stride = 0;
    const uint8_t* data = nullptr;
    bool Covered(int x, int y) const {
        return data[static_cast<size_t>(y - area.top) * stride + (x - area.left)] != 0;
    }
};

// Rasterises draw over area into storage, which is kept from figure to
// figure of a playback: a page band draws thousands of figures, and a fresh
// block for each costs more than drawing it. A pixel counts when the point
// at its top-left corner is inside, as GDI fills (a rectangle's right and
// bottom edges are outside it); cairo samples the pixel's centre, so the
// figures go half a pixel right and down.
Mask RasteriseMask(std::vector<uint8_t>& storage, const RECT& area,
                   const std::function<void(cairo_t*)>& draw) {
    Mask mask;
    mask.area = area;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return mask;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
    const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
    if (storage.size() < bytes) storage.resize(bytes);
    std::fill_n(storage.begin(), bytes, 0);
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(storage.data(), CAIRO_FORMAT_A8, width, height, stride);
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
        mask.data = storage.data();
    }
    return mask;
}

// A mask of nothing over area, in storage.
Mask BlankMask(std::vector<uint8_t>& storage, const RECT& area) {
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

// The pixels of the area (device pixels) that draw covers, one byte a
// pixel; empty when cairo failed.
std::vector<uint8_t> Rasterise(const RECT& area, const std::function<void(cairo_t*)>& draw) {
    std::vector<uint8_t> storage;
    const Mask mask = RasteriseMask(storage, area, draw);
    if (!mask.data) return {};
    // Packed to one byte a pixel without the row padding.
    const size_t width = static_cast<size_t>(area.right - area.left);
    const size_t height = static_cast<size_t>(area.bottom - area.top);
    std::vector<uint8_t> packed(width * height);
    for (size_t y = 0; y < height; ++y)
        std::copy_n(mask.data + y * mask.stride, width, packed.data() + y * width);
    return packed;
}

// The pixels figures can touch, widened by margin, within the bitmap.
RECT BoundsWithin(const HDC__& dc, std::span<const Figure> figures, int margin) {
    long long l = LLONG_MAX, t = LLONG_MAX, r = LLONG_MIN, b = LLONG_MIN;
    for (const Figure& f : figures)
        for (const POINT& p : f.points) {
            l = std::min<long long>(l, p.x), r = std::max<long long>(r, p.x);
            t = std::min<long long>(t, p.y), b = std::max<long long>(b, p.y);
        }
    if (l > r) return RECT{0, 0, 0, 0};
    const long long m = static_cast<long long>(margin) + 2;
    return RECT{static_cast<LONG>(std::clamp<long long>(l - m, 0, Width(dc))),
                static_cast<LONG>(std::clamp<long long>(t - m, 0, Height(dc))),
                static_cast<LONG>(std::clamp<long long>(r + m, 0, Width(dc))),
                static_cast<LONG>(std::clamp<long long>(b + m, 0, Height(dc)))};
}

const RasterRegion* RasterRegionOf(const RegionRef& region) {
    return dynamic_cast<const RasterRegion*>(region.get());
}

// Whether the hatch draws pixel (dx, dy) of its cell (from the brush
// origin): GDI's 8 x 8 patterns in cells of eight pixels.
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

int Modulo(long long v, int m) {
    const long long r = v % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// The plain case of PaintMask, which every band of a page spends most of
// its time in: one colour, no context clip, no pattern. Row by row over
// the mask and the metafile's region, with no per-pixel lookups.
void PaintPlain(HDC__& dc, const Mask& mask, const RasterRegion* region, RECT area, uint32_t colour,
                int rop2) {
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
        if (region && !region->whole)
            inside = region->inside.data() +
                     static_cast<size_t>(y - region->box.top) *
                         static_cast<size_t>(region->box.right - region->box.left) +
                     static_cast<size_t>(area.left - region->box.left);
        BYTE* out = dc.bitmap->Row(y) + static_cast<size_t>(area.left) * 4;
        if (rop2 == R2_COPYPEN) {
            // 0x00RRGGBB is the pixel's byte order on a little-endian host.
            // Written without branches, so that the loop runs in vectors.
            uint32_t* pixels = reinterpret_cast<uint32_t*>(out);
            if (inside)
                for (size_t i = 0; i < count; ++i)
                    pixels[i] = ((covered[i] != 0) & (inside[i] != 0)) ? colour : pixels[i];
            else
                for (size_t i = 0; i < count; ++i) pixels[i] = covered[i] ? colour : pixels[i];
            continue;
        }
        for (size_t i = 0; i < count; ++i)
            if (covered[i] && (!inside || inside[i]))
                StorePixel(out + i * 4, ApplyRop2(rop2, colour, LoadPixel(out + i * 4)));
    }
}

// Paints the covered pixels: colour (0x00RRGGBB) through the raster
// operation, inside the context's clip and the metafile's region; the
// pattern, when given, chooses per pixel between colour and background
// (skipped when the background is transparent).
void PaintMask(HDC__& dc, const Mask& mask, const RegionRef& clip, uint32_t colour, int rop2,
               const std::function<int(int x, int y)>* pattern = nullptr, uint32_t background = 0,
               bool opaque = false) {
    if (!mask.data) return;
    const RasterRegion* region = RasterRegionOf(clip);
    // The context's own clip (rectangles, regions and paths selected into
    // it before the metafile played).
    GdiCoverage contextClip;
    RECT area;
    if (!DrawableArea(dc, mask.area, &area)) return;
    const bool layered = !dc.clipLayers.empty();
    if (!layered && !pattern) {
        PaintPlain(dc, mask, region, area, colour, rop2);
        return;
    }
    if (layered && !contextClip.Build(dc, area, nullptr, ALTERNATE)) return;
    for (int y = area.top; y < area.bottom; ++y) {
        BYTE* row = dc.bitmap->Row(y);
        for (int x = area.left; x < area.right; ++x) {
            if (!mask.Covered(x, y)) continue;
            if (region && !region->Inside(x, y)) continue;
            if (layered && !contextClip.Covered(x, y)) continue;
            uint32_t pen = colour;
            if (pattern && !(*pattern)(x, y)) {
                if (!opaque) continue;
                pen = background;
            }
            BYTE* p = row + static_cast<size_t>(x) * 4;
            StorePixel(p, rop2 == R2_COPYPEN ? pen : ApplyRop2(rop2, pen, LoadPixel(p)));
        }
    }
}

}  // namespace

int RasterDevice::DeviceCaps(int index) const {
    switch (index) {
        case HORZRES: return Width(m_dc);
        case VERTRES: return Height(m_dc);
        default: return 0;
    }
}

bool RasterDevice::VisibleArea(RECT* area) const {
    *area = RECT{0, 0, Width(m_dc), Height(m_dc)};
    return true;
}

RegionRef RasterDevice::RectRegion(const RECT& rect) {
    return WholeRegion(m_dc,
                       RECT{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                            std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)});
}

RegionRef RasterDevice::PolygonRegion(std::span<const POINT> points, int fillMode) {
    const Figure figure{std::vector<POINT>(points.begin(), points.end()), true};
    auto region = EmptyRegion(m_dc, BoundsWithin(m_dc, std::span<const Figure>(&figure, 1), 0));
    std::vector<uint8_t> mask = Rasterise(region->box, [&](cairo_t* cr) {
        AddFigure(cr, points, true);
        cairo_set_fill_rule(cr, FillRule(fillMode));
        cairo_fill(cr);
    });
    if (!mask.empty()) region->inside = std::move(mask);
    return region;
}

RegionRef RasterDevice::QuadsRegion(std::span<const std::array<POINT, 4>> quads) {
    std::vector<Figure> figures;
    for (const auto& quad : quads) figures.push_back(Figure{{quad.begin(), quad.end()}, true});
    auto region = EmptyRegion(m_dc, BoundsWithin(m_dc, figures, 0));
    std::vector<uint8_t> mask = Rasterise(region->box, [&](cairo_t* cr) {
        for (const auto& quad : quads) AddFigure(cr, quad, true);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    });
    if (!mask.empty()) region->inside = std::move(mask);
    return region;
}

RegionRef RasterDevice::CombineRegions(const RegionRef& a, const RegionRef& b, int mode) {
    const RasterRegion* ra = RasterRegionOf(a);
    const RasterRegion* rb = RasterRegionOf(b);
    const RECT none{0, 0, 0, 0};
    const RECT ba = ra ? ra->box : none, bb = rb ? rb->box : none;
    const RECT both{std::max(ba.left, bb.left), std::max(ba.top, bb.top),
                    std::min(ba.right, bb.right), std::min(ba.bottom, bb.bottom)};
    const RECT either{std::min(ba.left, bb.left), std::min(ba.top, bb.top),
                      std::max(ba.right, bb.right), std::max(ba.bottom, bb.bottom)};
    // The result lies where its operands can make it.
    RECT box = ba;
    if (mode == RGN_AND) box = both;
    if (mode == RGN_OR || mode == RGN_XOR) box = either;
    if (box.right <= box.left || box.bottom <= box.top) box = none;
    // Rectangles that meet in a rectangle stay rectangles.
    const bool wholeA = ra && ra->whole, wholeB = rb && rb->whole;
    if ((mode == RGN_AND && wholeA && wholeB) || (mode == RGN_COPY && wholeA))
        return WholeRegion(m_dc, box);
    auto result = EmptyRegion(m_dc, box);
    const RECT& r = result->box;
    size_t i = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x, ++i) {
            const bool in_a = ra && ra->Inside(x, y);
            const bool in_b = rb && rb->Inside(x, y);
            bool in = false;
            switch (mode) {
                case RGN_AND: in = in_a && in_b; break;
                case RGN_OR: in = in_a || in_b; break;
                case RGN_XOR: in = in_a != in_b; break;
                case RGN_DIFF: in = in_a && !in_b; break;
                case RGN_COPY: in = in_a; break;
                default: break;
            }
            result->inside[i] = in;
        }
    return result;
}

RegionRef RasterDevice::OffsetRegion(const RegionRef& region, POINT by) {
    const RasterRegion* from = RasterRegionOf(region);
    if (!from) return EmptyRegion(m_dc, RECT{0, 0, 0, 0});
    const auto Shift = [](LONG v, LONG d) {
        return static_cast<LONG>(
            std::clamp<long long>(static_cast<long long>(v) + d, INT_MIN / 2, INT_MAX / 2));
    };
    const RECT moved{Shift(from->box.left, by.x), Shift(from->box.top, by.y),
                     Shift(from->box.right, by.x), Shift(from->box.bottom, by.y)};
    if (from->whole) return WholeRegion(m_dc, moved);
    auto result = EmptyRegion(m_dc, moved);
    const RECT& r = result->box;
    size_t i = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x, ++i)
            result->inside[i] = from->Inside(static_cast<int>(static_cast<long long>(x) - by.x),
                                             static_cast<int>(static_cast<long long>(y) - by.y));
    return result;
}

void RasterDevice::Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
                        bool) {
    if (!brush || dc.rop2 == R2_NOP || !m_dc.bitmap) return;
    if (brush->style != BS_SOLID && brush->style != BS_HATCHED) return;  // hollow
    const Mask mask =
        RasteriseMask(m_maskStorage, BoundsWithin(m_dc, figures, 0), [&](cairo_t* cr) {
            for (const Figure& f : figures)
                if (f.points.size() >= 3) AddFigure(cr, f.points, true);
            cairo_set_fill_rule(cr, FillRule(dc.polyFillMode));
            cairo_fill(cr);
        });
    const uint32_t colour = RasterPixelOf(brush->color);
    if (brush->style == BS_SOLID) {
        PaintMask(m_dc, mask, dc.clip, colour, dc.rop2);
        return;
    }
    const POINT origin = dc.brushOrg;
    const ULONG style = brush->hatch;
    const int cell = static_cast<int>(std::max(1.0, std::round(kHatchCell * m_styleUnit)));
    const HatchOffsets at = HatchCellOffsets(cell);
    const std::function<int(int, int)> hatch = [&](int x, int y) {
        return HatchCovers(style, at, Modulo(static_cast<long long>(x) - origin.x, cell),
                           Modulo(static_cast<long long>(y) - origin.y, cell));
    };
    PaintMask(m_dc, mask, dc.clip, colour, dc.rop2, &hatch, RasterPixelOf(dc.bkColor),
              dc.bkMode == OPAQUE);
}

void RasterDevice::Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                          const Affine& toDevice) {
    if (!pen || pen->DashKind() == PS_NULL || dc.rop2 == R2_NOP || !m_dc.bitmap) return;
    // GDI takes the width of a geometric pen along the x axis, in whole
    // pixels.
    int width = 1;
    if (!pen->cosmetic && pen->width > 0) {
        const POINT o = RoundToDevice(Apply(toDevice, {0, 0}));
        const POINT x = RoundToDevice(Apply(toDevice, {pen->width, 0}));
        const double w = std::floor(std::hypot(double(x.x) - o.x, double(x.y) - o.y));
        width = static_cast<int>(std::clamp(w, 1.0, 1e6));
    }
    if (width == 1) {
        // Pixel by pixel, the gaps of a dashed line in the background
        // colour when it is opaque.
        const std::vector<double> pattern =
            DashPattern(*pen, 1, m_styleUnit, LengthScale(toDevice));
        const RECT area = BoundsWithin(m_dc, figures, 0);
        const Mask ink = BlankMask(m_maskStorage, area);
        const bool opaque = !pattern.empty() && dc.bkMode == OPAQUE;
        const Mask gaps = opaque ? BlankMask(m_gapStorage, area) : Mask{};
        if (!ink.data) return;
        MarkThinLines(figures, pattern, area, ink.stride, m_maskStorage.data(),
                      opaque ? m_gapStorage.data() : nullptr);
        if (opaque) PaintMask(m_dc, gaps, dc.clip, RasterPixelOf(dc.bkColor), dc.rop2);
        PaintMask(m_dc, ink, dc.clip, RasterPixelOf(pen->color), dc.rop2);
        return;
    }
    WidePen wide;
    wide.width = width;
    wide.cap = pen->style & PS_ENDCAP_MASK;
    wide.join = pen->style & PS_JOIN_MASK;
    // Only geometric pens are dashed when wide.
    if (!pen->cosmetic && (pen->style & PS_TYPE_MASK) == PS_GEOMETRIC)
        wide.dashes = DashPattern(*pen, width, m_styleUnit, LengthScale(toDevice));
    const std::vector<std::vector<POINT>> pieces = WidenFigures(figures, wide);
    // The pieces turned one way, so that the winding rule fills their union.
    const Mask mask =
        RasteriseMask(m_maskStorage, BoundsWithin(m_dc, figures, 6 * width), [&](cairo_t* cr) {
            for (const std::vector<POINT>& piece : pieces) {
                long long area = 0;
                for (size_t i = 0, j = piece.size() - 1; i < piece.size(); j = i++)
                    area += static_cast<long long>(piece[j].x) * piece[i].y -
                            static_cast<long long>(piece[i].x) * piece[j].y;
                if (area >= 0) {
                    AddFigure(cr, piece, true);
                } else {
                    const std::vector<POINT> turned(piece.rbegin(), piece.rend());
                    AddFigure(cr, turned, true);
                }
            }
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            cairo_fill(cr);
        });
    PaintMask(m_dc, mask, dc.clip, RasterPixelOf(pen->color), dc.rop2);
}

// Source-over with the bitmap's own alpha, its colours premultiplied as
// AlphaBlend takes them: 32-bit BI_RGB bitmaps only, sampled at the nearest
// source pixel.
bool RasterDevice::BlendBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                               const void* bits, const BITMAPINFO* info) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT_MIN || dest.right == 0 || dest.bottom == 0 || source.right == 0 ||
        source.bottom == 0)
        return false;
    const long long W = h.biWidth, H = std::llabs(static_cast<long long>(h.biHeight));
    const bool topDown = h.biHeight < 0;
    // The source rectangle in display rows, as StretchDIBits counts the
    // rows of a bottom-up bitmap from the bottom.
    const long long sx = source.left, sw = source.right, sh = source.bottom;
    const long long sy = topDown ? source.top : H - source.top - sh;
    const long long x0 = dest.left, x1 = x0 + dest.right, y0 = dest.top, y1 = y0 + dest.bottom;
    RECT area;
    if (!DrawableArea(
            m_dc,
            RECT{static_cast<LONG>(std::clamp<long long>(std::min(x0, x1), 0, Width(m_dc))),
                 static_cast<LONG>(std::clamp<long long>(std::min(y0, y1), 0, Height(m_dc))),
                 static_cast<LONG>(std::clamp<long long>(std::max(x0, x1), 0, Width(m_dc))),
                 static_cast<LONG>(std::clamp<long long>(std::max(y0, y1), 0, Height(m_dc)))},
            &area))
        return true;
    GdiCoverage contextClip;
    const bool layered = !m_dc.clipLayers.empty();
    if (layered && !contextClip.Build(m_dc, area, nullptr, ALTERNATE)) return false;
    const RasterRegion* region = RasterRegionOf(dc.clip);
    const BYTE* pixels = static_cast<const BYTE*>(bits);
    for (int y = area.top; y < area.bottom; ++y) {
        const double v = (y + 0.5 - static_cast<double>(y0)) / static_cast<double>(dest.bottom);
        const long long row = sy + static_cast<long long>(std::floor(v * static_cast<double>(sh)));
        if (row < 0 || row >= H) continue;
        const long long memoryRow = topDown ? row : H - 1 - row;
        const BYTE* sourceRow = pixels + static_cast<size_t>(memoryRow * W * 4);
        BYTE* out = m_dc.bitmap->Row(y);
        for (int x = area.left; x < area.right; ++x) {
            if (region && !region->Inside(x, y)) continue;
            if (layered && !contextClip.Covered(x, y)) continue;
            const double u = (x + 0.5 - static_cast<double>(x0)) / static_cast<double>(dest.right);
            const long long column =
                sx + static_cast<long long>(std::floor(u * static_cast<double>(sw)));
            if (column < 0 || column >= W) continue;
            const BYTE* s = sourceRow + column * 4;
            BYTE* d = out + static_cast<size_t>(x) * 4;
            const int keep = 255 - s[3];
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<BYTE>(std::min(255, s[c] + (d[c] * keep + 127) / 255));
            d[3] = 0;
        }
    }
    return true;
}

bool RasterDevice::DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                              const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop,
                              bool alpha) {
    if (!m_dc.bitmap) return false;
    if (alpha) return BlendBitmap(dc, dest, source, bits, info);
    const RasterRegion* region = RasterRegionOf(dc.clip);
    // The pixels the metafile's clip protects are put back after the blit,
    // which clips only to the context's own region: those the destination
    // covers are kept first.
    const long long x0 = dest.left, x1 = x0 + dest.right, y0 = dest.top, y1 = y0 + dest.bottom;
    const RECT box{static_cast<LONG>(std::clamp<long long>(std::min(x0, x1) - 1, 0, Width(m_dc))),
                   static_cast<LONG>(std::clamp<long long>(std::min(y0, y1) - 1, 0, Height(m_dc))),
                   static_cast<LONG>(std::clamp<long long>(std::max(x0, x1) + 1, 0, Width(m_dc))),
                   static_cast<LONG>(std::clamp<long long>(std::max(y0, y1) + 1, 0, Height(m_dc)))};
    const size_t boxBytes = static_cast<size_t>(box.right - box.left) * 4;
    std::vector<BYTE> before;
    if (region) {
        before.resize(boxBytes * static_cast<size_t>(box.bottom - box.top));
        for (int y = box.top; y < box.bottom; ++y)
            std::copy_n(m_dc.bitmap->Row(y) + static_cast<size_t>(box.left) * 4, boxBytes,
                        before.data() + static_cast<size_t>(y - box.top) * boxBytes);
    }
    // The destination is in device pixels: the blit is made in MM_TEXT.
    const int mapMode = m_dc.mapMode;
    const POINT windowOrg = m_dc.windowOrg, viewportOrg = m_dc.viewportOrg;
    const SIZE windowExt = m_dc.windowExt, viewportExt = m_dc.viewportExt;
    const XFORM world = m_dc.world;
    m_dc.world = XFORM{1, 0, 0, 1, 0, 0};
    m_dc.mapMode = MM_TEXT;
    m_dc.windowOrg = m_dc.viewportOrg = POINT{0, 0};
    m_dc.windowExt = m_dc.viewportExt = SIZE{1, 1};
    const int previousStretch = m_dc.stretchMode;
    m_dc.stretchMode = dc.stretchMode;
    const int lines =
        StretchDIBits(&m_dc, dest.left, dest.top, dest.right, dest.bottom, source.left, source.top,
                      source.right, source.bottom, bits, info, usage, rop);
    m_dc.stretchMode = previousStretch;
    m_dc.mapMode = mapMode;
    m_dc.windowOrg = windowOrg, m_dc.viewportOrg = viewportOrg;
    m_dc.windowExt = windowExt, m_dc.viewportExt = viewportExt;
    m_dc.world = world;
    if (region) {
        for (int y = box.top; y < box.bottom; ++y) {
            BYTE* row = m_dc.bitmap->Row(y);
            const BYTE* old = before.data() + static_cast<size_t>(y - box.top) * boxBytes;
            for (int x = box.left; x < box.right; ++x)
                if (!region->Inside(x, y))
                    std::copy_n(old + static_cast<size_t>(x - box.left) * 4, 4,
                                row + static_cast<size_t>(x) * 4);
        }
    }
    return lines != 0;
}
