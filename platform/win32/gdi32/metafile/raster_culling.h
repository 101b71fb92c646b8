// What of a figure can reach the rows a painter draws. A band of a page
// draws the primitives that touch it whole; these leave out what lies wholly
// above or below the band, so that a tall figure costs a band the part of it
// near the band, and the band's pixels stay what drawing the whole figure
// gives.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include <windows.h>

// The rows [top, bottom) that matter, in page pixels.
struct RowReach {
    long long top;
    long long bottom;
    int Side(const POINT& p) const { return p.y < top ? -1 : p.y >= bottom ? 1 : 0; }
};

// A closed figure for a fill of the rows: each run of points beyond one
// side becomes its first and last point. The line between them stays
// beyond that side, as the run did, so no edge that crosses a row changes.
void CullFillFigure(std::span<const POINT> points, const RowReach& reach, std::vector<POINT>* out);

// A polyline for a stroke of the rows (reach widened by the stroke's
// reach): cut where a segment lies wholly beyond one side, so that what is
// left ends where the stroke's ends and corners cannot reach the rows.
// emit gets each piece of two points or more.
void CullStrokePolyline(std::span<const POINT> points, const RowReach& reach,
                        const std::function<void(std::span<const POINT>)>& emit);

// A figure for a wide pen's stroke of the rows (reach widened by the
// stroke's reach), as pen-wide quadrilaterals draw it: each run of segments
// not wholly beyond one side, with the segment beyond it at either end
// (which takes the cap, so that the run's own segments and joins stay what
// the whole figure gives them). A closed figure is opened at a segment
// beyond a side, that segment at both ends; with none, it goes whole.
// emit gets each piece, and whether it is closed.
void CullWidePolyline(std::span<const POINT> points, bool closed, const RowReach& reach,
                      std::vector<POINT>* scratch,
                      const std::function<void(std::span<const POINT>, bool)>& emit);

// Every edge horizontal or vertical (the closing one too when closed): cairo
// draws such paths by a way of its own, which a culled figure must take too.
bool Rectilinear(std::span<const POINT> points, bool closed);
