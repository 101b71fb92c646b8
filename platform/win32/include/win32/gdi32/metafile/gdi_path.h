// Figures in device pixels: the path a metafile builds between BEGINPATH and
// ENDPATH, and the outline of any one primitive the player draws. Points
// are transformed when they are added, as GDI stores paths.
#pragma once

#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_transform.h"

struct Figure {
    std::vector<POINT> points;  // no two neighbours equal
    bool closed = false;
};

// A figure's points without owning them (a display list keeps its figures'
// points in blocks of its own).
struct FigureView {
    std::span<const POINT> points;
    bool closed = false;
};

class GdiPath {
public:
    // Ends the open figure: the next point starts a new one.
    void EndFigure() { m_open = false; }
    // Starts a new figure at p.
    void StartFigure(DPoint p);
    // Starts a figure at p unless one is open.
    void StartFigureIfNone(DPoint p);
    // Continues the open figure (starting one at p when none is open).
    void AddPoint(DPoint p);
    void AddPoints(const std::vector<DPoint>& points);
    // Closes the open figure; the next point starts a new one.
    void CloseFigure();
    // Empties the path; the memory of its figures is kept for the next
    // ones, so that a primitive a record costs no allocation.
    void Clear();

    bool HasOpenFigure() const { return m_open; }
    bool Empty() const { return m_count == 0; }
    std::span<const Figure> Figures() const { return {m_figures.data(), m_count}; }

private:
    std::vector<Figure> m_figures;  // the first m_count are in use
    size_t m_count = 0;
    bool m_open = false;
};

// One polygon whose fill under either fill mode is the fill of all the
// figures together: each figure is entered from and left back to the start
// of the first one along the same edges, which cancel out under both rules.
// Region functions that take a single polygon get several figures this way.
std::vector<POINT> JoinFigures(std::span<const Figure> figures);
