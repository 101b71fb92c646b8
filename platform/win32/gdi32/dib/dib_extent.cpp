#include "gdi32/dib/dib_extent.h"

// The bytes of the BITMAPINFO the header announces: header, masks of a
// plain BI_BITFIELDS header and colour table. Like GDI, StretchDIBits has
// no length to check against and trusts the header for it.
bool DibInfoBytes(const BITMAPINFO* bmi, UINT usage, size_t* bytes) {
    const DWORD size = bmi->bmiHeader.biSize;
    if (size == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(bmi);
        const size_t entry = usage == DIB_PAL_COLORS ? 2 : 3;
        *bytes = size + (core->bcBitCount <= 8 ? (size_t{1} << core->bcBitCount) * entry : 0);
        return core->bcBitCount <= 32;
    }
    if (size < sizeof(BITMAPINFOHEADER) || size > 124) return false;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    size_t total = size;
    if (h.biCompression == BI_BITFIELDS && size == sizeof(BITMAPINFOHEADER)) total += 12;
    if (h.biBitCount <= 8) {
        const size_t max = size_t{1} << h.biBitCount;
        const size_t colors = h.biClrUsed == 0 || h.biClrUsed > max ? max : h.biClrUsed;
        total += colors * (usage == DIB_PAL_COLORS ? 2 : 4);
    }
    *bytes = total;
    return true;
}

// Bytes of pixel data: whole rows for uncompressed bitmaps, biSizeImage
// for compressed ones.
size_t DibBitsBytes(const BITMAPINFO* bmi) {
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(bmi);
        uint64_t stride;
        if (!DibImage::StrideFor(core->bcWidth, core->bcBitCount, &stride)) return 0;
        return static_cast<size_t>(stride * core->bcHeight);
    }
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return h.biSizeImage;
    uint64_t stride, bytes;
    const uint64_t rows = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    if (!DibImage::StrideFor(h.biWidth, h.biBitCount, &stride) ||
        __builtin_mul_overflow(stride, rows, &bytes) || bytes > SIZE_MAX)
        return 0;
    return static_cast<size_t>(bytes);
}
