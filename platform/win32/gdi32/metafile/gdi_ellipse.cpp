#include "win32/gdi32/metafile/gdi_ellipse.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The integer walk along the ellipse of w x h pixels (Zingl): x goes down
// from the right end towards the middle column while y grows from the
// middle row.
struct EllipseWalk {
    int64_t asq, bsq, dx, dy, err;
    EllipseWalk(int w, int h) {
        const int64_t a = w - 1, b = h - 1;
        asq = 8 * a * a;
        bsq = 8 * b * b;
        dx = 4 * b * b * (1 - a);
        dy = 4 * a * a * (1 + b % 2);
        err = dx + dy + a * a * (b % 2);
    }
    // One step: whether x moves and whether y does.
    void Step(bool* xMoves, bool* yMoves) {
        const int64_t e2 = 2 * err;
        *xMoves = e2 >= dx;
        *yMoves = e2 <= dy;
        if (*xMoves) dx += bsq, err += dx;
        if (*yMoves) dy += asq, err += dy;
    }
};

// The first quadrant of the ellipse of w x h pixels, counterclockwise from
// the x axis, in the ellipse's own pixels (0 .. w - 1, 0 .. h - 1).
std::vector<POINT> FirstQuadrant(int w, int h) {
    std::vector<POINT> quadrant;
    POINT p{w - 1, h / 2};
    EllipseWalk walk(w, h);
    while (p.x >= w / 2) {
        quadrant.push_back(p);
        bool xMoves, yMoves;
        walk.Step(&xMoves, &yMoves);
        if (xMoves) --p.x;
        if (yMoves) ++p.y;
    }
    return quadrant;
}

// The index along the outline (quadrants of count points from the x axis)
// where the ray from the centre through (x, y) crosses it; the quadrant's
// points are relative to the centre.
int RayIndex(const std::vector<POINT>& q, long long x, long long y) {
    const int count = static_cast<int>(q.size());
    int i = 0;
    if (y >= 0) {
        if (x >= 0) {
            while (i < count && !(q[i].x * y <= q[i].y * x)) ++i;
            return i;
        }
        while (i < count && !(q[i].x * y < q[i].y * -x)) ++i;
        return 2 * count - i;
    }
    if (x >= 0) {
        while (i < count && !(q[i].x * -y <= q[i].y * x)) ++i;
        return 4 * count - i;
    }
    while (i < count && !(q[i].x * -y < q[i].y * -x)) ++i;
    return 2 * count + i;
}

}  // namespace

std::vector<RECT> RoundRectRows(int left, int top, int right, int bottom, int width, int height) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // GDI leaves out the last column and row of the box.
    --right;
    --bottom;
    width = std::min(right - left, std::abs(width));
    height = std::min(bottom - top, std::abs(height));
    if (width < 2 || height < 2) return {RECT{left, top, right, bottom}};
    std::vector<RECT> rows(static_cast<size_t>(height));
    int x = 0, y = height / 2;
    rows[static_cast<size_t>(y)] = RECT{left, 0, right, 0};
    EllipseWalk walk(width, height);
    while (x <= width / 2) {
        bool xMoves, yMoves;
        walk.Step(&xMoves, &yMoves);
        if (xMoves) ++x;
        if (yMoves && ++y < height) rows[static_cast<size_t>(y)] = RECT{left + x, 0, right - x, 0};
    }
    const int b = height - 1;
    for (int i = 0; i < height; ++i) {
        RECT& row = rows[static_cast<size_t>(i)];
        if (i < height / 2) {
            row.left = rows[static_cast<size_t>(b - i)].left;
            row.right = rows[static_cast<size_t>(b - i)].right;
            row.top = top + i;
        } else {
            row.top = bottom - height + i;
        }
        row.bottom = row.top + 1;
    }
    // The middle row reaches up over the box's straight middle.
    rows[static_cast<size_t>(height / 2)].top = top + height / 2;
    return rows;
}

std::vector<POINT> RoundRectOutline(const RECT& box, int width, int height, bool clockwise) {
    width = std::min<int>(box.right - box.left, std::abs(width));
    height = std::min<int>(box.bottom - box.top, std::abs(height));
    if (width <= 2 || height <= 2) return {};
    std::vector<POINT> points = FirstQuadrant(width, height);
    for (POINT& p : points) {
        p.x = box.right - width + p.x;
        p.y = clockwise ? box.bottom - height + p.y : box.top + height - 1 - p.y;
    }
    // Mirrored left, then up or down; the middle point of a side that is
    // all ellipse is not doubled.
    const auto mirror = [](std::vector<POINT>& pts, bool dropMiddle, auto flip) {
        const size_t count = pts.size();
        size_t end = 2 * count - 1;
        if (dropMiddle) --end;
        pts.resize(end + 1);
        for (size_t i = 0; i < count; ++i) pts[end - i] = flip(pts[i]);
    };
    mirror(points, width % 2 && width == box.right - box.left, [&](POINT p) {
        return POINT{box.left + box.right - 1 - p.x, p.y};
    });
    mirror(points, height % 2 && height == box.bottom - box.top, [&](POINT p) {
        return POINT{p.x, box.top + box.bottom - 1 - p.y};
    });
    return points;
}

std::vector<POINT> EllipseArcOutline(const RECT& box, POINT start, POINT end, bool clockwise) {
    const int width = box.right - box.left, height = box.bottom - box.top;
    std::vector<POINT> q = FirstQuadrant(width, height);
    for (POINT& p : q) p.x -= width / 2, p.y -= height / 2;
    const int count = static_cast<int>(q.size());
    std::vector<POINT> points;
    if (count == 0) return points;
    if (!clockwise) start.y = -start.y, end.y = -end.y;
    const int from = RayIndex(q, start.x, start.y);
    int to = RayIndex(q, end.x, end.y);
    if (to <= from) to += 4 * count;
    const int cx = box.left + width / 2, cy = box.top + height / 2;
    const int rx = box.right - 1 - width / 2, ry = box.bottom - 1 - height / 2;
    for (int i = from; i < to; ++i) {
        const POINT& a = q[static_cast<size_t>(i % count)];
        const POINT& b = q[static_cast<size_t>(count - 1 - i % count)];
        // Down from the middle row, or up from it: counterclockwise on the
        // screen is the clockwise walk mirrored top to bottom.
        const int quadrant = (i / count) % 4;
        const bool lower = (quadrant < 2) == clockwise;
        const auto y = [&](int v) { return lower ? cy + v : ry - v; };
        switch (quadrant) {
            case 0: points.push_back({cx + a.x, y(a.y)}); break;
            case 1: points.push_back({rx - b.x, y(b.y)}); break;
            case 2: points.push_back({rx - a.x, y(a.y)}); break;
            default: points.push_back({cx + b.x, y(b.y)}); break;
        }
    }
    return points;
}
