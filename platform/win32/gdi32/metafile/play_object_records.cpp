// Records of the object table: pens, brushes and the other objects are
// created at an index, selected and deleted.
#include "win32/gdi32/metafile/emf_playback.h"

namespace {

using R = RecordResult;

// Every record that creates an object has its index right after the EMR.
struct EMRCREATEOBJECT {
    EMR emr;
    DWORD ihObject;
};

}  // namespace

RecordResult PutObject(Playback& pb, const EmfRecordView& r, DWORD index, GdiObject object,
                       RecordResult result) {
    std::string why;
    if (!pb.objects.Put(index, std::move(object), &why)) return pb.Fail(r, why);
    return result;
}

namespace {

R Put(Playback& pb, const EmfRecordView& r, DWORD index, GdiObject object, R result) {
    return PutObject(pb, r, index, std::move(object), result);
}

R PlayCreatePen(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRCREATEPEN>(r);
    if (!rec) return R::Failed;
    GdiObject object;
    object.kind = GdiObjectKind::Pen;
    object.pen = std::make_shared<const GdiPen>(PenFromLogPen(rec->lopn));
    return Put(pb, r, rec->ihPen, std::move(object), R::Played);
}

R PlayExtCreatePen(Playback& pb, const EmfRecordView& r) {
    EmfExtCreatePen view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    GdiObject object;
    object.kind = GdiObjectKind::Pen;
    object.pen = std::make_shared<const GdiPen>(
        PenFromExtLogPen(view.record->elp, view.styleEntries.data(), view.styleEntries.size()));
    return Put(pb, r, view.record->ihPen, std::move(object), R::Played);
}

R PlayCreateBrush(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRCREATEBRUSHINDIRECT>(r);
    if (!rec) return R::Failed;
    GdiObject object;
    object.kind = GdiObjectKind::Brush;
    object.brush = std::make_shared<const GdiBrush>(BrushFromLogBrush(rec->lb));
    return Put(pb, r, rec->ihBrush, std::move(object), R::Played);
}

// Pattern brushes take their index (fills with them draw nothing), and
// count as skipped: their pattern is lost.
R PlayCreatePatternBrush(Playback& pb, const EmfRecordView& r) {
    EmfPatternBrush view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    GdiObject object;
    object.kind = GdiObjectKind::Brush;
    object.brush = std::make_shared<const GdiBrush>(GdiBrush{BS_DIBPATTERNPT, 0, 0});
    return Put(pb, r, view.record->ihBrush, std::move(object), R::Skipped);
}

template <GdiObjectKind Kind>
R PlayCreateOther(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRCREATEOBJECT>(r);
    if (!rec) return R::Failed;
    GdiObject object;
    object.kind = Kind;
    return Put(pb, r, rec->ihObject, std::move(object), R::Played);
}

R PlaySelectObject(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSELECTOBJECT>(r);
    if (!rec) return R::Failed;
    GdiObject stock;
    const GdiObject* object = nullptr;
    if (IsEmfStockObject(rec->ihObject)) {
        stock = StockObject(EmfStockObjectNumber(rec->ihObject));
        object = &stock;
    } else {
        std::string why;
        if (!pb.objects.Get(rec->ihObject, &object, &why)) return pb.Fail(r, why);
    }
    if (!object) return R::Played;  // a deleted object: GDI keeps the selection
    DcState& state = pb.State();
    if (object->kind == GdiObjectKind::Pen) state.pen = object->pen;
    if (object->kind == GdiObjectKind::Brush) state.brush = object->brush;
    if (object->kind == GdiObjectKind::Font && object->font) state.font = object->font;
    return R::Played;
}

R PlayDeleteObject(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRDELETEOBJECT>(r);
    if (!rec) return R::Failed;
    if (IsEmfStockObject(rec->ihObject)) return R::Played;  // stock objects stay
    // A selected object stays selected: the state holds its own reference.
    std::string why;
    if (!pb.objects.Delete(rec->ihObject, &why)) return pb.Fail(r, why);
    return R::Played;
}

R PlaySelectPalette(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSELECTPALETTE>(r);
    if (!rec) return R::Failed;
    const GdiObject* object = nullptr;
    std::string why;
    if (!IsEmfStockObject(rec->ihPal) && !pb.objects.Get(rec->ihPal, &object, &why))
        return pb.Fail(r, why);
    return R::Played;
}

}  // namespace

void AddObjectHandlers(HandlerTable& t) {
    t[EMR_CREATEPEN] = PlayCreatePen;
    t[EMR_EXTCREATEPEN] = PlayExtCreatePen;
    t[EMR_CREATEBRUSHINDIRECT] = PlayCreateBrush;
    t[EMR_CREATEMONOBRUSH] = PlayCreatePatternBrush;
    t[EMR_CREATEDIBPATTERNBRUSHPT] = PlayCreatePatternBrush;
    t[EMR_CREATEPALETTE] = PlayCreateOther<GdiObjectKind::Palette>;
    t[EMR_CREATECOLORSPACE] = PlayCreateOther<GdiObjectKind::ColorSpace>;
    t[EMR_CREATECOLORSPACEW] = PlayCreateOther<GdiObjectKind::ColorSpace>;
    t[EMR_SELECTOBJECT] = PlaySelectObject;
    t[EMR_DELETEOBJECT] = PlayDeleteObject;
    t[EMR_DELETECOLORSPACE] = PlayDeleteObject;
    t[EMR_SELECTPALETTE] = PlaySelectPalette;
}
