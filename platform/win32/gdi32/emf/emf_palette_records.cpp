// Records that carry palette entries (PALETTEENTRY, 4 bytes each).
#include "gdi32/emf/emf_record_check.h"

namespace {

constexpr DWORD kPaletteEntrySize = 4;

// EMRCREATEPALETTE: EMR, ihPal, then a LOGPALETTE (palVersion, palNumEntries
// and the entries).
constexpr size_t kCreatePaletteCount = 14;
constexpr size_t kCreatePaletteEntries = 16;
// EMRSETPALETTEENTRIES: EMR, ihPal, iStart, cEntries, then the entries.
constexpr size_t kSetPaletteCount = 16;
constexpr size_t kSetPaletteEntries = 20;

}  // namespace

bool ValidateEmfCreatePalette(const EmfDocument& doc, const EmfRecordView& record,
                              std::string* error) {
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_CREATEPALETTE}, kCreatePaletteEntries,
                             "EMRCREATEPALETTE", error, &check))
        return false;
    WORD count;
    std::memcpy(&count, check.bytes + kCreatePaletteCount, sizeof count);
    return check.Array(kCreatePaletteEntries, count, kPaletteEntrySize, "palette entries");
}

bool ValidateEmfSetPaletteEntries(const EmfDocument& doc, const EmfRecordView& record,
                                  std::string* error) {
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_SETPALETTEENTRIES}, kSetPaletteEntries,
                             "EMRSETPALETTEENTRIES", error, &check))
        return false;
    return check.Array(kSetPaletteEntries, EmfReadDword(check.bytes + kSetPaletteCount),
                       kPaletteEntrySize, "palette entries");
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfEof* out,
                   std::string* error) {
    *out = EmfEof{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_EOF}, sizeof(EMREOF), "EMREOF", error, &check))
        return false;
    const auto* r = check.At<EMREOF>(0);
    if (r->nPalEntries != 0) {
        // The entries end before nSizeLast, the record's last DWORD.
        uint64_t end;
        if (!EmfArrayEnd(r->offPalEntries, r->nPalEntries, kPaletteEntrySize, &end) ||
            end > check.size() - sizeof(DWORD))
            return check.Fail(EmfFormat("%u palette entries at offset %u run past its nSizeLast",
                                        r->nPalEntries, r->offPalEntries));
        out->palette = {check.bytes + r->offPalEntries, size_t{r->nPalEntries} * kPaletteEntrySize};
    }
    out->record = r;
    return true;
}
