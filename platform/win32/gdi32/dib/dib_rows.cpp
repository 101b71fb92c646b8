// Reading one display row of a bitmap as 0xAARRGGBB pixels.
#include <bit>

#include "win32/gdi32/dib.h"

namespace {

// A channel of a masked pixel, scaled to 8 bits: a 5-bit 31 becomes 255.
uint32_t Channel(uint32_t value, DWORD mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t field = (value & mask) >> shift;
    const uint32_t maxField = mask >> shift;  // all ones when the mask is contiguous
    if (maxField == 0xFF) return field;
    return static_cast<uint32_t>((static_cast<uint64_t>(field) * 255 + maxField / 2) / maxField);
}

}  // namespace

const BYTE* DibImage::DirectRow(int y) const {
    if (m_compression != BI_RGB || (m_bitCount != 24 && m_bitCount != 32) || !m_bits)
        return nullptr;
    if (y < 0 || y >= m_height) return nullptr;
    const int memoryRow = m_topDown ? y : m_height - 1 - y;
    return m_bits + static_cast<size_t>(memoryRow) * m_stride;
}

void DibImage::ReadRow(int y, uint32_t* out) const {
    if (y < 0 || y >= m_height) return;
    const int w = m_width;
    if (!m_expanded.empty() || m_compression == BI_RLE8 || m_compression == BI_RLE4) {
        // Expanded run-length rows are stored bottom row first.
        const BYTE* row = m_expanded.data() + static_cast<size_t>(m_height - 1 - y) * w;
        for (int x = 0; x < w; ++x) out[x] = m_colors[row[x]];
        return;
    }
    const int memoryRow = m_topDown ? y : m_height - 1 - y;
    const BYTE* row = m_bits + static_cast<size_t>(memoryRow) * m_stride;
    switch (m_bitCount) {
        case 1:
            for (int x = 0; x < w; ++x) out[x] = m_colors[(row[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x) out[x] = m_colors[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            break;
        case 8:
            for (int x = 0; x < w; ++x) out[x] = m_colors[row[x]];
            break;
        case 24:
            for (int x = 0; x < w; ++x, row += 3)
                out[x] = 0xFF000000 | uint32_t{row[2]} << 16 | uint32_t{row[1]} << 8 | row[0];
            break;
        case 16:
            for (int x = 0; x < w; ++x, row += 2) {
                const uint32_t v = uint32_t{row[0]} | uint32_t{row[1]} << 8;
                const uint32_t a = m_masks[3] ? Channel(v, m_masks[3]) : 255;
                out[x] = a << 24 | Channel(v, m_masks[0]) << 16 | Channel(v, m_masks[1]) << 8 |
                         Channel(v, m_masks[2]);
            }
            break;
        case 32:
            if (m_compression == BI_RGB) {
                for (int x = 0; x < w; ++x, row += 4)
                    out[x] = uint32_t{row[3]} << 24 | uint32_t{row[2]} << 16 |
                             uint32_t{row[1]} << 8 | row[0];
                break;
            }
            for (int x = 0; x < w; ++x, row += 4) {
                const uint32_t v = uint32_t{row[0]} | uint32_t{row[1]} << 8 |
                                   uint32_t{row[2]} << 16 | uint32_t{row[3]} << 24;
                const uint32_t a = m_masks[3] ? Channel(v, m_masks[3]) : 255;
                out[x] = a << 24 | Channel(v, m_masks[0]) << 16 | Channel(v, m_masks[1]) << 8 |
                         Channel(v, m_masks[2]);
            }
            break;
        default: break;
    }
}
