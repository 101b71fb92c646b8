#include "gdi32/display_list/display_list_recorder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "gdi32/dib/dib_extent.h"
#include "gdi32/display_list/display_list_regions.h"

namespace {

LONG Clamp(long long v, LONG low, LONG high) {
    return static_cast<LONG>(std::clamp<long long>(v, low, high));
}

// The figures' points, widened by margin.
RECT FigureBounds(std::span<const Figure> figures, size_t minPoints, int margin) {
    long long l = LLONG_MAX, t = LLONG_MAX, r = LLONG_MIN, b = LLONG_MIN;
    for (const Figure& f : figures) {
        if (f.points.size() < minPoints) continue;
        for (const POINT& p : f.points) {
            l = std::min<long long>(l, p.x), r = std::max<long long>(r, p.x);
            t = std::min<long long>(t, p.y), b = std::max<long long>(b, p.y);
        }
    }
    if (l > r) return RECT{0, 0, 0, 0};
    return RECT{Clamp(l - margin, INT_MIN, INT_MAX), Clamp(t - margin, INT_MIN, INT_MAX),
                Clamp(r + margin, INT_MIN, INT_MAX), Clamp(b + margin, INT_MIN, INT_MAX)};
}

// The index of value in styles, added when it differs from the last one
// (a page draws long runs with one brush or pen).
template <typename Style>
uint32_t StyleIndex(std::vector<Style>& styles, Style value) {
    if (styles.empty() || !(styles.back() == value)) styles.push_back(std::move(value));
    return static_cast<uint32_t>(styles.size() - 1);
}

}  // namespace

int DisplayListRecorder::DeviceCaps(int index) const {
    switch (index) {
        case HORZRES: return static_cast<int>(m_data.width);
        case VERTRES: return static_cast<int>(m_data.height);
        default: return 0;
    }
}

// The whole page shows: curves wholly beyond it are not flattened, the
// same for every band.
bool DisplayListRecorder::VisibleArea(RECT* area) const {
    *area = RECT{0, 0, static_cast<LONG>(m_data.width), static_cast<LONG>(m_data.height)};
    return true;
}

RegionRef DisplayListRecorder::RectRegion(const RECT& rect) {
    return RectNode(rect);
}

RegionRef DisplayListRecorder::PolygonRegion(std::span<const POINT> points, int fillMode) {
    return PolygonNode(points, fillMode);
}

RegionRef DisplayListRecorder::QuadsRegion(std::span<const std::array<POINT, 4>> quads) {
    return QuadsNode(quads);
}

RegionRef DisplayListRecorder::CombineRegions(const RegionRef& a, const RegionRef& b, int mode) {
    return CombineNode(a, b, mode);
}

RegionRef DisplayListRecorder::OffsetRegion(const RegionRef& region, POINT by) {
    return OffsetNode(region, by);
}

bool DisplayListRecorder::Place(RECT box, const RegionRef& clip, Primitive* primitive) {
    box.left = std::max<LONG>(box.left, 0);
    box.top = std::max<LONG>(box.top, 0);
    box.right = std::min<LONG>(box.right, static_cast<LONG>(m_data.width));
    box.bottom = std::min<LONG>(box.bottom, static_cast<LONG>(m_data.height));
    if (clip) {
        const RECT c = NodeBounds(clip);
        box.left = std::max(box.left, c.left), box.top = std::max(box.top, c.top);
        box.right = std::min(box.right, c.right), box.bottom = std::min(box.bottom, c.bottom);
    }
    if (box.right <= box.left || box.bottom <= box.top) return false;
    primitive->box = box;
    primitive->clip = ClipIndex(clip);
    return true;
}

uint32_t DisplayListRecorder::ClipIndex(const RegionRef& clip) {
    if (!clip) return 0;
    if (m_data.clips.back() != clip) {
        m_data.clips.push_back(clip);
        // Its own node: the nodes it is made of are shared with the clips
        // made before it.
        m_data.ownedBytes += static_cast<const RegionNode&>(*clip).Bytes();
    }
    return static_cast<uint32_t>(m_data.clips.size() - 1);
}

bool DisplayListRecorder::AddFigures(std::span<const Figure> figures, size_t minPoints,
                                     Primitive* primitive) {
    primitive->first = static_cast<uint32_t>(m_data.figures.size());
    uint32_t count = 0;
    for (const Figure& f : figures) {
        if (f.points.size() < minPoints) continue;
        POINT* points = m_data.points.Allocate(f.points.size());
        std::copy(f.points.begin(), f.points.end(), points);
        m_data.figures.push_back(
            FigureRecord{points, static_cast<uint32_t>(f.points.size()), f.closed});
        ++count;
    }
    primitive->count = count;
    return count > 0;
}

void DisplayListRecorder::Add(const Primitive& primitive, PrimitiveKind kind) {
    Primitive p = primitive;
    p.kind = static_cast<uint32_t>(kind);
    m_data.primitives.push_back(p);
}

