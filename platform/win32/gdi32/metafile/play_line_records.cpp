// Records that draw lines with the pen: current-position moves and lines,
// polylines, Bézier curves and arcs, in their 16- and 32-bit forms. Inside
// a path bracket they add to the path instead.
#include <cmath>
#include <numbers>

#include "win32/gdi32/metafile/emf_playback.h"
#include "win32/gdi32/metafile/pixel_shapes.h"
#include "win32/gdi32/metafile/record_geometry.h"

namespace {

using R = RecordResult;

template <typename Points>
std::vector<DPoint> LogicalPoints(const Points& points) {
    std::vector<DPoint> out;
    out.reserve(points.size());
    for (const auto& p : points) out.push_back(Logical(p));
    return out;
}

void Stroke(Playback& pb) {
    pb.Paint(false, true, false);
}

R PlayMoveTo(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRMOVETOEX>(r);
    if (!rec) return R::Failed;
    pb.State().position = Logical(rec->ptl);
    if (pb.pathBracketOpen) pb.path.EndFigure();
    return R::Played;
}

R PlayLineTo(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRLINETO>(r);
    if (!rec) return R::Failed;
    pb.FiguresFromPosition().AddPoint(pb.Device(Logical(rec->ptl)));
    pb.State().position = Logical(rec->ptl);
    Stroke(pb);
    return R::Played;
}

template <typename View>
R PlayPolyline(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.points.size() < 2) return R::Played;  // GDI draws nothing
    AddFigure(pb.Figures(), view.points, false, pb.ToDevice());
    Stroke(pb);
    return R::Played;
}

template <typename View>
R PlayPolylineTo(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.points.empty()) return R::Played;
    const Affine t = pb.ToDevice();
    GdiPath& figures = pb.FiguresFromPosition();
    for (const auto& p : view.points) figures.AddPoint(Apply(t, Logical(p)));
    pb.State().position = Logical(view.points.back());
    Stroke(pb);
    return R::Played;
}

template <typename View>
R PlayPolyPolyline(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    AddPolyFigures(pb.Figures(), view, false, pb.ToDevice());
    Stroke(pb);
    return R::Played;
}

template <typename View>
R PlayPolyBezier(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    // GDI draws nothing unless the points are a start and whole curves.
    if (view.points.size() < 4 || view.points.size() % 3 != 1) return R::Played;
    const std::vector<DPoint> logical = LogicalPoints(view.points);
    const Affine t = pb.ToDevice();
    std::vector<DPoint> device;
    FlattenBeziers(logical[0], std::span(logical).subspan(1), t, &device, pb.Culling(),
                   pb.gdiPixels);
    GdiPath& figures = pb.Figures();
    figures.StartFigure(Apply(t, logical[0]));
    figures.AddPoints(device);
    Stroke(pb);
    return R::Played;
}

template <typename View>
R PlayPolyBezierTo(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.points.empty() || view.points.size() % 3 != 0) return R::Played;
    const std::vector<DPoint> logical = LogicalPoints(view.points);
    std::vector<DPoint> device;
    FlattenBeziers(pb.State().position, logical, pb.ToDevice(), &device, pb.Culling(),
                   pb.gdiPixels);
    pb.FiguresFromPosition().AddPoints(device);
    pb.State().position = logical.back();
    Stroke(pb);
    return R::Played;
}

// Point types must come as moves, lines and Bézier triples, else GDI draws
// nothing.
bool WellFormedTypes(std::span<const BYTE> types) {
    for (size_t i = 0; i < types.size(); ++i) {
        const BYTE kind = types[i] & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO || kind == PT_LINETO) continue;
        if (kind != PT_BEZIERTO || i + 2 >= types.size()) return false;
        if ((types[i + 1] & ~PT_CLOSEFIGURE) != PT_BEZIERTO ||
            (types[i + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
            return false;
        i += 2;
    }
    return true;
}

template <typename View>
R PlayPolyDraw(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.types.size() != view.points.size() || !WellFormedTypes(view.types)) return R::Played;
    const std::vector<DPoint> logical = LogicalPoints(view.points);
    const Affine t = pb.ToDevice();
    GdiPath& figures = pb.Figures();
    DPoint last = pb.State().position;
    std::vector<DPoint> device;
    for (size_t i = 0; i < logical.size(); ++i) {
        const BYTE kind = view.types[i] & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO) {
            figures.EndFigure();
            figures.StartFigure(Apply(t, logical[i]));
            last = logical[i];
        } else if (kind == PT_LINETO) {
            figures.StartFigureIfNone(Apply(t, last));
            figures.AddPoint(Apply(t, logical[i]));
            last = logical[i];
        } else {
            figures.StartFigureIfNone(Apply(t, last));
            device.clear();
            FlattenBeziers(last, std::span(logical).subspan(i, 3), t, &device, pb.Culling(),
                           pb.gdiPixels);
            figures.AddPoints(device);
            last = logical[i + 2];
            i += 2;
        }
        if (view.types[i] & PT_CLOSEFIGURE) figures.CloseFigure();
    }
    pb.State().position = last;
    Stroke(pb);
    return R::Played;
}

