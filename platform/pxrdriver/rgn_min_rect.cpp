// HT_GetRgnMinRect: a rectangle wholly inside a region, so that primitives
// within it need no clipping in software.
//
// The region's bounds are cut by a grid of at most a few dozen lines a side,
// taken from the region's own vertex coordinates (so that regions made of
// rectangles are cut exactly) and, where borders are slanted, topped up with
// even steps (so that those get a staircase). A grid cell whose open inside
// no border passes through lies wholly inside or wholly outside, as its
// centre does; the largest rectangle of inside cells is the answer. The
// cells are closed and the region is taken as closed, so the rectangle's
// border lines belong to it.
#include <algorithm>
#include <vector>

#include "region_internal.h"
#include "wide_int.h"

namespace {

using Wide = WideInt;

struct Edge {
    std::int64_t ax, ay, bx, by;
};

// Work allowed for one region, in edge-cell tests; larger regions get a
// coarser grid.
constexpr std::int64_t kWorkBudget = 20'000'000;
constexpr size_t kMaxLines = 65;

// Up to nLines grid lines between the smallest and largest coordinate; the
// coordinates themselves when they are fewer and bTopUp is false.
std::vector<std::int64_t> GridLines(std::vector<std::int64_t> coords, size_t nLines, bool bTopUp) {
    std::sort(coords.begin(), coords.end());
    coords.erase(std::unique(coords.begin(), coords.end()), coords.end());
    std::vector<std::int64_t> lines;
    if (coords.size() > nLines) {
        for (size_t i = 0; i < nLines; ++i)
            lines.push_back(coords[i * (coords.size() - 1) / (nLines - 1)]);
    } else {
        lines = coords;
        const std::int64_t lo = coords.front(), hi = coords.back();
        const size_t nSteps = bTopUp ? nLines - coords.size() : 0;
        for (size_t k = 1; k <= nSteps; ++k) {
            lines.push_back(lo + (hi - lo) * std::int64_t(k) / std::int64_t(nSteps + 1));
        }
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// The cells i (between lines[i] and lines[i + 1]) whose open span meets the
// open span (lo, hi); first > last when none.
std::pair<size_t, size_t> CellRange(const std::vector<std::int64_t>& lines, std::int64_t lo,
                                    std::int64_t hi) {
    // First cell whose right line lies beyond lo; last cell whose left line lies before hi.
    const size_t first = size_t(std::upper_bound(lines.begin(), lines.end(), lo) - lines.begin());
    const size_t last = size_t(std::lower_bound(lines.begin(), lines.end(), hi) - lines.begin());
    return {first == 0 ? 0 : first - 1, last == 0 ? 0 : last - 1};
}

// Whether the edge passes through the open inside of the box.
bool CrossesOpenBox(const Edge& e, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1) {
    if (std::max(e.ax, e.bx) <= x0 || std::min(e.ax, e.bx) >= x1) return false;
    if (std::max(e.ay, e.by) <= y0 || std::min(e.ay, e.by) >= y1) return false;
    const std::int64_t dx = e.bx - e.ax, dy = e.by - e.ay;
    const std::int64_t cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
    bool bPositive = false, bNegative = false;
    for (int k = 0; k < 4; ++k) {
        const Wide side = Wide(dx) * (cy[k] - e.ay) - Wide(dy) * (cx[k] - e.ax);
        bPositive |= side > 0;
        bNegative |= side < 0;
    }
    return bPositive && bNegative;
}

struct Grid {
    std::vector<std::int64_t> xs, ys;
    std::vector<char> inside;  // (ys.size() - 1) rows of (xs.size() - 1) cells
    size_t Columns() const { return xs.size() - 1; }
    size_t Rows() const { return ys.size() - 1; }
};

std::int64_t WorkOf(const std::vector<Edge>& edges, const Grid& grid) {
    std::int64_t work = std::int64_t(grid.Rows()) * std::int64_t(edges.size());
    for (const Edge& e : edges) {
        const auto cols = CellRange(grid.xs, std::min(e.ax, e.bx), std::max(e.ax, e.bx));
        const auto rows = CellRange(grid.ys, std::min(e.ay, e.by), std::max(e.ay, e.by));
        const auto span = [](std::pair<size_t, size_t> r) {
            return r.second >= r.first ? std::int64_t(r.second - r.first + 1) : 0;
        };
        work += span(cols) * span(rows);
        if (work > kWorkBudget) break;
    }
    return work;
}

void MarkInsideCells(const std::vector<Edge>& edges, Grid& grid) {
    const size_t nCols = grid.Columns(), nRows = grid.Rows();
    std::vector<char> crossed(nCols * nRows, 0);
    for (const Edge& e : edges) {
        const auto cols = CellRange(grid.xs, std::min(e.ax, e.bx), std::max(e.ax, e.bx));
        const auto rows = CellRange(grid.ys, std::min(e.ay, e.by), std::max(e.ay, e.by));
        for (size_t r = rows.first; r <= rows.second && r < nRows; ++r) {
            for (size_t c = cols.first; c <= cols.second && c < nCols; ++c) {
                if (crossed[r * nCols + c]) continue;
                if (CrossesOpenBox(e, grid.xs[c], grid.ys[r], grid.xs[c + 1], grid.ys[r + 1])) {
                    crossed[r * nCols + c] = 1;
                }
            }
        }
    }
    // A cell untouched by the border is inside when its centre is: an odd
    // number of border crossings on the centre row lies to its right. No
    // crossing can be near a centre of such a cell, so doubles decide
    // exactly.
    grid.inside.assign(nCols * nRows, 0);
    std::vector<double> crossings;
    for (size_t r = 0; r < nRows; ++r) {
        const double y = (static_cast<double>(grid.ys[r]) + grid.ys[r + 1]) / 2;
        crossings.clear();
        for (const Edge& e : edges) {
            if ((e.ay > y) == (e.by > y)) continue;
            crossings.push_back(e.ax + (y - e.ay) * static_cast<double>(e.bx - e.ax) /
                                           static_cast<double>(e.by - e.ay));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t c = 0; c < nCols; ++c) {
            if (crossed[r * nCols + c]) continue;
            const double x = (static_cast<double>(grid.xs[c]) + grid.xs[c + 1]) / 2;
            const size_t nRight =
                size_t(crossings.end() - std::upper_bound(crossings.begin(), crossings.end(), x));
            grid.inside[r * nCols + c] = (nRight % 2) == 1;
        }
    }
}

// The largest rectangle of inside cells by area in device units; false when
// no cell is inside. Row by row, the inside cells reaching up from the row
// form a histogram whose largest rectangle a stack finds.
bool LargestInsideRect(const Grid& grid, CRect* pInner) {
    const size_t nCols = grid.Columns(), nRows = grid.Rows();
    WideInt best = 0;
    std::vector<std::int64_t> heights(nCols, 0);
    std::vector<size_t> stack;
    for (size_t r = 0; r < nRows; ++r) {
        const std::int64_t bottom = grid.ys[r + 1];
        for (size_t c = 0; c < nCols; ++c) {
            heights[c] = grid.inside[r * nCols + c] ? heights[c] + (bottom - grid.ys[r]) : 0;
        }
        stack.clear();
        for (size_t c = 0; c <= nCols; ++c) {
            const std::int64_t height = c < nCols ? heights[c] : 0;
            while (!stack.empty() && heights[stack.back()] >= height) {
                const std::int64_t top = heights[stack.back()];
                stack.pop_back();
                const size_t left = stack.empty() ? 0 : stack.back() + 1;
                const WideInt area =
                    static_cast<WideInt>(grid.xs[c] - grid.xs[left]) * static_cast<WideInt>(top);
                if (top > 0 && area > best) {
                    best = area;
                    *pInner =
                        CRect(pxr_region::ClampToLong(grid.xs[left]),
                              pxr_region::ClampToLong(bottom - top),
                              pxr_region::ClampToLong(grid.xs[c]), pxr_region::ClampToLong(bottom));
                }
            }
            stack.push_back(c);
        }
    }
    return best > 0;
}

}  // namespace

int HT_GetRgnMinRect(const HT_ClipRgn* pRegion, CRect* pInner) {
    if (pInner != nullptr) *pInner = CRect(0, 0, 0, 0);
    if (pRegion == nullptr || pInner == nullptr) return 0;
    try {
        const ClipperLib::Paths region =
            pxr_region::Normalize(pxr_region::PathsFromList(pRegion), ClipperLib::pftEvenOdd);
        if (region.empty()) return 0;
        if (pxr_region::IsOneRectangle(region)) {
            *pInner = CRect(pxr_region::Bounds(region));
            return 1;
        }
        std::vector<Edge> edges;
        std::vector<std::int64_t> xs, ys;
        // Borders that are all level or upright meet only at vertex
        // coordinates, which make an exact grid; slanted ones need steps.
        bool bSlanted = false;
        for (const ClipperLib::Path& path : region) {
            for (size_t i = 0; i < path.size(); ++i) {
                const ClipperLib::IntPoint& a = path[i];
                const ClipperLib::IntPoint& b = path[(i + 1) % path.size()];
                xs.push_back(a.X);
                ys.push_back(a.Y);
                if (!(a == b)) edges.push_back({a.X, a.Y, b.X, b.Y});
                bSlanted |= a.X != b.X && a.Y != b.Y;
            }
        }
        Grid grid;
        for (size_t nLines = kMaxLines; nLines >= 2; nLines = nLines / 2 + 1) {
            grid.xs = GridLines(xs, nLines, bSlanted);
            grid.ys = GridLines(ys, nLines, bSlanted);
            if (grid.xs.size() < 2 || grid.ys.size() < 2) return 0;
            if (nLines == 2 || WorkOf(edges, grid) <= kWorkBudget) break;
        }
        MarkInsideCells(edges, grid);
        CRect inner;
        if (!LargestInsideRect(grid, &inner)) return 0;
        *pInner = inner;
        return 1;
    } catch (...) {
        return 0;
    }
}
