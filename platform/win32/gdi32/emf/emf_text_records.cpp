// Text records: the characters and the optional spacing values, both at
// offsets from the record's start.
#include "gdi32/emf/emf_record_check.h"

namespace {

// fOptions flag: dx holds an x and a y advance for every character.
constexpr DWORD kEtoPdy = 0x2000;

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfExtTextOut* out,
                   std::string* error) {
    *out = EmfExtTextOut{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_EXTTEXTOUTA, EMR_EXTTEXTOUTW},
                             sizeof(EMREXTTEXTOUTW), "EMREXTTEXTOUTW", error, &check))
        return false;
    const auto* r = check.At<EMREXTTEXTOUTW>(0);
    const EMRTEXT& text = r->emrtext;
    const DWORD charSize = record.type == EMR_EXTTEXTOUTW ? 2 : 1;
    if (text.nChars != 0) {
        if (!check.Array(text.offString, text.nChars, charSize, "characters")) return false;
        out->text = {check.bytes + text.offString, size_t{text.nChars} * charSize};
        if (text.offDx != 0) {
            const uint64_t perChar = (text.fOptions & kEtoPdy) ? 2 * sizeof(LONG) : sizeof(LONG);
            if (!check.Array(text.offDx, text.nChars, perChar, "spacing values")) return false;
            out->dx = {check.bytes + text.offDx, static_cast<size_t>(text.nChars * perChar)};
        }
    }
    out->record = r;
    return true;
}
