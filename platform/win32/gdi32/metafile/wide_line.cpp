#include "gdi32/metafile/wide_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "win32/gdi32/metafile/gdi_ellipse.h"

namespace {

using Polygons = std::vector<std::vector<POINT>>;

// Round caps and joins of pens up to this width are GDI's elliptic region,
// a rectangle a row; wider ones a polygon of kDiscCorners corners.
constexpr int kLargestDisc = 1024;
constexpr int kDiscCorners = 256;

// One end of a segment's quadrilateral: the side across the line there,
// and the segment's direction.
struct Face {
    POINT start{0, 0};
    POINT end{0, 0};
    long long dx = 0;
    long long dy = 0;
};

POINT Offset(POINT p, long long dx, long long dy) {
    return POINT{static_cast<LONG>(p.x + dx), static_cast<LONG>(p.y + dy)};
}

// Where along a dash pattern a line is: the pattern entry in force, what
// is left of it, and whether it is a dash (else a gap).
class DashWalk {
public:
    explicit DashWalk(const std::vector<double>& dashes) : m_dashes(dashes) {
        m_whole =
            std::all_of(dashes.begin(), dashes.end(), [](double d) { return d == std::floor(d); });
        Reset();
    }
    void Reset() {
        m_entry = 0;
        m_left = m_dashes.empty() ? 0 : m_dashes[0];
        m_dash = true;
    }
    double Left() const { return m_left; }
    // A pattern of whole pixels, as GDI's are.
    bool Whole() const { return m_whole; }
    bool Dash() const { return m_dash; }
    // Moves on by less than what is left of the entry.
    void Advance(double length) { m_left -= std::clamp(length, 0.0, m_left); }
    // Moves to the start of the next entry, even one of no length, so that
    // a dot of no length is drawn (by its caps). (Wine takes a whole period
    // for none and draws only the first dot of a round PS_DOT.)
    void Next() {
        m_entry = (m_entry + 1) % m_dashes.size();
        m_left = m_dashes[m_entry];
        m_dash = !m_dash;
    }

private:
    const std::vector<double>& m_dashes;
    size_t m_entry = 0;
    double m_left = 0;
    bool m_dash = true;
    bool m_whole = true;
};

class Widener {
public:
    Widener(const WidePen& pen, Polygons& out) : m_pen(pen), m_out(out), m_dashes(pen.dashes) {
        const int w = pen.width;
        if (pen.cap != PS_ENDCAP_ROUND && pen.join != PS_JOIN_ROUND) return;
        if (w <= kLargestDisc) {
            m_disc =
                RoundRectRows(-(w / 2), -(w / 2), (w + 1) / 2 + 1, (w + 1) / 2 + 1, w + 1, w + 1);
            return;
        }
        // Far wider than any pen GDI draws: a polygon of many corners.
        for (int i = 0; i < kDiscCorners; ++i) {
            const double a = 2 * std::numbers::pi * i / kDiscCorners;
            m_circle.push_back(POINT{static_cast<LONG>(std::lround(w / 2.0 * std::cos(a))),
                                     static_cast<LONG>(std::lround(w / 2.0 * std::sin(a)))});
        }
    }

    void Figure(std::vector<POINT> points, bool closed) {
        // Repeated points at either end are dropped.
        while (points.size() > 2 && Same(points[0], points[1])) points.erase(points.begin());
        while (points.size() > 2 && Same(points[points.size() - 1], points[points.size() - 2]))
            points.pop_back();
        if (points.size() < 2) return;
        double period = 0;
        for (double d : m_pen.dashes) period += std::max(0.0, d);
        if (period <= 0) {  // solid, or dashes of no length that cannot show
            const size_t n = points.size();
            Segments(points, closed, 0, closed ? n : n - 1, points[0],
                     closed ? points[0] : points[n - 1]);
        } else {
            Dashed(points, closed);
        }
    }

private:
    static bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

    void Add(std::vector<POINT> polygon) { m_out.push_back(std::move(polygon)); }
    void AddRect(long long l, long long t, long long r, long long b) {
        if (r <= l || b <= t) return;
        const LONG L = static_cast<LONG>(l), T = static_cast<LONG>(t);
        const LONG R = static_cast<LONG>(r), B = static_cast<LONG>(b);
        Add({{L, T}, {R, T}, {R, B}, {L, B}});
    }
    void Disc(POINT at) {
        if (!m_circle.empty()) {
            std::vector<POINT> circle;
            for (const POINT& p : m_circle) circle.push_back(Offset(at, p.x, p.y));
            return Add(std::move(circle));
        }
        for (const RECT& row : m_disc)
            AddRect(at.x + row.left, at.y + row.top, at.x + row.right, at.y + row.bottom);
    }
    void Cap(POINT at) {
        if (m_pen.cap == PS_ENDCAP_ROUND) Disc(at);
    }

