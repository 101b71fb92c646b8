// Reading a bitmap's header, masks and colour table (DibImage::Open).
#include <bit>
#include <climits>
#include <cstring>

#include "win32/gdi32/dib.h"

namespace {

// Sizes of the header forms Windows knows: BITMAPCOREHEADER, then
// BITMAPINFOHEADER and its extensions up to BITMAPV5HEADER.
constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kV2HeaderSize = 52;  // with the three colour masks
constexpr DWORD kV3HeaderSize = 56;  // with the alpha mask too
constexpr DWORD kV4HeaderSize = 108;
constexpr DWORD kV5HeaderSize = 124;

// The twenty static colours of a device context's default palette, which
// DIB_PAL_COLORS tables index in a memory device context.
constexpr uint32_t kDefaultPalette[20] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                          0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
                                          0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                          0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

DWORD ReadDword(const BYTE* p) {
    DWORD v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

WORD ReadWord(const BYTE* p) {
    WORD v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool BitCountAllowed(DWORD compression, int bitCount) {
    switch (compression) {
        case BI_RGB:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
        case BI_RLE8: return bitCount == 8;
        case BI_RLE4: return bitCount == 4;
        default: return false;
    }
}

}  // namespace

DibStatus DibImage::Fail(DibStatus status, std::string* why, const char* text) {
    if (why) *why = text;
    m_width = m_height = 0;
    m_bits = nullptr;
    m_expanded.clear();
    return status;
}

bool DibImage::StrideFor(int64_t width, int bitCount, uint64_t* stride) {
    if (width < 0 || bitCount <= 0 || bitCount > 32) return false;
    // width < 2^31 and 32 bits a pixel stay far below 2^64.
    *stride = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
    return true;
}

DibStatus DibImage::Open(const void* info, size_t infoSize, const void* bits, size_t bitsSize,
                         UINT usage, std::string* why) {
    *this = DibImage{};
    const auto* p = static_cast<const BYTE*>(info);
    if (!p || infoSize < 4) return Fail(DibStatus::Malformed, why, "no bitmap header");
    const DWORD headerSize = ReadDword(p);
    if (headerSize > infoSize)
        return Fail(DibStatus::Malformed, why, "the bitmap header is larger than the bytes given");
    int64_t width = 0, height = 0;
    size_t entryBytes = 4;  // RGBQUAD; RGBTRIPLE after a core header
    DWORD clrUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        width = ReadWord(p + 4);
        height = ReadWord(p + 6);
        m_bitCount = ReadWord(p + 10);
        entryBytes = 3;
    } else if (headerSize == kInfoHeaderSize || headerSize == kV2HeaderSize ||
               headerSize == kV3HeaderSize || headerSize == kV4HeaderSize ||
               headerSize == kV5HeaderSize) {
        width = static_cast<LONG>(ReadDword(p + 4));
        height = static_cast<LONG>(ReadDword(p + 8));
        m_bitCount = ReadWord(p + 14);
        m_compression = ReadDword(p + 16);
        clrUsed = ReadDword(p + 32);
    } else {
        return Fail(DibStatus::Malformed, why, "the bitmap header has a size no header form has");
    }
    if (m_compression == BI_JPEG || m_compression == BI_PNG)
        return Fail(DibStatus::Unsupported, why, "the bitmap is a JPEG or PNG image");
    if (!BitCountAllowed(m_compression, m_bitCount))
        return Fail(DibStatus::Malformed, why,
                    "the bit count and compression of the bitmap do not go together");
    if (width <= 0 || height == 0 || height == INT_MIN)
        return Fail(DibStatus::Malformed, why, "the bitmap has no pixels");
    m_topDown = height < 0;
    if (m_topDown && (m_compression == BI_RLE8 || m_compression == BI_RLE4))
        return Fail(DibStatus::Malformed, why, "a run-length bitmap cannot be top-down");
    m_width = static_cast<int>(width);
    m_height = static_cast<int>(height < 0 ? -height : height);

    // Colour masks: inside V2 and later headers, else three DWORDs after a
    // plain header; without BI_BITFIELDS the fixed layouts of 16 and 32 bits.
    size_t tableOffset = headerSize;
    if (m_compression == BI_BITFIELDS) {
        const BYTE* masks = p + kInfoHeaderSize;
        if (headerSize == kInfoHeaderSize) {
            if (infoSize - headerSize < 12)
                return Fail(DibStatus::Malformed, why, "the colour masks run past the header");
            tableOffset += 12;
        } else if (headerSize < kV2HeaderSize) {
            return Fail(DibStatus::Malformed, why, "the header is too short for its colour masks");
        }
        for (int i = 0; i < 3; ++i) m_masks[i] = ReadDword(masks + 4 * i);
        if (headerSize >= kV3HeaderSize) m_masks[3] = ReadDword(masks + 12);
        m_hasAlpha = m_masks[3] != 0;
    } else if (m_bitCount == 16) {
        m_masks[0] = 0x7C00, m_masks[1] = 0x03E0, m_masks[2] = 0x001F;
    } else if (m_bitCount == 32) {
        m_masks[0] = 0xFF0000, m_masks[1] = 0x00FF00, m_masks[2] = 0x0000FF;
        m_masks[3] = 0xFF000000;
        m_hasAlpha = true;
    }

    // Indexed bitmaps: biClrUsed entries, 0 or more than the bit count allows
    // meaning all of them, as GDI reads it.
    if (m_bitCount <= 8) {
        const size_t maxColors = size_t{1} << m_bitCount;
        const size_t colors = clrUsed == 0 || clrUsed > maxColors ? maxColors : clrUsed;
        const size_t bytesEach = usage == DIB_PAL_COLORS ? 2 : entryBytes;
        if (tableOffset > infoSize || (infoSize - tableOffset) / bytesEach < colors)
            return Fail(DibStatus::Malformed, why, "the colour table runs past the bytes given");
        m_colors.assign(maxColors, 0xFF000000);  // values past the table are black
        const BYTE* table = p + tableOffset;
        for (size_t i = 0; i < colors; ++i) {
            if (usage == DIB_PAL_COLORS) {
                const WORD index = ReadWord(table + 2 * i);
                m_colors[i] = 0xFF000000 | (index < 20 ? kDefaultPalette[index] : 0);
            } else {
                const BYTE* e = table + entryBytes * i;
                m_colors[i] = 0xFF000000 | uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
            }
        }
    }

    m_bits = static_cast<const BYTE*>(bits);
    m_bitsSize = bits ? bitsSize : 0;
    if (m_compression == BI_RLE8 || m_compression == BI_RLE4) return DecodeRunLength(why);
    uint64_t needed = 0;
    if (!StrideFor(width, m_bitCount, &m_stride) ||
        __builtin_mul_overflow(m_stride, static_cast<uint64_t>(m_height), &needed) ||
        needed > m_bitsSize)
        return Fail(DibStatus::Malformed, why, "the pixel data is shorter than the bitmap's rows");
    return DibStatus::Ok;
}
