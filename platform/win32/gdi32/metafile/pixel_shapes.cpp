// Ellipses, rounded rectangles and arcs for devices of pixels, as GDI draws
// them on a raster device (win32/gdi32/metafile/gdi_ellipse.h): the box
// goes to whole device pixels, the outline runs through the integer
// ellipse's points and the inside is GDI's elliptic region. Used outside
// paths when the transform neither turns, shears nor mirrors; elsewhere the
// shapes are flattened as for any device.
#include "win32/gdi32/metafile/pixel_shapes.h"

#include <algorithm>
#include <cstdlib>

#include "win32/gdi32/metafile/gdi_ellipse.h"

namespace {

// Boxes larger than this many pixels each way go the general way: the
// integer ellipse walks every pixel of the outline.
constexpr LONG kLargestBox = 16384;

// The box in device pixels, corners in order; false when the transform
// turns, shears or mirrors, or the box has no size or a very large one.
bool DeviceBox(const Playback& pb, const RECTL& box, RECT* out) {
    const Affine& t = pb.ToDevice();
    if (t.m12 != 0 || t.m21 != 0 || t.m11 <= 0 || t.m22 <= 0) return false;
    const POINT a = RoundToDevice(Apply(t, Logical(POINTL{box.left, box.top})));
    const POINT b = RoundToDevice(Apply(t, Logical(POINTL{box.right, box.bottom})));
    *out = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    const long long w = static_cast<long long>(out->right) - out->left;
    const long long h = static_cast<long long>(out->bottom) - out->top;
    return w > 0 && h > 0 && w <= kLargestBox && h <= kLargestBox;
}

// A size in logical units on the device, as whole pixels.
SIZE DeviceSize(const Playback& pb, LONG cx, LONG cy) {
    const Affine& t = pb.ToDevice();
    const POINT o = RoundToDevice(Apply(t, {0, 0}));
    const POINT p = RoundToDevice(Apply(t, {static_cast<double>(cx), static_cast<double>(cy)}));
    return SIZE{std::abs(p.x - o.x), std::abs(p.y - o.y)};
}

Figure Outline(const std::vector<POINT>& points, bool closed) {
    Figure figure;
    figure.closed = closed;
    for (const POINT& p : points)
        if (figure.points.empty() || p.x != figure.points.back().x || p.y != figure.points.back().y)
            figure.points.push_back(p);
    return figure;
}

// Fills the inside (when the shape has one), then strokes the outline.
void Draw(Playback& pb, std::span<const Figure> inside, const Figure& outline, int fillMode) {
    DcState state = pb.State();
    state.polyFillMode = fillMode;
    if (!inside.empty()) pb.device.Fill(inside, state.brush.get(), state, inside.size() == 1);
    if (outline.points.size() >= 2)
        pb.device.Stroke(std::span<const Figure>(&outline, 1), state.pen.get(), state,
                         pb.ToDevice());
}

bool Clockwise(const Playback& pb) {
    return pb.dc.Current().arcDirection == AD_CLOCKWISE;
}

}  // namespace

bool DrawPixelRoundRect(Playback& pb, const RECTL& box, LONG cornerWidth, LONG cornerHeight) {
    RECT rect;
    if (!pb.gdiPixels || pb.pathBracketOpen || !DeviceBox(pb, box, &rect)) return false;
    const SIZE corner = DeviceSize(pb, cornerWidth, cornerHeight);
    const std::vector<POINT> outline = RoundRectOutline(rect, corner.cx, corner.cy, Clockwise(pb));
    if (outline.empty()) return false;  // a plain rectangle
    std::vector<Figure> rows;
    for (const RECT& row : RoundRectRows(rect.left, rect.top, rect.right + 1, rect.bottom + 1,
                                         std::min<int>(corner.cx, rect.right - rect.left),
                                         std::min<int>(corner.cy, rect.bottom - rect.top)))
        if (row.right > row.left && row.bottom > row.top)
            rows.push_back(Figure{{{row.left, row.top},
                                   {row.right, row.top},
                                   {row.right, row.bottom},
                                   {row.left, row.bottom}},
                                  true});
    Draw(pb, rows, Outline(outline, true), WINDING);
    return true;
}

bool DrawPixelArc(Playback& pb, const RECTL& box, POINTL start, POINTL end, PixelArc kind) {
    RECT rect;
    if (!pb.gdiPixels || pb.pathBracketOpen || !DeviceBox(pb, box, &rect)) return false;
    const Affine& t = pb.ToDevice();
    const POINT centre{rect.left + (rect.right - rect.left) / 2,
                       rect.top + (rect.bottom - rect.top) / 2};
    POINT from = RoundToDevice(Apply(t, Logical(start)));
    POINT to = RoundToDevice(Apply(t, Logical(end)));
    from.x -= centre.x, from.y -= centre.y;
    to.x -= centre.x, to.y -= centre.y;
    std::vector<POINT> points = EllipseArcOutline(rect, from, to, Clockwise(pb));
    if (kind == PixelArc::Pie) points.push_back(centre);
    if (points.size() < 2) return true;  // GDI draws nothing
    const Figure outline = Outline(points, kind != PixelArc::Arc);
    if (kind == PixelArc::Arc)
        Draw(pb, {}, outline, WINDING);
    else
        Draw(pb, std::span<const Figure>(&outline, 1), outline, WINDING);
    return true;
}