    // The quadrilateral of the segment from p1 to p2 running (dx, dy);
    // false (faces untouched) when it has no length.
    bool Segment(POINT p1, POINT p2, long long dx, long long dy, bool cap1, bool cap2, Face* f1,
                 Face* f2) {
        if (dx == 0 && dy == 0) return false;
        const long long w = m_pen.width;
        const bool square1 = cap1 && m_pen.cap == PS_ENDCAP_SQUARE;
        const bool square2 = cap2 && m_pen.cap == PS_ENDCAP_SQUARE;
        if (dy == 0) {
            long long l = std::min(p1.x, p2.x), r = std::max(p1.x, p2.x);
            const long long t = p1.y - w / 2, b = t + w;
            if ((square1 && dx > 0) || (square2 && dx < 0)) l -= w / 2;
            if ((square2 && dx > 0) || (square1 && dx < 0)) r += w / 2;
            AddRect(l, t, r, b);
            const LONG L = static_cast<LONG>(l), R = static_cast<LONG>(r);
            const LONG T = static_cast<LONG>(t), B = static_cast<LONG>(b);
            if (dx > 0)
                *f1 = {{L, B}, {L, T}}, *f2 = {{R - 1, T}, {R - 1, B}};
            else
                *f1 = {{R, T}, {R, B}}, *f2 = {{L + 1, B}, {L + 1, T}};
        } else if (dx == 0) {
            long long t = std::min(p1.y, p2.y), b = std::max(p1.y, p2.y);
            const long long l = p1.x - w / 2, r = l + w;
            if ((square1 && dy > 0) || (square2 && dy < 0)) t -= w / 2;
            if ((square2 && dy > 0) || (square1 && dy < 0)) b += w / 2;
            AddRect(l, t, r, b);
            const LONG L = static_cast<LONG>(l), R = static_cast<LONG>(r);
            const LONG T = static_cast<LONG>(t), B = static_cast<LONG>(b);
            if (dy > 0)
                *f1 = {{L, T}, {R, T}}, *f2 = {{R, B - 1}, {L, B - 1}};
            else
                *f1 = {{R, B}, {L, B}}, *f2 = {{L, T + 1}, {R, T + 1}};
        } else {
            // Half the width across the line, in whole pixels on each axis:
            // the narrow half on one side, the wide half on the other.
            const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
            const double wx = static_cast<double>(w) * std::llabs(dy) / length;
            const double wy = static_cast<double>(w) * std::llabs(dx) / length;
            POINT narrow{static_cast<LONG>(std::round(wx / 2)),
                         static_cast<LONG>(std::round(wy / 2))};
            POINT wide{static_cast<LONG>(std::round((wx + 1) / 2)),
                       static_cast<LONG>(std::round((wy + 1) / 2))};
            if (dx < 0) wide.y = -wide.y, narrow.y = -narrow.y;
            if (dy < 0) {
                std::swap(narrow, wide);
                wide.x = -wide.x, narrow.x = -narrow.x;
            }
            POINT q[4] = {Offset(p1, -narrow.x, narrow.y), Offset(p1, wide.x, -wide.y),
                          Offset(p2, wide.x, -wide.y), Offset(p2, -narrow.x, narrow.y)};
            if (square1)
                for (int i : {0, 1}) q[i] = Offset(q[i], -narrow.y, -narrow.x);
            if (square2)
                for (int i : {2, 3}) q[i] = Offset(q[i], wide.y, wide.x);
            Add({q[0], q[1], q[2], q[3]});
            *f1 = {q[0], q[1]};
            *f2 = {q[2], q[3]};
        }
        f1->dx = f2->dx = dx;
        f1->dy = f2->dy = dy;
        return true;
    }

    // The corner at `at` between the face where one segment ends and the
    // face where the next starts.
    void Join(POINT at, const Face& a, const Face& b) {
        if (m_pen.join == PS_JOIN_ROUND) return Disc(at);
        if (m_pen.join == PS_JOIN_MITER && Miter(at, a, b)) return;
        Add({a.start, b.end, a.end, b.start});
    }

    bool Miter(POINT at, Face a, Face b) {
        long long det = a.dx * b.dy - a.dy * b.dx;
        if (det == 0) return false;
        if (det < 0) std::swap(a, b), det = -det;
        // Where the outer sides meet.
        const double p = static_cast<double>(b.end.x * b.dy - b.end.y * b.dx) / det;
        const double q = static_cast<double>(a.start.x * a.dy - a.start.y * a.dx) / det;
        const double x = p * a.dx - q * b.dx, y = p * a.dy - q * b.dy;
        const double limit = m_pen.miterLimit * m_pen.width;
        if (((x - at.x) * (x - at.x) + (y - at.y) * (y - at.y)) * 4 > limit * limit) return false;
        Add({b.start, a.start,
             POINT{static_cast<LONG>(std::floor(x + 0.5)), static_cast<LONG>(std::floor(y + 0.5))},
             b.end, a.end});
        return true;
    }