void DisplayListRecorder::Fill(std::span<const Figure> figures, const GdiBrush* brush,
                               const DcState& dc, bool) {
    RasterFill fill;
    Primitive p{};
    if (!ResolveFill(brush, dc, m_styleUnit, &fill) ||
        !Place(FigureBounds(figures, 3, 2), dc.clip, &p) || !AddFigures(figures, 3, &p))
        return;
    p.style = StyleIndex(m_data.fills, fill);
    Add(p, PrimitiveKind::Fill);
}

void DisplayListRecorder::Stroke(std::span<const Figure> figures, const GdiPen* pen,
                                 const DcState& dc, const Affine& toDevice) {
    RasterStroke stroke;
    Primitive p{};
    if (!ResolveStroke(pen, dc, toDevice, m_styleUnit, &stroke) ||
        !Place(FigureBounds(figures, 2, StrokeReach(stroke.width)), dc.clip, &p) ||
        !AddFigures(figures, 2, &p))
        return;
    const size_t before = m_data.strokes.size();
    p.style = StyleIndex(m_data.strokes, std::move(stroke));
    if (m_data.strokes.size() != before)
        m_data.ownedBytes += m_data.strokes.back().dashes.capacity() * sizeof(double);
    Add(p, PrimitiveKind::Stroke);
}

bool DisplayListRecorder::DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                                     const void* bits, const BITMAPINFO* info, UINT usage,
                                     DWORD rop, bool alpha) {
    size_t infoBytes = 0;
    if (!bits || !info || !DibInfoBytes(info, usage, &infoBytes)) return false;
    // The pixels the blit can touch: the destination and a pixel around it.
    const long long x0 = dest.left, x1 = x0 + dest.right, y0 = dest.top, y1 = y0 + dest.bottom;
    const RECT box{Clamp(std::min(x0, x1) - 1, INT_MIN, INT_MAX),
                   Clamp(std::min(y0, y1) - 1, INT_MIN, INT_MAX),
                   Clamp(std::max(x0, x1) + 1, INT_MIN, INT_MAX),
                   Clamp(std::max(y0, y1) + 1, INT_MIN, INT_MAX)};
    Primitive p{};
    if (!Place(box, dc.clip, &p)) return true;  // nothing of it shows
    auto record = std::make_unique<BitmapRecord>();
    record->dest = dest;
    record->source = source;
    record->usage = usage;
    record->rop = rop;
    record->stretchMode = dc.stretchMode;
    record->alpha = alpha;
    record->info.resize((infoBytes + 3) / 4);
    std::memcpy(record->info.data(), info, infoBytes);
    const BYTE* b = static_cast<const BYTE*>(bits);
    if (b >= m_document && b < m_document + m_documentBytes) {
        record->bits = bits;
    } else {
        // Made for the call (a turned bitmap): kept whole.
        record->ownBits.assign(b, b + DibBitsBytes(info));
        record->bits = record->ownBits.data();
    }
    m_data.ownedBytes += sizeof(BitmapRecord) + record->info.size() * 4 + record->ownBits.size();
    p.style = static_cast<uint32_t>(m_data.bitmaps.size());
    m_data.bitmaps.push_back(std::move(record));
    Add(p, PrimitiveKind::Bitmap);
    return true;
}

bool DisplayListRecorder::GradientFill(const DcState& dc, const GradientMesh& mesh) {
    // The pixels the vertices span, a pixel wider each side.
    double l = HUGE_VAL, t = HUGE_VAL, r = -HUGE_VAL, b = -HUGE_VAL;
    for (const GradientVertex& v : mesh.vertices) {
        if (!std::isfinite(v.at.x) || !std::isfinite(v.at.y)) continue;
        l = std::min(l, v.at.x), r = std::max(r, v.at.x);
        t = std::min(t, v.at.y), b = std::max(b, v.at.y);
    }
    if (l > r || t > b) return true;
    const auto pixel = [](double value) {
        return static_cast<LONG>(std::clamp(value, -2.0e9, 2.0e9));
    };
    Primitive p{};
    if (!Place(RECT{pixel(std::floor(l) - 1), pixel(std::floor(t) - 1), pixel(std::ceil(r) + 1),
                    pixel(std::ceil(b) + 1)},
               dc.clip, &p))
        return true;
    auto record = std::make_unique<GradientRecord>();
    record->vertices.assign(mesh.vertices.begin(), mesh.vertices.end());
    record->rects.assign(mesh.rects.begin(), mesh.rects.end());
    record->triangles.assign(mesh.triangles.begin(), mesh.triangles.end());
    record->mode = mesh.mode;
    m_data.ownedBytes += sizeof(GradientRecord) + record->vertices.size() * sizeof(GradientVertex) +
                         record->rects.size() * sizeof(GRADIENT_RECT) +
                         record->triangles.size() * sizeof(GRADIENT_TRIANGLE);
    p.style = static_cast<uint32_t>(m_data.gradients.size());
    m_data.gradients.push_back(std::move(record));
    Add(p, PrimitiveKind::Gradient);
    return true;
}
