#include "win32/gdi32/metafile/curve_culling.h"

#include <algorithm>
#include <cmath>

#include "win32/gdi32/emf/emf_record_views.h"
#include "win32/gdi32/metafile/gdi_objects.h"

namespace {

void Add(const GdiPen& pen, MetafilePens* pens) {
    const DWORD kind = pen.DashKind();
    if (kind != PS_SOLID && kind != PS_NULL && kind != PS_INSIDEFRAME) pens->dashed = true;
    if (!pen.cosmetic && std::isfinite(pen.width)) pens->widest = std::max(pens->widest, pen.width);
}

}  // namespace

MetafilePens ScanMetafilePens(const EmfDocument& doc) {
    MetafilePens pens;
    std::string error;
    for (const EmfRecordView& record : doc.records) {
        if (record.type == EMR_CREATEPEN) {
            if (const auto* rec = EmfFixedRecord<EMRCREATEPEN>(doc, record, &error))
                Add(PenFromLogPen(rec->lopn), &pens);
        } else if (record.type == EMR_EXTCREATEPEN) {
            EmfExtCreatePen view;
            if (ReadEmfRecord(doc, record, &view, &error))
                Add(PenFromExtLogPen(view.record->elp, view.styleEntries.data(),
                                     view.styleEntries.size()),
                    &pens);
        }
    }
    return pens;
}

bool CurveCulling::Outside(DPoint p0, DPoint c1, DPoint c2, DPoint p3) const {
    if (!active) return false;
    const auto all = [&](auto beyond) {
        return beyond(p0) && beyond(c1) && beyond(c2) && beyond(p3);
    };
    return all([&](DPoint p) { return p.x < left; }) ||
           all([&](DPoint p) { return p.x > right; }) || all([&](DPoint p) { return p.y < top; }) ||
           all([&](DPoint p) { return p.y > bottom; });
}

CurveCulling CullingFor(const RECT& area, const MetafilePens& pens, const Affine& toDevice) {
    CurveCulling culling;
    if (pens.dashed) return culling;
    const double width = std::max(1.0, pens.widest * LengthScale(toDevice));
    if (!std::isfinite(width)) return culling;
    // Mitred corners reach five widths out (the miter limit of 10); twice
    // that, as the transform may grow before the path is stroked.
    const double margin = 12 * width + 8;
    culling.active = true;
    culling.left = area.left - margin;
    culling.top = area.top - margin;
    culling.right = area.right + margin;
    culling.bottom = area.bottom + margin;
    return culling;
}
