// Path records: the bracket that collects figures, and the fill, stroke and
// both that draw and discard them.
#include "win32/gdi32/metafile/emf_playback.h"

namespace {

using R = RecordResult;

R PlayBeginPath(Playback& pb, const EmfRecordView&) {
    pb.path.Clear();  // a new bracket discards the old path
    pb.pathBracketOpen = true;
    return R::Played;
}

R PlayEndPath(Playback& pb, const EmfRecordView&) {
    pb.pathBracketOpen = false;
    pb.path.EndFigure();
    return R::Played;
}

R PlayCloseFigure(Playback& pb, const EmfRecordView&) {
    if (pb.pathBracketOpen) pb.path.CloseFigure();
    return R::Played;
}

R PlayAbortPath(Playback& pb, const EmfRecordView&) {
    pb.path.Clear();
    pb.pathBracketOpen = false;
    return R::Played;
}

// The path is drawn as it stands and then discarded; a bracket still open
// counts as ended (GDI would refuse, and draw nothing of it).
template <bool Fill, bool Stroke>
R PlayDrawPath(Playback& pb, const EmfRecordView&) {
    pb.pathBracketOpen = false;
    const DcState& s = pb.State();
    if (Fill) pb.device.Fill(pb.path.Figures(), s.brush.get(), s, false);
    if (Stroke) pb.device.Stroke(pb.path.Figures(), s.pen.get(), s, pb.ToDevice());
    pb.path.Clear();
    return R::Played;
}

R PlayFlattenPath(Playback&, const EmfRecordView&) {
    return R::Played;  // paths hold flattened curves already
}

}  // namespace

void AddPathHandlers(HandlerTable& t) {
    t[EMR_BEGINPATH] = PlayBeginPath;
    t[EMR_ENDPATH] = PlayEndPath;
    t[EMR_CLOSEFIGURE] = PlayCloseFigure;
    t[EMR_ABORTPATH] = PlayAbortPath;
    t[EMR_FILLPATH] = PlayDrawPath<true, false>;
    t[EMR_STROKEPATH] = PlayDrawPath<false, true>;
    t[EMR_STROKEANDFILLPATH] = PlayDrawPath<true, true>;
    t[EMR_FLATTENPATH] = PlayFlattenPath;
}
