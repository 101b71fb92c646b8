#include "gdi/hatch_fill.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/dash_pattern.h"

namespace {

// The first multiple of spacing (offset by origin) at or above value.
long long FirstLine(long long value, long long origin, long long spacing) {
    long long k = (value - origin) / spacing;
    if (k * spacing + origin < value) ++k;
    return k * spacing + origin;
}

void ClipAndEmit(const HT_ClipRgn* list, POINT a, POINT b,
                 const std::function<void(std::span<const POINT>)>& emit) {
    const POINT line[2] = {a, b};
    HT_PointerArray pieces(0, nullptr, HT_Free);
    HT_ClipLine(list, line, 2, &pieces);
    for (int i = 0; i < pieces.GetCount(); ++i) {
        const auto* piece = static_cast<const unsigned char*>(pieces.GetData(i));
        std::int32_t count = 0;
        std::memcpy(&count, piece, sizeof count);
        std::vector<POINT> points(static_cast<size_t>(count > 0 ? count : 0));
        std::memcpy(points.data(), piece + sizeof count, points.size() * sizeof(POINT));
        if (points.size() >= 2) emit(points);
    }
    pieces.Clear();
}

}  // namespace

void DrawHatchLines(CKestRgn* region, ULONG hatchStyle, POINT origin, int spacing,
                    const std::function<void(std::span<const POINT>)>& emit) {
    RECT box{};
    if (!region || spacing <= 0 || region->GetRgnBox(&box) == NULLREGION) return;
    const HT_ClipRgn* list = region->GetClipRgnRef();
    if (!list) return;
    const bool horizontal = hatchStyle == HS_HORIZONTAL || hatchStyle == HS_CROSS;
    const bool vertical = hatchStyle == HS_VERTICAL || hatchStyle == HS_CROSS;
    const bool falling = hatchStyle == HS_FDIAGONAL || hatchStyle == HS_DIAGCROSS;  // "\"
    const bool rising = hatchStyle == HS_BDIAGONAL || hatchStyle == HS_DIAGCROSS;   // "/"
    // The lines lie in each cell where GDI's patterns have them.
    const HatchOffsets at = HatchCellOffsets(spacing);
    // Lines run one pixel past the box so that its edges are crossed, not met.
    const long long left = box.left - 1, right = box.right + 1;
    const long long top = box.top - 1, bottom = box.bottom + 1;
    const auto P = [](long long x, long long y) {
        return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
    };
    if (horizontal)
        for (long long y = FirstLine(top, origin.y + at.horizontal, spacing); y <= bottom;
             y += spacing)
            ClipAndEmit(list, P(left, y), P(right, y), emit);
    if (vertical)
        for (long long x = FirstLine(left, origin.x + at.vertical, spacing); x <= right;
             x += spacing)
            ClipAndEmit(list, P(x, top), P(x, bottom), emit);
    const long long height = bottom - top;
    // "\" lines: x - y constant, from the top edge down to the bottom edge.
    if (falling)
        for (long long c = FirstLine(left - bottom, origin.x - origin.y, spacing); c <= right - top;
             c += spacing)
            ClipAndEmit(list, P(c + top, top), P(c + top + height, bottom), emit);
    // "/" lines: x + y constant.
    if (rising)
        for (long long c = FirstLine(left + top, origin.x + origin.y + at.rising, spacing);
             c <= right + bottom; c += spacing)
            ClipAndEmit(list, P(c - top, top), P(c - top - height, bottom), emit);
}
