#include "win32/gdi32/metafile/record_geometry.h"

#include <algorithm>
#include <numbers>

namespace {

struct Box {
    double left, top, right, bottom;
};

Box Normalized(const RECTL& r) {
    return {static_cast<double>(std::min(r.left, r.right)),
            static_cast<double>(std::min(r.top, r.bottom)),
            static_cast<double>(std::max(r.left, r.right)),
            static_cast<double>(std::max(r.top, r.bottom))};
}

void AddClosed(GdiPath* path, const std::vector<DPoint>& points, bool clockwise) {
    if (points.empty()) return;
    path->StartFigure(points.front());
    if (clockwise) {
        // The same outline from the same corner, the other way round.
        for (size_t i = points.size(); i-- > 1;) path->AddPoint(points[i]);
    } else {
        for (size_t i = 1; i < points.size(); ++i) path->AddPoint(points[i]);
    }
    path->CloseFigure();
}

}  // namespace

EllipseArc EllipseInBox(const RECTL& box) {
    const Box b = Normalized(box);
    EllipseArc e;
    e.center = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    e.rx = (b.right - b.left) / 2;
    e.ry = (b.bottom - b.top) / 2;
    return e;
}

EllipseArc ArcInBox(const RECTL& box, POINTL start, POINTL end, bool clockwise) {
    EllipseArc arc = EllipseInBox(box);
    const double a =
        EllipseAngleOf(arc, {static_cast<double>(start.x), static_cast<double>(start.y)});
    const double b = EllipseAngleOf(arc, {static_cast<double>(end.x), static_cast<double>(end.y)});
    arc.start = a;
    arc.sweep = ArcSweep(a, b, clockwise);
    return arc;
}

std::vector<DPoint> ArcPoints(const EllipseArc& arc, const Affine& toDevice) {
    std::vector<DPoint> points;
    FlattenArc(arc, toDevice, kFlatness, true, &points);
    return points;
}

void AddRectangle(GdiPath* path, const RECTL& box, bool clockwise, const Affine& t) {
    const Box b = Normalized(box);
    AddClosed(path,
              {Apply(t, {b.right, b.top}), Apply(t, {b.left, b.top}), Apply(t, {b.left, b.bottom}),
               Apply(t, {b.right, b.bottom})},
              clockwise);
}

void AddRoundRect(GdiPath* path, const RECTL& box, SIZEL corner, bool clockwise, const Affine& t) {
    const Box b = Normalized(box);
    const double rx =
        std::min(std::abs(static_cast<double>(corner.cx)) / 2, (b.right - b.left) / 2);
    const double ry =
        std::min(std::abs(static_cast<double>(corner.cy)) / 2, (b.bottom - b.top) / 2);
    if (rx <= 0 || ry <= 0) {
        AddRectangle(path, box, clockwise, t);
        return;
    }
    constexpr double kQuarter = std::numbers::pi / 2;
    // Counterclockwise from the right end of the top edge: the four corner
    // arcs, a quarter turn each.
    const DPoint centers[4] = {{b.right - rx, b.top + ry},
                               {b.left + rx, b.top + ry},
                               {b.left + rx, b.bottom - ry},
                               {b.right - rx, b.bottom - ry}};
    std::vector<DPoint> points;
    for (int i = 0; i < 4; ++i) {
        EllipseArc corner{centers[i], rx, ry, i * kQuarter, kQuarter};
        FlattenArc(corner, t, kFlatness, true, &points);
    }
    AddClosed(path, points, clockwise);
}

void FlattenBeziers(DPoint start, std::span<const DPoint> points, const Affine& t,
                    std::vector<DPoint>* out, const CurveCulling& culling, bool gdiPixels) {
    DPoint from = Apply(t, start);
    for (size_t i = 0; i + 2 < points.size(); i += 3) {
        const DPoint c1 = Apply(t, points[i]), c2 = Apply(t, points[i + 1]);
        const DPoint to = Apply(t, points[i + 2]);
        if (culling.Outside(from, c1, c2, to))
            out->push_back(to);
        else if (gdiPixels)
            FlattenGdiBezier(RoundToDevice(from), RoundToDevice(c1), RoundToDevice(c2),
                             RoundToDevice(to), out);
        else
            FlattenCubic(from, c1, c2, to, kFlatness, out);
        from = to;
    }
}
