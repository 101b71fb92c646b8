// Drawing of the plot reader: pen moves, encoded polylines, polygon mode,
// fills and edges.
#include <algorithm>
#include <cmath>

#include "reader/plot_interpreter.h"

namespace plot {

bool PlotInterpreter::MoveTo(double ux, double uy, bool down) {
    if (!std::isfinite(ux) || !std::isfinite(uy)) return Fail("coordinate out of range");
    const Point target = UserToPlu(ux, uy);
    if (m_inPolygon) {
        NoteGeometry(ux, uy);
        if (m_newSubPolygon || m_polygon.empty()) {
            m_polygon.push_back(SubPolygon{{target}, {false}});
            m_newSubPolygon = false;
        } else {
            m_polygon.back().points.push_back(target);
            m_polygon.back().edgeDown.push_back(down);
        }
    } else if (down) {
        if (m_stroke.empty()) {
            m_stroke.push_back(m_penAt);
            const Point from = PluToUser(m_penAt);
            NoteGeometry(from.x, from.y);
        }
        m_stroke.push_back(target);
        NoteGeometry(ux, uy);
    } else if (!FlushStroke()) {
        return false;
    }
    m_penAt = target;
    return true;
}

bool PlotInterpreter::FlushStroke() {
    if (m_stroke.size() < 2) {
        m_stroke.clear();
        return true;
    }
    std::vector<Point> stroke;
    stroke.swap(m_stroke);
    if (!EnsureCanvas()) return false;
    uint32_t colour;
    if (!PenUsable(&colour)) return true;
    for (Point& point : stroke) point = PluToDevice(point);
    m_canvas->Stroke(stroke, CurrentStroke(colour));
    ++m_pResult->summary.polylines;
    return CanvasWell();
}

bool PlotInterpreter::PolylineEncoded(const PlotCommand& c) {
    for (const PeVertex& v : c.vertices) {
        const Point from = PluToUser(m_penAt);
        const double ux = v.absolute ? double(v.x) : from.x + double(v.x);
        const double uy = v.absolute ? double(v.y) : from.y + double(v.y);
        if (!MoveTo(ux, uy, !v.penUp)) return false;
    }
    return FlushStroke();
}

bool PlotInterpreter::PlotTo(const PlotCommand& c) {
    const std::string& m = c.text;
    if (m == "PU")
        m_penDown = false;
    else if (m == "PD")
        m_penDown = true;
    else
        m_relative = m == "PR";
    const std::vector<double>& p = c.params;
    if (p.size() % 2 != 0) return Fail("coordinates come in pairs");
    for (size_t i = 0; i < p.size(); i += 2) {
        const Point from = PluToUser(m_penAt);
        const double ux = m_relative ? from.x + p[i] : p[i];
        const double uy = m_relative ? from.y + p[i + 1] : p[i + 1];
        if (!MoveTo(ux, uy, m_penDown)) return false;
    }
    return FlushStroke();
}

bool PlotInterpreter::PolygonCommand(const PlotCommand& c) {
    const std::string& m = c.text;
    const std::vector<double>& p = c.params;
    if (m == "PM") {
        const double mode = p.empty() ? 0 : p[0];
        if (p.size() > 1 || (mode != 0 && mode != 1 && mode != 2)) return Fail("polygon mode");
        if (mode == 0) {
            if (m_inPolygon) return Fail("polygon mode entered twice");
            // The pen position is the first point of the polygon.
            m_inPolygon = true;
            m_polygon.assign(1, SubPolygon{{m_penAt}, {false}});
            m_newSubPolygon = false;
            const Point u = PluToUser(m_penAt);
            NoteGeometry(u.x, u.y);
            return true;
        }
        if (!m_inPolygon) return Fail("polygon closed outside polygon mode");
        // PM1: the next point, however reached, starts the next sub-polygon.
        m_newSubPolygon = mode == 1;
        m_inPolygon = mode == 1;
        return true;
    }
    if (m_inPolygon) return Fail("polygon used inside polygon mode");
    if (m == "EP") {
        if (!p.empty()) return Fail("edge polygon takes no parameters");
        return StrokeEdges();
    }
    // FP: 0 even-odd, 1 non-zero winding.
    if (p.size() > 1 || (!p.empty() && p[0] != 0 && p[0] != 1)) return Fail("fill rule");
    return Fill(p.empty() || p[0] == 0);
}

bool PlotInterpreter::Fill(bool evenOdd) {
    size_t points = 0;
    for (const SubPolygon& s : m_polygon) points += s.points.size();
    if (points < 3) {
        WarnOnce("fill of an empty polygon buffer");
        return true;
    }
    if (!EnsureCanvas()) return false;
    uint32_t colour;
    ++m_pResult->summary.polygons;
    if (!PenUsable(&colour)) return true;
    std::vector<std::vector<Point>> polygons;
    for (const SubPolygon& s : m_polygon) {
        std::vector<Point>& out = polygons.emplace_back();
        for (const Point& point : s.points) out.push_back(PluToDevice(point));
    }
    m_canvas->Fill(polygons, colour, evenOdd);
    return CanvasWell();
}

bool PlotInterpreter::StrokeEdges() {
    if (m_polygon.empty()) {
        WarnOnce("edge of an empty polygon buffer");
        return true;
    }
    if (!EnsureCanvas()) return false;
    ++m_pResult->summary.edges;
    uint32_t colour;
    if (!PenUsable(&colour)) return true;
    const StrokeStyle style = CurrentStroke(colour);
    for (const SubPolygon& s : m_polygon) {
        // Pen-down edges in runs, then the closing edge that PM1 / PM2 add.
        std::vector<Point> run;
        auto flush = [&]() {
            if (run.size() >= 2) m_canvas->Stroke(run, style);
            run.clear();
        };
        for (size_t i = 1; i < s.points.size(); ++i) {
            if (!s.edgeDown[i]) {
                flush();
                continue;
            }
            if (run.empty()) run.push_back(PluToDevice(s.points[i - 1]));
            run.push_back(PluToDevice(s.points[i]));
        }
        const Point first = s.points.front(), last = s.points.back();
        if (s.points.size() > 1 && (first.x != last.x || first.y != last.y)) {
            if (run.empty()) run.push_back(PluToDevice(last));
            run.push_back(PluToDevice(first));
        }
        flush();
    }
    return CanvasWell();
}

}  // namespace plot
