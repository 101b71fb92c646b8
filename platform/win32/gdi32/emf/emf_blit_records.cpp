// Block-transfer records: the source (and mask) bitmaps they carry.
#include "gdi32/emf/emf_record_check.h"

namespace {

// The bitmap fields of the records that share EMRBITBLT's source layout.
template <typename Record>
EmfBitmapFields SourceFields(const Record* r) {
    return {"source bitmap", r->offBmiSrc, r->cbBmiSrc, r->offBitsSrc, r->cbBitsSrc, r->iUsageSrc};
}

template <typename Record>
EmfBitmapFields MaskFields(const Record* r) {
    return {"mask bitmap",  r->offBmiMask, r->cbBmiMask,
            r->offBitsMask, r->cbBitsMask, r->iUsageMask};
}

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfBitBlt* out,
                   std::string* error) {
    *out = EmfBitBlt{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_BITBLT}, sizeof(EMRBITBLT), "EMRBITBLT", error,
                             &check))
        return false;
    const auto* r = check.At<EMRBITBLT>(0);
    if (!ReadEmfBitmap(check, SourceFields(r), &out->source)) return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfStretchBlt* out,
                   std::string* error) {
    *out = EmfStretchBlt{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_STRETCHBLT, EMR_ALPHABLEND, EMR_TRANSPARENTBLT},
                             sizeof(EMRSTRETCHBLT), "EMRSTRETCHBLT", error, &check))
        return false;
    const auto* r = check.At<EMRSTRETCHBLT>(0);
    if (!ReadEmfBitmap(check, SourceFields(r), &out->source)) return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfStretchDIBits* out,
                   std::string* error) {
    *out = EmfStretchDIBits{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_STRETCHDIBITS}, sizeof(EMRSTRETCHDIBITS),
                             "EMRSTRETCHDIBITS", error, &check))
        return false;
    const auto* r = check.At<EMRSTRETCHDIBITS>(0);
    if (!ReadEmfBitmap(check, SourceFields(r), &out->source)) return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfSetDIBitsToDevice* out,
                   std::string* error) {
    *out = EmfSetDIBitsToDevice{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_SETDIBITSTODEVICE}, sizeof(EMRSETDIBITSTODEVICE),
                             "EMRSETDIBITSTODEVICE", error, &check))
        return false;
    const auto* r = check.At<EMRSETDIBITSTODEVICE>(0);
    EmfBitmapFields fields = SourceFields(r);
    fields.rowsFromScans = true;
    fields.scans = r->cScans;
    if (!ReadEmfBitmap(check, fields, &out->source)) return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfMaskBlt* out,
                   std::string* error) {
    *out = EmfMaskBlt{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_MASKBLT}, sizeof(EMRMASKBLT), "EMRMASKBLT", error,
                             &check))
        return false;
    const auto* r = check.At<EMRMASKBLT>(0);
    if (!ReadEmfBitmap(check, SourceFields(r), &out->source)) return false;
    if (!ReadEmfBitmap(check, MaskFields(r), &out->mask)) return false;
    out->record = r;
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPlgBlt* out,
                   std::string* error) {
    *out = EmfPlgBlt{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_PLGBLT}, sizeof(EMRPLGBLT), "EMRPLGBLT", error,
                             &check))
        return false;
    const auto* r = check.At<EMRPLGBLT>(0);
    if (!ReadEmfBitmap(check, SourceFields(r), &out->source)) return false;
    if (!ReadEmfBitmap(check, MaskFields(r), &out->mask)) return false;
    out->record = r;
    return true;
}
