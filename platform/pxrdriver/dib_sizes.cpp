#include "pxrdriver/dib_sizes.h"

#include <cstdint>

size_t HT_GetDIBPixelSize(const BITMAPINFOHEADER& h) {
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biBitCount == 0 || h.biBitCount > 32) return 0;
    const uint64_t rows = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    const uint64_t stride = (uint64_t{static_cast<DWORD>(h.biWidth)} * h.biBitCount + 31) / 32 * 4;
    uint64_t bytes;
    if (__builtin_mul_overflow(stride, rows, &bytes) || bytes > SIZE_MAX) return 0;
    return static_cast<size_t>(bytes);
}

DWORD HT_GetDIBColorCount(const BITMAPINFOHEADER& h) {
    constexpr DWORD kMaxColors = 256;
    if (h.biBitCount >= 1 && h.biBitCount <= 8) {
        const DWORD all = DWORD{1} << h.biBitCount;
        return h.biClrUsed == 0 || h.biClrUsed > all ? all : h.biClrUsed;
    }
    if (h.biCompression == BI_BITFIELDS) return 3;
    return h.biClrUsed > kMaxColors ? kMaxColors : h.biClrUsed;
}
