// EMR_GRADIENTFILL: the vertices are logical units, placed on the device
// through the current transform as GradientFill places them.
#include <vector>

#include "win32/gdi32/metafile/emf_playback.h"

namespace {

using R = RecordResult;

R PlayGradientFill(Playback& pb, const EmfRecordView& r) {
    EmfGradientFill view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    if (view.rects.empty() && view.triangles.empty()) return R::Played;  // nothing to fill
    std::vector<GradientVertex> vertices;
    vertices.reserve(view.vertices.size());
    for (const TRIVERTEX& v : view.vertices)
        vertices.push_back(GradientVertex{pb.Device(Logical(v)), v.Red, v.Green, v.Blue});
    const GradientMesh mesh{vertices, view.rects, view.triangles, view.record->ulMode};
    return pb.device.GradientFill(pb.State(), mesh) ? R::Played : R::Skipped;
}

}  // namespace

void AddGradientHandlers(HandlerTable& t) {
    t[EMR_GRADIENTFILL] = PlayGradientFill;
}
