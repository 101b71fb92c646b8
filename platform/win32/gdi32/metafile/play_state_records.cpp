// Records that change the drawing state: save and restore, mapping mode,
// window and viewport, world transform, fill mode, raster operation,
// background, arc direction, brush origin, stretch mode; and the state records that have
// no bearing on a vector plot.
#include "win32/gdi32/metafile/emf_playback.h"

namespace {

using R = RecordResult;

R PlayNothing(Playback&, const EmfRecordView&) {
    return R::Played;
}

R PlaySaveDC(Playback& pb, const EmfRecordView&) {
    pb.dc.Save();
    return R::Played;
}

R PlayRestoreDC(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRRESTOREDC>(r);
    if (!rec) return R::Failed;
    pb.TransformState();
    pb.dc.Restore(rec->iRelative);  // GDI ignores a level that was never saved
    return R::Played;
}

R PlaySetMapMode(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETMAPMODE>(r);
    if (!rec) return R::Failed;
    SetMapMode(&pb.TransformState(), static_cast<int>(rec->iMode), pb.reference);
    return R::Played;
}

R PlaySetWindowExt(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETWINDOWEXTEX>(r);
    if (!rec) return R::Failed;
    SetWindowExt(&pb.TransformState(), rec->szlExtent, pb.reference);
    return R::Played;
}

R PlaySetViewportExt(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETVIEWPORTEXTEX>(r);
    if (!rec) return R::Failed;
    SetViewportExt(&pb.TransformState(), rec->szlExtent, pb.reference);
    return R::Played;
}

R PlaySetWindowOrg(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETWINDOWORGEX>(r);
    if (!rec) return R::Failed;
    pb.TransformState().windowOrg = POINT{rec->ptlOrigin.x, rec->ptlOrigin.y};
    return R::Played;
}

R PlaySetViewportOrg(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETVIEWPORTORGEX>(r);
    if (!rec) return R::Failed;
    pb.TransformState().viewportOrg = POINT{rec->ptlOrigin.x, rec->ptlOrigin.y};
    return R::Played;
}

R PlayScaleWindowExt(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSCALEWINDOWEXTEX>(r);
    if (!rec) return R::Failed;
    ScaleWindowExt(&pb.TransformState(), rec->xNum, rec->xDenom, rec->yNum, rec->yDenom,
                   pb.reference);
    return R::Played;
}

R PlayScaleViewportExt(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSCALEVIEWPORTEXTEX>(r);
    if (!rec) return R::Failed;
    ScaleViewportExt(&pb.TransformState(), rec->xNum, rec->xDenom, rec->yNum, rec->yDenom,
                     pb.reference);
    return R::Played;
}

R PlaySetWorldTransform(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETWORLDTRANSFORM>(r);
    if (!rec) return R::Failed;
    SetWorldTransform(&pb.TransformState(),
                      rec->xform);  // a singular transform is refused, as by GDI
    return R::Played;
}

R PlayModifyWorldTransform(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRMODIFYWORLDTRANSFORM>(r);
    if (!rec) return R::Failed;
    ModifyWorldTransform(&pb.TransformState(), rec->xform, rec->iMode);
    return R::Played;
}

R PlaySetPolyFillMode(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETPOLYFILLMODE>(r);
    if (!rec) return R::Failed;
    if (rec->iMode == ALTERNATE || rec->iMode == WINDING)
        pb.State().polyFillMode = static_cast<int>(rec->iMode);
    return R::Played;
}

R PlaySetRop2(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETROP2>(r);
    if (!rec) return R::Failed;
    if (rec->iMode >= R2_BLACK && rec->iMode <= R2_WHITE)
        pb.State().rop2 = static_cast<int>(rec->iMode);
    return R::Played;
}

R PlaySetBkMode(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETBKMODE>(r);
    if (!rec) return R::Failed;
    if (rec->iMode == TRANSPARENT || rec->iMode == OPAQUE)
        pb.State().bkMode = static_cast<int>(rec->iMode);
    return R::Played;
}

R PlaySetBkColor(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETBKCOLOR>(r);
    if (!rec) return R::Failed;
    pb.State().bkColor = rec->crColor;
    return R::Played;
}

R PlaySetStretchBltMode(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETSTRETCHBLTMODE>(r);
    if (!rec) return R::Failed;
    if (rec->iMode >= BLACKONWHITE && rec->iMode <= HALFTONE)
        pb.State().stretchMode = static_cast<int>(rec->iMode);
    return R::Played;
}

R PlaySetArcDirection(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETARCDIRECTION>(r);
    if (!rec) return R::Failed;
    if (rec->iArcDirection == AD_COUNTERCLOCKWISE || rec->iArcDirection == AD_CLOCKWISE)
        pb.State().arcDirection = static_cast<int>(rec->iArcDirection);
    return R::Played;
}

R PlaySetBrushOrg(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETBRUSHORGEX>(r);
    if (!rec) return R::Failed;
    // The brush origin is in pixels of the reference device.
    pb.State().brushOrg = RoundToDevice(Apply(pb.placement, Logical(rec->ptlOrigin)));
    return R::Played;
}

R PlaySetLayout(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETLAYOUT>(r);
    if (!rec) return R::Failed;
    // Right-to-left layouts mirror the page; that is not played.
    return rec->iMode & LAYOUT_RTL ? R::Skipped : R::Played;
}

}  // namespace

