// Device-independent bitmaps as GDI reads them: the header forms
// (BITMAPCOREHEADER, BITMAPINFOHEADER and its V4/V5 extensions), colour
// tables, 1/4/8/16/24/32 bits per pixel, BI_RGB, BI_BITFIELDS, BI_RLE8 and
// BI_RLE4, top-down and bottom-up rows. Every length is checked against the
// bytes given before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/gdi32/gdi.h"

enum class DibStatus {
    Ok,
    Malformed,    // sizes, bit counts or compressions that do not make a bitmap
    Unsupported,  // BI_JPEG and BI_PNG: images of their own, not decoded here
    TooLarge,     // a run-length bitmap whose pixels would not fit the bounded decode buffer
};

// A run-length bitmap is expanded to one byte a pixel before it is drawn;
// larger ones are refused rather than allocated without bound.
inline constexpr uint64_t kDibMaxRunLengthPixels = uint64_t{64} << 20;

class WIN32_API DibImage {
public:
    // info: the BITMAPINFO (header, masks, colour table) and the bytes that
    // follow it up to infoSize; bits: the pixel data. Neither is copied except
    // the colour table: both must outlive the object. usage is DIB_RGB_COLORS
    // or DIB_PAL_COLORS (the table then indexes the default palette). why
    // receives the reason of a refusal.
    DibStatus Open(const void* info, size_t infoSize, const void* bits, size_t bitsSize, UINT usage,
                   std::string* why = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }  // rows, whatever the row order
    bool TopDown() const { return m_topDown; }
    int BitCount() const { return m_bitCount; }
    DWORD Compression() const { return m_compression; }
    // The fourth byte of 32-bit BI_RGB pixels, or an alpha mask of a V4/V5
    // header; other bitmaps are opaque (255).
    bool HasAlpha() const { return m_hasAlpha; }

    // Display row y (0 is the top row) as Width() pixels 0xAARRGGBB.
    void ReadRow(int y, uint32_t* out) const;
    // The stored bytes of display row y when they are blue, green, red
    // (and a fourth byte) already: 24- and 32-bit BI_RGB bitmaps. Null for
    // every other form, which ReadRow converts.
    const BYTE* DirectRow(int y) const;
    int DirectBytesPerPixel() const { return m_bitCount / 8; }

    // Bytes of pixel data an uncompressed bitmap of this header needs (rows of
    // whole DWORDs); false when the product does not fit 64 bits.
    static bool StrideFor(int64_t width, int bitCount, uint64_t* stride);

private:
    DibStatus Fail(DibStatus status, std::string* why, const char* text);
    DibStatus DecodeRunLength(std::string* why);

    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
    int m_bitCount = 0;
    DWORD m_compression = BI_RGB;
    bool m_hasAlpha = false;
    DWORD m_masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    std::vector<uint32_t> m_colors;   // 0xFFRRGGBB, 2^bitCount entries for indexed bitmaps
    const BYTE* m_bits = nullptr;
    size_t m_bitsSize = 0;
    uint64_t m_stride = 0;
    std::vector<BYTE> m_expanded;  // run-length bitmaps: one index a pixel, bottom row first
};
