#include <algorithm>
#include <cmath>

#include "win32/gdi32/glyph_shape.h"

namespace {

// Curves are cut into at most this many chords, whatever the tolerance.
constexpr int kMaxCurveSegments = 256;
// With an area, a curve that needs more chords than this is halved first,
// so that only the halves near the area are cut finely.
constexpr int kSplitSegments = 16;
// Halvings of one curve: far below a pixel of any glyph a transform can
// make.
constexpr int kMaxSplitDepth = 40;

GlyphPoint Mid(GlyphPoint a, GlyphPoint b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

struct Flattener {
    const GlyphArea* area;
    double tolerance;
    size_t maxPoints;
    std::vector<std::vector<GlyphPoint>>* contours;
    size_t points = 0;
    GlyphPoint last;

    void Start(GlyphPoint p) {
        contours->emplace_back();
        Add(p);
    }
    void Add(GlyphPoint p) {
        std::vector<GlyphPoint>& c = contours->back();
        last = p;
        if (!c.empty() && c.back().x == p.x && c.back().y == p.y) return;
        c.push_back(p);
        ++points;
    }
    bool Full() const { return points >= maxPoints; }

    // True when every point lies beyond one side of the area.
    template <size_t N>
    bool Beyond(const GlyphPoint (&p)[N]) const {
        if (!area) return false;
        const auto all = [&](auto beyond) {
            return std::all_of(std::begin(p), std::end(p), beyond);
        };
        return all([&](GlyphPoint q) { return q.x < area->left; }) ||
               all([&](GlyphPoint q) { return q.x > area->right; }) ||
               all([&](GlyphPoint q) { return q.y < area->top; }) ||
               all([&](GlyphPoint q) { return q.y > area->bottom; });
    }
    // Chords for a curve whose control polygon bends by deviation: a curve
    // that bends by d strays d / (4 n^2) from n equal chords (quadratic;
    // the cubic bound is taken the same way).
    double Segments(double deviation) const {
        if (!(deviation > tolerance)) return 1;
        return std::ceil(std::sqrt(deviation / (4 * tolerance)));
    }
    bool Split(double segments, int depth) const {
        return area && segments > kSplitSegments && depth < kMaxSplitDepth;
    }
    int Chords(double segments) const {
        return static_cast<int>(std::min<double>(segments, kMaxCurveSegments));
    }

    void Conic(GlyphPoint p0, GlyphPoint p1, GlyphPoint p2, int depth) {
        if (Full() || Beyond({p0, p1, p2})) return Add(p2);
        const double segments =
            Segments(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y));
        if (Split(segments, depth)) {
            const GlyphPoint a = Mid(p0, p1), b = Mid(p1, p2), m = Mid(a, b);
            Conic(p0, a, m, depth + 1);
            Conic(m, b, p2, depth + 1);
            return;
        }
        const int n = Chords(segments);
        for (int i = 1; i <= n; ++i) {
            if (Full()) return Add(p2);
            const double t = static_cast<double>(i) / n, u = 1 - t;
            Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                 u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
        }
    }

    void Cubic(GlyphPoint p0, GlyphPoint p1, GlyphPoint p2, GlyphPoint p3, int depth) {
        if (Full() || Beyond({p0, p1, p2, p3})) return Add(p3);
        const double d1 = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
        const double d2 = std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y);
        const double segments = Segments(1.5 * std::max(d1, d2));
        if (Split(segments, depth)) {
            const GlyphPoint a = Mid(p0, p1), b = Mid(p1, p2), c = Mid(p2, p3);
            const GlyphPoint ab = Mid(a, b), bc = Mid(b, c), m = Mid(ab, bc);
            Cubic(p0, a, ab, m, depth + 1);
            Cubic(m, bc, c, p3, depth + 1);
            return;
        }
        const int n = Chords(segments);
        for (int i = 1; i <= n; ++i) {
            if (Full()) return Add(p3);
            const double t = static_cast<double>(i) / n, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            Add({a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                 a * p0.y + b * p1.y + c * p2.y + d * p3.y});
        }
    }
};

}  // namespace

void FlattenGlyph(const GlyphShape& shape, const GlyphTransform& transform, double tolerance,
                  const GlyphArea* area, size_t maxPoints,
                  std::vector<std::vector<GlyphPoint>>* contours) {
    contours->clear();
    Flattener f{area, tolerance, maxPoints, contours, 0, {}};
    size_t next = 0;
    const auto take = [&] { return transform.Apply(shape.points[next++]); };
    for (GlyphShape::Verb verb : shape.verbs) {
        switch (verb) {
            case GlyphShape::kMove: f.Start(take()); break;
            case GlyphShape::kLine: f.Add(take()); break;
            case GlyphShape::kConic: {
                const GlyphPoint p1 = take(), p2 = take();
                f.Conic(f.last, p1, p2, 0);
                break;
            }
            case GlyphShape::kCubic: {
                const GlyphPoint p1 = take(), p2 = take(), p3 = take();
                f.Cubic(f.last, p1, p2, p3, 0);
                break;
            }
        }
    }
    // Contours are closed: drop a last point that repeats the first, and
    // contours too small to enclose anything.
    for (auto& c : *contours)
        if (c.size() > 1 && c.back().x == c.front().x && c.back().y == c.front().y) c.pop_back();
    std::erase_if(*contours, [](const auto& c) { return c.size() < 3; });
}

void FinishGlyphShape(GlyphShape* shape) {
    if (!shape->points.empty()) {
        GlyphBox& b = shape->box;
        b = {shape->points[0].x, shape->points[0].y, shape->points[0].x, shape->points[0].y};
        for (const GlyphPoint& p : shape->points) {
            b.left = std::min(b.left, p.x);
            b.right = std::max(b.right, p.x);
            b.bottom = std::min(b.bottom, p.y);
            b.top = std::max(b.top, p.y);
        }
    }
    shape->verbs.shrink_to_fit();
    shape->points.shrink_to_fit();
}

GlyphArea TransformedBox(const GlyphBox& box, const GlyphTransform& transform) {
    const GlyphPoint corners[] = {
        transform.Apply({box.left, box.bottom}), transform.Apply({box.right, box.bottom}),
        transform.Apply({box.right, box.top}), transform.Apply({box.left, box.top})};
    GlyphArea a{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const GlyphPoint& p : corners) {
        a.left = std::min(a.left, p.x);
        a.right = std::max(a.right, p.x);
        a.top = std::min(a.top, p.y);
        a.bottom = std::max(a.bottom, p.y);
    }
    return a;
}
