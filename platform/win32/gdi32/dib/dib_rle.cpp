// Expanding BI_RLE8 and BI_RLE4 pixel data. The stream is read pair by
// pair; a stream that ends early leaves the rest of the bitmap at index 0,
// and runs or deltas that go past the bitmap's edge are cut there.
#include <new>

#include "win32/gdi32/dib.h"

DibStatus DibImage::DecodeRunLength(std::string* why) {
    const uint64_t pixels = static_cast<uint64_t>(m_width) * static_cast<uint64_t>(m_height);
    if (pixels > kDibMaxRunLengthPixels)
        return Fail(DibStatus::TooLarge, why, "the run-length bitmap is too large to expand");
    try {
        m_expanded.assign(static_cast<size_t>(pixels), 0);
    } catch (const std::bad_alloc&) {
        return Fail(DibStatus::TooLarge, why, "no memory to expand the run-length bitmap");
    }
    const bool four = m_compression == BI_RLE4;
    const BYTE* s = m_bits;
    const size_t n = m_bitsSize;
    size_t i = 0;
    int64_t x = 0, y = 0;  // y counts rows from the bottom, as the stream does
    auto put = [&](BYTE index) {
        if (x < m_width && y < m_height)
            m_expanded[static_cast<size_t>(y) * m_width + static_cast<size_t>(x)] = index;
        ++x;
    };
    while (i + 2 <= n && y < m_height) {
        const BYTE count = s[i];
        const BYTE value = s[i + 1];
        i += 2;
        if (count > 0) {  // a run: count pixels of one index (RLE4: two alternating)
            for (int k = 0; k < count && x < m_width; ++k)
                put(four ? ((k & 1) ? (value & 0xF) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta: right and up
            if (i + 2 > n) break;
            x += s[i];
            y += s[i + 1];
            i += 2;
        } else {  // absolute run of value indexes, padded to a 16-bit boundary
            const size_t bytes = four ? (value + 1u) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (padded > n - i) {
                if (why) *why = "an absolute run goes past the end of the data";
                break;
            }
            for (int k = 0; k < value; ++k) {
                const BYTE b = s[i + (four ? k / 2 : k)];
                put(four ? ((k & 1) ? (b & 0xF) : (b >> 4)) : b);
            }
            i += padded;
        }
    }
    return DibStatus::Ok;
}