bool Clockwise(Playback& pb) {
    return pb.State().arcDirection == AD_CLOCKWISE;
}

R PlayArc(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRARC>(r);
    if (!rec) return R::Failed;
    if (DrawPixelArc(pb, rec->rclBox, rec->ptlStart, rec->ptlEnd, PixelArc::Arc)) return R::Played;
    const EllipseArc arc = ArcInBox(rec->rclBox, rec->ptlStart, rec->ptlEnd, Clockwise(pb));
    const std::vector<DPoint> points = ArcPoints(arc, pb.ToDevice());
    GdiPath& figures = pb.Figures();
    figures.StartFigure(points.front());
    figures.AddPoints(points);
    figures.EndFigure();
    Stroke(pb);
    return R::Played;
}

// PlayArcTo and PlayAngleArc draw a line from the current position to the arc's
// start, then the arc, and move the current position to its end.
R DrawArcFromPosition(Playback& pb, const EllipseArc& arc) {
    pb.FiguresFromPosition().AddPoints(ArcPoints(arc, pb.ToDevice()));
    pb.State().position = EllipsePoint(arc, arc.start + arc.sweep);
    Stroke(pb);
    return R::Played;
}

R PlayArcTo(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRARCTO>(r);
    if (!rec) return R::Failed;
    return DrawArcFromPosition(pb,
                               ArcInBox(rec->rclBox, rec->ptlStart, rec->ptlEnd, Clockwise(pb)));
}

R PlayAngleArc(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRANGLEARC>(r);
    if (!rec) return R::Failed;
    constexpr double kRadians = std::numbers::pi / 180;
    // Degrees counterclockwise, whatever the arc direction.
    EllipseArc arc{Logical(rec->ptlCenter), static_cast<double>(rec->nRadius),
                   static_cast<double>(rec->nRadius), rec->eStartAngle * kRadians,
                   rec->eSweepAngle * kRadians};
    if (!std::isfinite(arc.start) || !std::isfinite(arc.sweep)) return R::Played;
    return DrawArcFromPosition(pb, arc);
}

}  // namespace

void AddLineHandlers(HandlerTable& t) {
    t[EMR_MOVETOEX] = PlayMoveTo;
    t[EMR_LINETO] = PlayLineTo;
    t[EMR_POLYLINE] = PlayPolyline<EmfPolyline>;
    t[EMR_POLYLINE16] = PlayPolyline<EmfPolyline16>;
    t[EMR_POLYLINETO] = PlayPolylineTo<EmfPolyline>;
    t[EMR_POLYLINETO16] = PlayPolylineTo<EmfPolyline16>;
    t[EMR_POLYPOLYLINE] = PlayPolyPolyline<EmfPolyPolyline>;
    t[EMR_POLYPOLYLINE16] = PlayPolyPolyline<EmfPolyPolyline16>;
    t[EMR_POLYBEZIER] = PlayPolyBezier<EmfPolyline>;
    t[EMR_POLYBEZIER16] = PlayPolyBezier<EmfPolyline16>;
    t[EMR_POLYBEZIERTO] = PlayPolyBezierTo<EmfPolyline>;
    t[EMR_POLYBEZIERTO16] = PlayPolyBezierTo<EmfPolyline16>;
    t[EMR_POLYDRAW] = PlayPolyDraw<EmfPolyDraw>;
    t[EMR_POLYDRAW16] = PlayPolyDraw<EmfPolyDraw16>;
    t[EMR_ARC] = PlayArc;
    t[EMR_ARCTO] = PlayArcTo;
    t[EMR_ANGLEARC] = PlayAngleArc;
}
