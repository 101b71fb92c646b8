#include "win32/gdi32/metafile/gdi_path.h"

void GdiPath::StartFigure(DPoint p) {
    if (m_count == m_figures.size()) m_figures.emplace_back();
    Figure& figure = m_figures[m_count++];
    figure.points.clear();
    figure.points.push_back(RoundToDevice(p));
    figure.closed = false;
    m_open = true;
}

void GdiPath::StartFigureIfNone(DPoint p) {
    if (!m_open) StartFigure(p);
}

void GdiPath::AddPoint(DPoint p) {
    if (!m_open) {
        StartFigure(p);
        return;
    }
    const POINT q = RoundToDevice(p);
    std::vector<POINT>& points = m_figures[m_count - 1].points;
    if (points.back().x != q.x || points.back().y != q.y) points.push_back(q);
}

void GdiPath::AddPoints(const std::vector<DPoint>& points) {
    for (const DPoint& p : points) AddPoint(p);
}

void GdiPath::CloseFigure() {
    if (m_open) m_figures[m_count - 1].closed = true;
    m_open = false;
}

void GdiPath::Clear() {
    m_count = 0;
    m_open = false;
}

std::vector<POINT> JoinFigures(std::span<const Figure> figures) {
    std::vector<POINT> joined;
    std::vector<POINT> bridge;  // the starts of the figures joined so far
    for (const Figure& figure : figures) {
        if (figure.points.size() < 3) continue;
        const POINT start = figure.points.front();
        if (!bridge.empty()) joined.push_back(start);  // along the bridge to this figure
        joined.insert(joined.end(), figure.points.begin(), figure.points.end());
        joined.push_back(start);  // the figure closed
        bridge.push_back(start);
    }
    // Back along the bridge to the first figure's start.
    for (size_t i = bridge.size(); i-- > 1;) joined.push_back(bridge[i - 1]);
    return joined;
}
