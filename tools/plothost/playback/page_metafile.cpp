#include "playback/page_metafile.h"

#include <cmath>
#include <cstring>

namespace {

constexpr char kBeyondRecords[] =
    "the page at this scale reaches beyond the 32-bit coordinates of the drawing's metafile";

void PutRecord(std::vector<BYTE>* out, DWORD type, const std::vector<LONG>& payload) {
    const DWORD header[2] = {type, static_cast<DWORD>(8 + 4 * payload.size())};
    const size_t at = out->size();
    out->resize(at + 8 + 4 * payload.size());
    std::memcpy(out->data() + at, header, 8);
    if (!payload.empty()) std::memcpy(out->data() + at + 8, payload.data(), 4 * payload.size());
}

}  // namespace

bool BuildPageMetafile(const EmfDocument& doc, const ReferenceDevice& device,
                       const Placement& placement, const PrintableArea& area,
                       std::vector<BYTE>* bytes, std::string* error) {
    PageInDrawing page;
    if (!PageInDrawingUnits(placement, device, area, &page)) {
        *error = kBeyondRecords;
        return false;
    }
    if (!(page.frame.right > page.frame.left && page.frame.bottom > page.frame.top)) {
        *error = "the page at this scale has no size";
        return false;
    }

    const size_t headerSize = doc.records.front().size;
    bytes->assign(doc.data, doc.data + headerSize);
    ENHMETAHEADER header{};
    std::memcpy(&header, bytes->data(), std::min(sizeof header, headerSize));
    header.rclFrame = page.frame;
    header.rclBounds = page.bounds;

    size_t added = 0;
    // The drawing's own frame, in reference pixels (the logical units of a
    // metafile's start), its right and bottom edge lines included. Always:
    // a drawing's bounds may say it lies inside while its shapes reach
    // beyond, and the vector plot cuts them at the frame. (A rectangle is a
    // clip the raster device keeps without a byte a pixel.)
    if (placement.frame.right > placement.frame.left) {
        const Affine& t = placement.toDevice;
        const double fl = -t.dx / t.m11, ft = -t.dy / t.m22;
        const double fr = fl + placement.frame.right / t.m11;
        const double fb = ft + placement.frame.bottom / t.m22;
        RECTL clip;
        if (!ToRecordLong(std::floor(fl), &clip.left) || !ToRecordLong(std::floor(ft), &clip.top) ||
            !ToRecordLong(std::ceil(fr), &clip.right) ||
            !ToRecordLong(std::ceil(fb), &clip.bottom)) {
            *error = kBeyondRecords;
            return false;
        }
        PutRecord(bytes, EMR_INTERSECTCLIPRECT, {clip.left, clip.top, clip.right, clip.bottom});
        PutRecord(bytes, EMR_SETMETARGN, {});
        added = 2;
    }
    bytes->insert(bytes->end(), doc.data + headerSize, doc.data + doc.size);
    header.nBytes = static_cast<DWORD>(bytes->size());
    header.nRecords = static_cast<DWORD>(doc.records.size() + added);
    std::memcpy(bytes->data(), &header, std::min(sizeof header, headerSize));
    return true;
}