    // count segments of the figure from points[start], the first starting
    // at first and the last ending at last (a dash's ends, or the figure's).
    void Segments(const std::vector<POINT>& pts, bool closed, size_t start, size_t count,
                  POINT first, POINT last) {
        const size_t n = pts.size();
        const auto at = [&](size_t i) { return pts[(start + i) % n]; };
        const auto run = [&](size_t i, long long* dx, long long* dy) {
            *dx = static_cast<long long>(at(i + 1).x) - at(i).x;
            *dy = static_cast<long long>(at(i + 1).y) - at(i).y;
        };
        if (!closed) Cap(first), Cap(last);
        long long dx, dy;
        Face f1, f2, previous, firstFace;
        run(0, &dx, &dy);
        if (count == 1) {
            Segment(first, last, dx, dy, true, true, &f1, &f2);
            return;
        }
        Segment(first, at(1), dx, dy, !closed, false, &firstFace, &previous);
        for (size_t i = 1; i + 1 < count; ++i) {
            run(i, &dx, &dy);
            if (Segment(at(i), at(i + 1), dx, dy, false, false, &f1, &f2)) {
                Join(at(i), previous, f1);
                previous = f2;
            }
        }
        run(count - 1, &dx, &dy);
        Segment(at(count - 1), last, dx, dy, false, !closed, &f1, &f2);
        Join(at(count - 1), previous, f1);
        if (closed) Join(last, f2, firstFace);
    }

    // The figure cut into dashes along its segments; a dash runs on round
    // corners, and on a closed figure the last dash joins the first.
    void Dashed(const std::vector<POINT>& pts, bool closed) {
        const size_t n = pts.size();
        m_dashes.Reset();
        size_t start = 0, firstCount = 0;
        bool firstDone = false;
        POINT from = pts[0], firstEnd{0, 0};
        double used = 0;  // along the segment, up to from
        const size_t segments = closed ? n : n - 1;
        for (size_t i = 0; i < segments; ++i) {
            const POINT a = pts[i], b = pts[(i + 1) % n];
            long long dx = static_cast<long long>(b.x) - a.x,
                      dy = static_cast<long long>(b.y) - a.y;
            if (dx == 0 && dy == 0) continue;
            const double length = dy == 0   ? std::llabs(dx)
                                  : dx == 0 ? std::llabs(dy)
                                            : std::hypot(double(dx), double(dy));
            if (length - used < m_dashes.Left()) {
                // GDI's patterns of whole pixels go on by whole pixels.
                const double rest = length - used;
                m_dashes.Advance(m_dashes.Whole() ? std::trunc(rest) : rest);
                used = 0;
                continue;
            }
            used += m_dashes.Left();
            // GDI cuts its whole-pixel patterns towards the segment's start;
            // patterns of fractions of a pixel are cut at the nearest pixel.
            const auto whole = [&](double v) {
                return static_cast<long long>(m_dashes.Whole() ? std::trunc(v) : std::round(v));
            };
            if (dy == 0)
                dx = whole(dx > 0 ? used : -used);
            else if (dx == 0)
                dy = whole(dy > 0 ? used : -used);
            else
                dx = whole(dx * used / length), dy = whole(dy * used / length);
            const POINT to = Offset(a, dx, dy);
            if (m_dashes.Dash()) {
                if (!firstDone && closed) {
                    firstCount = i - start + 1;
                    firstEnd = to;
                } else {
                    Segments(pts, false, start, i - start + 1, from, to);
                }
            }
            firstDone = true;
            m_dashes.Next();
            from = to;
            start = i;
            --i;  // on along the same segment
        }
        if (m_dashes.Dash()) {
            if (firstCount > 0)
                Segments(pts, false, start, n - start + firstCount, from, firstEnd);
            else if (closed)
                Segments(pts, false, start, n - start, from, pts[0]);
            else
                Segments(pts, false, start, n - start - 1, from, pts[n - 1]);
        } else if (firstCount > 0) {
            Segments(pts, false, 0, firstCount, pts[0], firstEnd);
        }
    }

    const WidePen& m_pen;
    Polygons& m_out;
    DashWalk m_dashes;
    std::vector<RECT> m_disc;     // round caps and joins, about (0, 0)
    std::vector<POINT> m_circle;  // the same for pens too wide for rows
};

}  // namespace

std::vector<std::vector<POINT>> WidenFigures(std::span<const FigureView> figures,
                                             const WidePen& pen) {
    Polygons out;
    Widener widener(pen, out);
    for (const FigureView& figure : figures)
        widener.Figure(std::vector<POINT>(figure.points.begin(), figure.points.end()),
                       figure.closed);
    return out;
}
