#include "playback/page_metafile.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

bool FitsLong(double v) {
    return std::isfinite(v) && v >= LONG_MIN && v <= LONG_MAX;
}

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
    const Affine& t = placement.toDevice;  // reference pixels -> plotter pixels, no turn
    // Hundredths of a millimetre per reference pixel.
    const double unitsX = device.millimetresX / device.pixelsX * 100;
    const double unitsY = device.millimetresY / device.pixelsY * 100;
    // The printable area in reference pixels, then in the frame's units.
    const double left = -t.dx / t.m11, top = -t.dy / t.m22;
    const double right = left + area.widthPixels / t.m11;
    const double bottom = top + area.heightPixels / t.m22;
    const double frame[4] = {std::round(left * unitsX), std::round(top * unitsY),
                             std::round(right * unitsX), std::round(bottom * unitsY)};
    for (double v : frame)
        if (!FitsLong(v) || !FitsLong(right) || !FitsLong(bottom)) {
            *error = "the page at this scale lies beyond what a metafile can describe";
            return false;
        }
    if (!(frame[2] > frame[0] && frame[3] > frame[1])) {
        *error = "the page at this scale has no size";
        return false;
    }

    const size_t headerSize = doc.records.front().size;
    bytes->assign(doc.data, doc.data + headerSize);
    ENHMETAHEADER header{};
    std::memcpy(&header, bytes->data(), std::min(sizeof header, headerSize));
    header.rclFrame = RECTL{static_cast<LONG>(frame[0]), static_cast<LONG>(frame[1]),
                            static_cast<LONG>(frame[2]), static_cast<LONG>(frame[3])};
    header.rclBounds =
        RECTL{static_cast<LONG>(std::floor(left)), static_cast<LONG>(std::floor(top)),
              static_cast<LONG>(std::ceil(right)) - 1, static_cast<LONG>(std::ceil(bottom)) - 1};

    size_t added = 0;
    // The drawing's own frame, in reference pixels (the logical units of a
    // metafile's start), its right and bottom edge lines included. Always:
    // a drawing's bounds may say it lies inside while its shapes reach
    // beyond, and the vector plot cuts them at the frame. (A rectangle is a
    // clip the raster device keeps without a byte a pixel.)
    if (placement.frame.right > placement.frame.left) {
        const double fl = -t.dx / t.m11, ft = -t.dy / t.m22;
        const double fr = fl + placement.frame.right / t.m11;
        const double fb = ft + placement.frame.bottom / t.m22;
        const RECTL clip{static_cast<LONG>(std::floor(fl)), static_cast<LONG>(std::floor(ft)),
                         static_cast<LONG>(std::ceil(fr)), static_cast<LONG>(std::ceil(fb))};
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