void AddStateHandlers(HandlerTable& t) {
    t[EMR_SAVEDC] = PlaySaveDC;
    t[EMR_RESTOREDC] = PlayRestoreDC;
    t[EMR_SETMAPMODE] = PlaySetMapMode;
    t[EMR_SETWINDOWEXTEX] = PlaySetWindowExt;
    t[EMR_SETWINDOWORGEX] = PlaySetWindowOrg;
    t[EMR_SETVIEWPORTEXTEX] = PlaySetViewportExt;
    t[EMR_SETVIEWPORTORGEX] = PlaySetViewportOrg;
    t[EMR_SCALEWINDOWEXTEX] = PlayScaleWindowExt;
    t[EMR_SCALEVIEWPORTEXTEX] = PlayScaleViewportExt;
    t[EMR_SETWORLDTRANSFORM] = PlaySetWorldTransform;
    t[EMR_MODIFYWORLDTRANSFORM] = PlayModifyWorldTransform;
    t[EMR_SETPOLYFILLMODE] = PlaySetPolyFillMode;
    t[EMR_SETROP2] = PlaySetRop2;
    t[EMR_SETBKMODE] = PlaySetBkMode;
    t[EMR_SETBKCOLOR] = PlaySetBkColor;
    t[EMR_SETARCDIRECTION] = PlaySetArcDirection;
    t[EMR_SETSTRETCHBLTMODE] = PlaySetStretchBltMode;
    t[EMR_SETBRUSHORGEX] = PlaySetBrushOrg;
    t[EMR_SETLAYOUT] = PlaySetLayout;
    // State that does not show in lines, fills and text: colour management,
    // palettes, the miter limit (the plotter keeps its own).
    for (DWORD type :
         {EMR_HEADER, EMR_EOF, EMR_SETMITERLIMIT, EMR_SETMAPPERFLAGS, EMR_SETICMMODE,
          EMR_SETCOLORADJUSTMENT, EMR_SETCOLORSPACE, EMR_REALIZEPALETTE, EMR_SETPALETTEENTRIES,
          EMR_RESIZEPALETTE, EMR_COLORCORRECTPALETTE, EMR_SETICMPROFILEA, EMR_SETICMPROFILEW,
          EMR_COLORMATCHTOTARGETW, EMR_PIXELFORMAT})
        t[type] = PlayNothing;
}
