// Records that draw closed shapes: filled with the brush, then outlined
// with the pen. Inside a path bracket they add closed figures to the path.
// Also the region fills, which use a brush and no pen.
#include "win32/gdi32/metafile/emf_playback.h"
#include "win32/gdi32/metafile/pixel_shapes.h"
#include "win32/gdi32/metafile/record_geometry.h"

namespace {

using R = RecordResult;

void FillAndStroke(Playback& pb, bool simple) {
    pb.Paint(true, true, simple);
}

bool Clockwise(Playback& pb) {
    return pb.State().arcDirection == AD_CLOCKWISE;
}

template <typename View>
R PlayPolygon(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.points.size() < 2) return R::Played;  // GDI draws nothing
    AddFigure(pb.Figures(), view.points, true, pb.ToDevice());
    FillAndStroke(pb, false);
    return R::Played;
}

template <typename View>
R PlayPolyPolygon(Playback& pb, const EmfRecordView& r) {
    View view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    AddPolyFigures(pb.Figures(), view, true, pb.ToDevice());
    // The polygons fill together, so one inside another is a hole.
    FillAndStroke(pb, false);
    return R::Played;
}

R PlayRectangle(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRRECTANGLE>(r);
    if (!rec) return R::Failed;
    AddRectangle(&pb.Figures(), rec->rclBox, Clockwise(pb), pb.ToDevice());
    FillAndStroke(pb, true);
    return R::Played;
}

R PlayRoundRect(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRROUNDRECT>(r);
    if (!rec) return R::Failed;
    if (DrawPixelRoundRect(pb, rec->rclBox, rec->szlCorner.cx, rec->szlCorner.cy)) return R::Played;
    AddRoundRect(&pb.Figures(), rec->rclBox, rec->szlCorner, Clockwise(pb), pb.ToDevice());
    FillAndStroke(pb, true);
    return R::Played;
}

R PlayEllipse(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRELLIPSE>(r);
    if (!rec) return R::Failed;
    const RECTL& box = rec->rclBox;
    if (DrawPixelRoundRect(pb, box, box.right - box.left, box.bottom - box.top)) return R::Played;
    EllipseArc ellipse = EllipseInBox(rec->rclBox);
    ellipse.sweep = ArcSweep(0, 0, Clockwise(pb));  // a whole turn from the right end
    const std::vector<DPoint> points = ArcPoints(ellipse, pb.ToDevice());
    GdiPath& figures = pb.Figures();
    figures.StartFigure(points.front());
    figures.AddPoints(points);
    figures.CloseFigure();
    FillAndStroke(pb, true);
    return R::Played;
}

// Chord closes the arc with a straight line; Pie with two lines through the
// ellipse's centre.
template <bool ThroughCenter>
R PlayArcShape(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRCHORD>(r);
    if (!rec) return R::Failed;
    if (DrawPixelArc(pb, rec->rclBox, rec->ptlStart, rec->ptlEnd,
                     ThroughCenter ? PixelArc::Pie : PixelArc::Chord))
        return R::Played;
    const EllipseArc arc = ArcInBox(rec->rclBox, rec->ptlStart, rec->ptlEnd, Clockwise(pb));
    const Affine t = pb.ToDevice();
    const std::vector<DPoint> points = ArcPoints(arc, t);
    GdiPath& figures = pb.Figures();
    figures.StartFigure(points.front());
    figures.AddPoints(points);
    if (ThroughCenter) figures.AddPoint(Apply(t, arc.center));
    figures.CloseFigure();
    FillAndStroke(pb, true);
    return R::Played;
}

// The rectangles of a region record (logical units) as closed figures.
GdiPath RegionFigures(Playback& pb, const EmfRegion& region) {
    GdiPath figures;
    const Affine t = pb.ToDevice();
    for (const RECTL& rect : region.rects) AddRectangle(&figures, rect, false, t);
    return figures;
}

R FillRegion(Playback& pb, const EmfRegion& region, const GdiBrush* brush) {
    const GdiPath figures = RegionFigures(pb, region);
    // The rectangles of a region do not overlap: their fill is their union.
    pb.device.Fill(figures.Figures(), brush, pb.State(), figures.Figures().size() == 1);
    return R::Played;
}

R PlayFillRgn(Playback& pb, const EmfRecordView& r) {
    EmfFillRgn view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    const DWORD index = view.record->ihBrush;
    GdiObject stock;
    const GdiObject* object = nullptr;
    if (IsEmfStockObject(index)) {
        stock = StockObject(EmfStockObjectNumber(index));
        object = &stock;
    } else {
        std::string why;
        if (!pb.objects.Get(index, &object, &why)) return pb.Fail(r, why);
    }
    if (!object || object->kind != GdiObjectKind::Brush) return R::Played;
    return FillRegion(pb, view.region, object->brush.get());
}

R PlayPaintRgn(Playback& pb, const EmfRecordView& r) {
    EmfInvertRgn view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    return FillRegion(pb, view.region, pb.State().brush.get());
}

}  // namespace

void AddShapeHandlers(HandlerTable& t) {
    t[EMR_POLYGON] = PlayPolygon<EmfPolyline>;
    t[EMR_POLYGON16] = PlayPolygon<EmfPolyline16>;
    t[EMR_POLYPOLYGON] = PlayPolyPolygon<EmfPolyPolyline>;
    t[EMR_POLYPOLYGON16] = PlayPolyPolygon<EmfPolyPolyline16>;
    t[EMR_RECTANGLE] = PlayRectangle;
    t[EMR_ROUNDRECT] = PlayRoundRect;
    t[EMR_ELLIPSE] = PlayEllipse;
    t[EMR_CHORD] = PlayArcShape<false>;
    t[EMR_PIE] = PlayArcShape<true>;
    t[EMR_FILLRGN] = PlayFillRgn;
    t[EMR_PAINTRGN] = PlayPaintRgn;
}
