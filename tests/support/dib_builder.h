// Device-independent bitmaps built in memory for tests: header, colour
// table and rows, from pixels given top row first.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include <windows.h>

struct TestDib {
    std::vector<uint8_t> info;  // header, masks or colour table
    std::vector<uint8_t> bits;
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(info.data()); }
};

inline BITMAPINFOHEADER TestHeader(int width, int height, int bitCount, DWORD compression) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = compression;
    return h;
}

inline size_t TestStride(int width, int bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

// Pixels 0xAARRGGBB, top row first; height < 0 stores the rows top-down.
// Bit counts 24 and 32 (BI_RGB, the fourth byte from the alpha).
inline TestDib DirectDib(int width, int height, int bitCount, const std::vector<uint32_t>& argb) {
    TestDib dib;
    const BITMAPINFOHEADER h = TestHeader(width, height, bitCount, BI_RGB);
    dib.info.resize(sizeof h);
    std::memcpy(dib.info.data(), &h, sizeof h);
    const int rows = height < 0 ? -height : height;
    const size_t stride = TestStride(width, bitCount);
    dib.bits.assign(stride * rows, 0);
    for (int y = 0; y < rows; ++y) {
        const int memoryRow = height < 0 ? y : rows - 1 - y;
        uint8_t* row = dib.bits.data() + stride * memoryRow;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = argb[static_cast<size_t>(y) * width + x];
            const int bytes = bitCount / 8;
            for (int k = 0; k < bytes; ++k) row[x * bytes + k] = static_cast<uint8_t>(p >> (8 * k));
        }
    }
    return dib;
}

// Indexed pixels (1, 4 or 8 bits) with a colour table of 0x00RRGGBB values;
// wider bit counts store the values as they are.
inline TestDib IndexedDib(int width, int height, int bitCount, const std::vector<uint32_t>& palette,
                          const std::vector<int>& indexes) {
    TestDib dib;
    BITMAPINFOHEADER h = TestHeader(width, height, bitCount, BI_RGB);
    h.biClrUsed = static_cast<DWORD>(palette.size());
    dib.info.resize(sizeof h + 4 * palette.size());
    std::memcpy(dib.info.data(), &h, sizeof h);
    for (size_t i = 0; i < palette.size(); ++i)
        for (int k = 0; k < 3; ++k)
            dib.info[sizeof h + 4 * i + k] = static_cast<uint8_t>(palette[i] >> (8 * k));
    const int rows = height < 0 ? -height : height;
    const size_t stride = TestStride(width, bitCount);
    dib.bits.assign(stride * rows, 0);
    for (int y = 0; y < rows; ++y) {
        const int memoryRow = height < 0 ? y : rows - 1 - y;
        uint8_t* row = dib.bits.data() + stride * memoryRow;
        for (int x = 0; x < width; ++x) {
            const int v = indexes[static_cast<size_t>(y) * width + x];
            if (bitCount >= 8) {  // whole bytes, low byte first
                for (int k = 0; k < bitCount / 8; ++k)
                    row[static_cast<size_t>(x) * (bitCount / 8) + k] =
                        static_cast<uint8_t>(v >> (8 * k));
                continue;
            }
            const int bit = x * bitCount;
            row[bit / 8] |= static_cast<uint8_t>(v << (8 - bitCount - bit % 8));
        }
    }
    return dib;
}

// What follows the EMR of an EMR_STRETCHDIBITS record that draws the whole
// bitmap, SRCCOPY, at (x, y) over w x h logical units: bounds, xDest, yDest,
// xSrc, ySrc, cxSrc, cySrc, offBmi, cbBmi, offBits, cbBits, iUsage, dwRop,
// cxDest, cyDest, then the header and the rows, each padded to a DWORD.
inline std::vector<DWORD> StretchDibitsPayload(const TestDib& dib, LONG x, LONG y, LONG w, LONG h) {
    const BITMAPINFOHEADER& header = dib.Info()->bmiHeader;
    std::vector<DWORD> info((dib.info.size() + 3) / 4), bits((dib.bits.size() + 3) / 4);
    std::memcpy(info.data(), dib.info.data(), dib.info.size());
    std::memcpy(bits.data(), dib.bits.data(), dib.bits.size());
    const DWORD offBmi = 8 + 4 * 18;
    std::vector<DWORD> record{
        0,
        0,
        0,
        0,
        static_cast<DWORD>(x),
        static_cast<DWORD>(y),
        0,
        0,
        static_cast<DWORD>(header.biWidth),
        static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight),
        offBmi,
        static_cast<DWORD>(dib.info.size()),
        offBmi + static_cast<DWORD>(4 * info.size()),
        static_cast<DWORD>(dib.bits.size()),
        DIB_RGB_COLORS,
        SRCCOPY,
        static_cast<DWORD>(w),
        static_cast<DWORD>(h)};
    record.insert(record.end(), info.begin(), info.end());
    record.insert(record.end(), bits.begin(), bits.end());
    return record;
}
