// Records that carry a region as RGNDATA: a 32-byte header and nCount
// rectangles right after it.
#include "gdi32/emf/emf_record_check.h"

bool ReadEmfRegion(const EmfRecordCheck& check, DWORD offset, DWORD cbRgnData, EmfRegion* out) {
    *out = EmfRegion{};
    if (cbRgnData == 0) return true;
    if (!check.Range(offset, cbRgnData, "region data")) return false;
    if (cbRgnData < sizeof(RGNDATAHEADER))
        return check.Fail(EmfFormat("region data of %u bytes is smaller than its header of %zu",
                                    cbRgnData, sizeof(RGNDATAHEADER)));
    const RGNDATAHEADER* header = check.At<RGNDATAHEADER>(offset);
    if (header->iType != RDH_RECTANGLES)
        return check.Fail(EmfFormat("region data type %u is not RDH_RECTANGLES", header->iType));
    uint64_t end;
    if (!EmfArrayEnd(sizeof(RGNDATAHEADER), header->nCount, sizeof(RECTL), &end) || end > cbRgnData)
        return check.Fail(EmfFormat("%u region rectangles do not fit its cbRgnData of %u",
                                    header->nCount, cbRgnData));
    out->header = header;
    out->rects = {check.At<RECTL>(offset + sizeof(RGNDATAHEADER)), header->nCount};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfExtSelectClipRgn* out,
                   std::string* error) {
    *out = EmfExtSelectClipRgn{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_EXTSELECTCLIPRGN},
                             offsetof(EMREXTSELECTCLIPRGN, RgnData), "EMREXTSELECTCLIPRGN", error,
                             &check))
        return false;
    const auto* r = check.At<EMREXTSELECTCLIPRGN>(0);
    if (!ReadEmfRegion(check, offsetof(EMREXTSELECTCLIPRGN, RgnData), r->cbRgnData, &out->region))
        return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfFillRgn* out,
                   std::string* error) {
    *out = EmfFillRgn{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_FILLRGN}, offsetof(EMRFILLRGN, RgnData),
                             "EMRFILLRGN", error, &check))
        return false;
    const auto* r = check.At<EMRFILLRGN>(0);
    if (!ReadEmfRegion(check, offsetof(EMRFILLRGN, RgnData), r->cbRgnData, &out->region))
        return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfFrameRgn* out,
                   std::string* error) {
    *out = EmfFrameRgn{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_FRAMERGN}, offsetof(EMRFRAMERGN, RgnData),
                             "EMRFRAMERGN", error, &check))
        return false;
    const auto* r = check.At<EMRFRAMERGN>(0);
    if (!ReadEmfRegion(check, offsetof(EMRFRAMERGN, RgnData), r->cbRgnData, &out->region))
        return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfInvertRgn* out,
                   std::string* error) {
    *out = EmfInvertRgn{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_INVERTRGN, EMR_PAINTRGN},
                             offsetof(EMRINVERTRGN, RgnData), "EMRINVERTRGN", error, &check))
        return false;
    const auto* r = check.At<EMRINVERTRGN>(0);
    if (!ReadEmfRegion(check, offsetof(EMRINVERTRGN, RgnData), r->cbRgnData, &out->region))
        return false;
    out->record = r;
    return true;
}
