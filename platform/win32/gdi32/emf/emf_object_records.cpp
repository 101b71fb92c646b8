// Object records with arrays or bitmaps: extended pens and pattern brushes.
#include "gdi32/emf/emf_record_check.h"

namespace {

// Brush styles whose colour field says how the pattern's colour table reads.
constexpr UINT kBsDibPattern = 5;    // BS_DIBPATTERN
constexpr UINT kBsDibPatternPt = 6;  // BS_DIBPATTERNPT

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfExtCreatePen* out,
                   std::string* error) {
    *out = EmfExtCreatePen{};
    EmfRecordCheck check;
    constexpr size_t kEntries = offsetof(EmfExtCreatePenRecord, elp.elpStyleEntry);
    if (!BeginEmfRecordCheck(doc, record, {EMR_EXTCREATEPEN}, kEntries, "EMREXTCREATEPEN", error,
                             &check))
        return false;
    const auto* r = check.At<EmfExtCreatePenRecord>(0);
    if (!check.Array(kEntries, r->elp.elpNumEntries, sizeof(DWORD), "style entries")) return false;
    // A DIB pattern pen keeps DIB_RGB_COLORS or DIB_PAL_COLORS in the low
    // word of its colour.
    const bool dibPattern =
        r->elp.elpBrushStyle == kBsDibPattern || r->elp.elpBrushStyle == kBsDibPatternPt;
    const DWORD usage = dibPattern ? (r->elp.elpColor & 0xFFFF) : DWORD{DIB_RGB_COLORS};
    if (!ReadEmfBitmap(check, {"pattern bitmap", r->offBmi, r->cbBmi, r->offBits, r->cbBits, usage},
                       &out->pattern))
        return false;
    out->record = r;
    out->styleEntries = {check.At<DWORD>(kEntries), r->elp.elpNumEntries};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPatternBrush* out,
                   std::string* error) {
    *out = EmfPatternBrush{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_CREATEMONOBRUSH, EMR_CREATEDIBPATTERNBRUSHPT},
                             sizeof(EMRCREATEMONOBRUSH), "EMRCREATEMONOBRUSH", error, &check))
        return false;
    const auto* r = check.At<EMRCREATEMONOBRUSH>(0);
    if (!ReadEmfBitmap(check,
                       {"pattern bitmap", r->offBmi, r->cbBmi, r->offBits, r->cbBits, r->iUsage},
                       &out->pattern))
        return false;
    out->record = r;
    return true;
}
