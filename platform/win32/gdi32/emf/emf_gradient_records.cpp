// EMR_GRADIENTFILL: its vertex and mesh arrays, and the vertex indexes of
// the mesh, which a player follows into the vertices.
#include <array>

#include "gdi32/emf/emf_record_check.h"

namespace {

constexpr size_t kVertices = offsetof(EMRGRADIENTFILL, Ver);

std::array<ULONG, 2> Corners(const GRADIENT_RECT& r) {
    return {r.UpperLeft, r.LowerRight};
}
std::array<ULONG, 3> Corners(const GRADIENT_TRIANGLE& t) {
    return {t.Vertex1, t.Vertex2, t.Vertex3};
}

// Every index must name one of the vertexCount vertices.
template <typename Element>
bool IndexesInRange(const EmfRecordCheck& check, std::span<const Element> mesh, DWORD vertexCount) {
    for (size_t i = 0; i < mesh.size(); ++i)
        for (const ULONG index : Corners(mesh[i]))
            if (index >= vertexCount)
                return check.Fail(EmfFormat("element %zu names vertex %u of the %u it holds", i,
                                            index, vertexCount));
    return true;
}

}  // namespace

bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfGradientFill* out,
                   std::string* error) {
    *out = EmfGradientFill{};
    EmfRecordCheck check;
    if (!BeginEmfRecordCheck(doc, record, {EMR_GRADIENTFILL}, kVertices, "EMRGRADIENTFILL", error,
                             &check))
        return false;
    const auto* r = check.At<EMRGRADIENTFILL>(0);
    if (r->ulMode != GRADIENT_FILL_RECT_H && r->ulMode != GRADIENT_FILL_RECT_V &&
        r->ulMode != GRADIENT_FILL_TRIANGLE)
        return check.Fail(EmfFormat("mode %u is not a gradient mode", r->ulMode));
    if (!check.Array(kVertices, r->nVer, sizeof(TRIVERTEX), "vertices")) return false;
    const uint64_t mesh = kVertices + uint64_t{r->nVer} * sizeof(TRIVERTEX);
    const auto* vertices = check.At<TRIVERTEX>(kVertices);
    if (r->ulMode == GRADIENT_FILL_TRIANGLE) {
        if (!check.Array(mesh, r->nTri, sizeof(GRADIENT_TRIANGLE), "triangles")) return false;
        const std::span<const GRADIENT_TRIANGLE> triangles{
            check.At<GRADIENT_TRIANGLE>(static_cast<size_t>(mesh)), r->nTri};
        if (!IndexesInRange(check, triangles, r->nVer)) return false;
        out->triangles = triangles;
    } else {
        if (!check.Array(mesh, r->nTri, sizeof(GRADIENT_RECT), "rectangles")) return false;
        const std::span<const GRADIENT_RECT> rects{
            check.At<GRADIENT_RECT>(static_cast<size_t>(mesh)), r->nTri};
        if (!IndexesInRange(check, rects, r->nVer)) return false;
        out->rects = rects;
    }
    out->record = r;
    out->vertices = {vertices, r->nVer};
    return true;
}
