// Clip records. The clip region is kept in device pixels, as GDI keeps it
// in device pixels: later transforms do not move it. Regions are never
// changed in place, so the saved states of SAVEDC keep theirs.
#include <array>
#include <vector>

#include "win32/gdi32/metafile/emf_playback.h"

namespace {

using R = RecordResult;
using Region = RegionRef;

// A logical rectangle through the transform: four corners, so that it turns
// with a rotated world.
Region RectangleRegion(Playback& pb, const RECTL& r) {
    const Affine t = pb.ToDevice();
    const double l = r.left, top = r.top, right = r.right, b = r.bottom;
    const std::array<POINT, 4> corners{
        RoundToDevice(Apply(t, {l, top})), RoundToDevice(Apply(t, {right, top})),
        RoundToDevice(Apply(t, {right, b})), RoundToDevice(Apply(t, {l, b}))};
    return pb.device.PolygonRegion(corners, ALTERNATE);
}

// A clip kept inside the meta region, as GDI keeps every clip.
Region WithinMetaRegion(Playback& pb, const Region& clip) {
    const Region& meta = pb.State().metaClip;
    if (!meta) return clip;
    if (!clip) return meta;
    return pb.device.CombineRegions(clip, meta, RGN_AND);
}

// The new clip: the current one (null: the whole page) combined with other.
Region Combine(Playback& pb, const Region& other, int mode) {
    const Region& current = pb.State().clip;
    if (mode == RGN_COPY) return WithinMetaRegion(pb, other);
    if (mode == RGN_OR && !current) return nullptr;  // the page already holds it
    if (mode == RGN_AND && !current) return other;
    const Region base = current ? current : pb.PageRegion();
    const Region combined = pb.device.CombineRegions(base, other, mode);
    // An intersection stays inside the current clip, and so inside the meta region.
    return mode == RGN_AND ? combined : WithinMetaRegion(pb, combined);
}

bool KnownMode(DWORD mode) {
    return mode >= RGN_AND && mode <= RGN_COPY;
}

R PlayIntersectClipRect(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRINTERSECTCLIPRECT>(r);
    if (!rec) return R::Failed;
    pb.State().clip = Combine(pb, RectangleRegion(pb, rec->rclClip), RGN_AND);
    return R::Played;
}

R PlayExcludeClipRect(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMREXCLUDECLIPRECT>(r);
    if (!rec) return R::Failed;
    pb.State().clip = Combine(pb, RectangleRegion(pb, rec->rclClip), RGN_DIFF);
    return R::Played;
}

R PlaySelectClipPath(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSELECTCLIPPATH>(r);
    if (!rec) return R::Failed;
    pb.pathBracketOpen = false;
    std::span<const Figure> figures = pb.path.Figures();
    const std::vector<POINT> outline =
        figures.size() == 1 ? figures.front().points : JoinFigures(figures);
    // A path that encloses nothing is refused, as by GDI: the clip stays.
    if (KnownMode(rec->iMode) && outline.size() >= 3)
        pb.State().clip = Combine(pb, pb.device.PolygonRegion(outline, pb.State().polyFillMode),
                                  static_cast<int>(rec->iMode));
    pb.path.Clear();
    return R::Played;
}

R PlayExtSelectClipRgn(Playback& pb, const EmfRecordView& r) {
    EmfExtSelectClipRgn view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    const DWORD mode = view.record->iMode;
    if (!KnownMode(mode)) return R::Played;
    // No region, or an empty one, with RGN_COPY: back to no clipping.
    // Without a region the other modes do nothing.
    if (mode == RGN_COPY && (!view.region.header || view.region.rects.empty())) {
        pb.State().clip = pb.State().metaClip;
        return R::Played;
    }
    if (!view.region.header) return R::Played;
    // The rectangles are in pixels of the reference device. They do not
    // overlap, so the list read even-odd is their union.
    const size_t n = view.region.rects.size();
    std::vector<std::array<POINT, 4>> corners(n);
    for (size_t i = 0; i < n; ++i) {
        const RECTL& rect = view.region.rects[i];
        const auto P = [&](LONG x, LONG y) {
            return RoundToDevice(Apply(pb.placement, Logical(POINTL{x, y})));
        };
        corners[i] = {P(rect.left, rect.top), P(rect.right, rect.top), P(rect.right, rect.bottom),
                      P(rect.left, rect.bottom)};
    }
    pb.State().clip = Combine(pb, pb.device.QuadsRegion(corners), static_cast<int>(mode));
    return R::Played;
}

R PlayOffsetClipRgn(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMROFFSETCLIPRGN>(r);
    if (!rec) return R::Failed;
    Region& clip = pb.State().clip;
    if (!clip) return R::Played;
    // The offset is in logical units.
    const POINT by = RoundToDevice(ApplyLinear(pb.ToDevice(), Logical(rec->ptlOffset)));
    clip = WithinMetaRegion(pb, pb.device.OffsetRegion(clip, by));
    return R::Played;
}

// The clip becomes the meta region: later clips stay inside it, and a
// reset returns to it.
R PlaySetMetaRgn(Playback& pb, const EmfRecordView& r) {
    if (!pb.Fixed<EMRSETMETARGN>(r)) return R::Failed;
    pb.State().metaClip = pb.State().clip;
    return R::Played;
}

}  // namespace

void AddClipHandlers(HandlerTable& t) {
    t[EMR_INTERSECTCLIPRECT] = PlayIntersectClipRect;
    t[EMR_EXCLUDECLIPRECT] = PlayExcludeClipRect;
    t[EMR_SELECTCLIPPATH] = PlaySelectClipPath;
    t[EMR_EXTSELECTCLIPRGN] = PlayExtSelectClipRgn;
    t[EMR_OFFSETCLIPRGN] = PlayOffsetClipRgn;
    t[EMR_SETMETARGN] = PlaySetMetaRgn;
}
