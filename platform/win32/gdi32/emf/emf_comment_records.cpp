// GDI comments: private data of the writer, and the carrier of EMF+ records.
#include "gdi32/emf/emf_record_check.h"

namespace {

// "EMF+" read as a little-endian DWORD: the comment holds EMF+ records.
constexpr DWORD kEmfPlusIdentifier = 0x2B464D45;

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfGdiComment* out,
                   std::string* error) {
    *out = EmfGdiComment{};
    EmfRecordCheck check;
    constexpr size_t kData = offsetof(EMRGDICOMMENT, Data);
    if (!BeginEmfRecordCheck(doc, record, {EMR_GDICOMMENT}, kData, "EMRGDICOMMENT", error, &check))
        return false;
    const auto* r = check.At<EMRGDICOMMENT>(0);
    if (!check.Array(kData, r->cbData, 1, "bytes of comment data")) return false;
    out->record = r;
    out->data = {check.bytes + kData, r->cbData};
    return true;
}

bool IsEmfPlusComment(const EmfGdiComment& comment) {
    return comment.data.size() >= sizeof(DWORD) &&
           EmfReadDword(comment.data.data()) == kEmfPlusIdentifier;
}
