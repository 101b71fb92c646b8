// Point-list records: polylines, polygons and Béziers in 32- and 16-bit
// forms, their poly-poly variants, and PolyDraw.
#include "gdi32/emf/emf_record_check.h"

namespace {

// The counts of a poly-poly record must add up to the points it carries, or
// a player walking the counts would run past them.
bool CountsMatch(const EmfRecordCheck& check, std::span<const DWORD> counts, DWORD points) {
    uint64_t sum = 0;
    for (DWORD count : counts) sum += count;  // at most 2^32 counts below 2^32
    if (sum != points)
        return check.Fail(EmfFormat("polygon counts add up to %llu points, not the %u it holds",
                                    static_cast<unsigned long long>(sum), points));
    return true;
}

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyline* out,
                   std::string* error) {
    *out = EmfPolyline{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(
            doc, record,
            {EMR_POLYBEZIER, EMR_POLYGON, EMR_POLYLINE, EMR_POLYBEZIERTO, EMR_POLYLINETO},
            offsetof(EMRPOLYLINE, aptl), "EMRPOLYLINE", error, &check))
        return false;
    const auto* r = check.At<EMRPOLYLINE>(0);
    if (!check.Array(offsetof(EMRPOLYLINE, aptl), r->cptl, sizeof(POINTL), "points")) return false;
    out->record = r;
    out->points = {check.At<POINTL>(offsetof(EMRPOLYLINE, aptl)), r->cptl};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyline16* out,
                   std::string* error) {
    *out = EmfPolyline16{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(
            doc, record,
            {EMR_POLYBEZIER16, EMR_POLYGON16, EMR_POLYLINE16, EMR_POLYBEZIERTO16, EMR_POLYLINETO16},
            offsetof(EMRPOLYLINE16, apts), "EMRPOLYLINE16", error, &check))
        return false;
    const auto* r = check.At<EMRPOLYLINE16>(0);
    if (!check.Array(offsetof(EMRPOLYLINE16, apts), r->cpts, sizeof(POINTS), "points"))
        return false;
    out->record = r;
    out->points = {check.At<POINTS>(offsetof(EMRPOLYLINE16, apts)), r->cpts};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyPolyline* out,
                   std::string* error) {
    *out = EmfPolyPolyline{};
    EmfRecordCheck check;
    constexpr size_t kCounts = offsetof(EMRPOLYPOLYLINE, aPolyCounts);
    if (!BeginEmfRecordCheck(doc, record, {EMR_POLYPOLYLINE, EMR_POLYPOLYGON}, kCounts,
                             "EMRPOLYPOLYLINE", error, &check))
        return false;
    const auto* r = check.At<EMRPOLYPOLYLINE>(0);
    if (!check.Array(kCounts, r->nPolys, sizeof(DWORD), "polygon counts")) return false;
    const uint64_t pointsAt = kCounts + uint64_t{r->nPolys} * sizeof(DWORD);
    if (!check.Array(pointsAt, r->cptl, sizeof(POINTL), "points")) return false;
    const std::span<const DWORD> counts{check.At<DWORD>(kCounts), r->nPolys};
    if (!CountsMatch(check, counts, r->cptl)) return false;
    out->record = r;
    out->counts = counts;
    out->points = {check.At<POINTL>(pointsAt), r->cptl};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyPolyline16* out,
                   std::string* error) {
    *out = EmfPolyPolyline16{};
    EmfRecordCheck check;
    constexpr size_t kCounts = offsetof(EMRPOLYPOLYLINE16, aPolyCounts);
    if (!BeginEmfRecordCheck(doc, record, {EMR_POLYPOLYLINE16, EMR_POLYPOLYGON16}, kCounts,
                             "EMRPOLYPOLYLINE16", error, &check))
        return false;
    const auto* r = check.At<EMRPOLYPOLYLINE16>(0);
    if (!check.Array(kCounts, r->nPolys, sizeof(DWORD), "polygon counts")) return false;
    const uint64_t pointsAt = kCounts + uint64_t{r->nPolys} * sizeof(DWORD);
    if (!check.Array(pointsAt, r->cpts, sizeof(POINTS), "points")) return false;
    const std::span<const DWORD> counts{check.At<DWORD>(kCounts), r->nPolys};
    if (!CountsMatch(check, counts, r->cpts)) return false;
    out->record = r;
    out->counts = counts;
    out->points = {check.At<POINTS>(pointsAt), r->cpts};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyDraw* out,
                   std::string* error) {
    *out = EmfPolyDraw{};
    EmfRecordCheck check;
    constexpr size_t kPoints = offsetof(EMRPOLYDRAW, aptl);
    if (!BeginEmfRecordCheck(doc, record, {EMR_POLYDRAW}, kPoints, "EMRPOLYDRAW", error, &check))
        return false;
    const auto* r = check.At<EMRPOLYDRAW>(0);
    // Each point brings 8 bytes of coordinates and one type byte.
    if (!check.Array(kPoints, r->cptl, sizeof(POINTL) + 1, "points with their types")) return false;
    out->record = r;
    out->points = {check.At<POINTL>(kPoints), r->cptl};
    out->types = {check.At<BYTE>(kPoints + size_t{r->cptl} * sizeof(POINTL)), r->cptl};
    return true;
}

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyDraw16* out,
                   std::string* error) {
    *out = EmfPolyDraw16{};
    EmfRecordCheck check;
    constexpr size_t kPoints = offsetof(EMRPOLYDRAW16, apts);
    if (!BeginEmfRecordCheck(doc, record, {EMR_POLYDRAW16}, kPoints, "EMRPOLYDRAW16", error,
                             &check))
        return false;
    const auto* r = check.At<EMRPOLYDRAW16>(0);
    if (!check.Array(kPoints, r->cpts, sizeof(POINTS) + 1, "points with their types")) return false;
    out->record = r;
    out->points = {check.At<POINTS>(kPoints), r->cpts};
    out->types = {check.At<BYTE>(kPoints + size_t{r->cpts} * sizeof(POINTS)), r->cpts};
    return true;
}
