// Reads arbitrary bytes as a bitmap: the first two bytes give the length of
// the BITMAPINFO part, the third the colour usage, the rest is the header
// part and then the pixel data, each in a buffer of exactly its size so that
// a read past either shows up under AddressSanitizer. Every row of a bitmap
// that opens is read, and a small one is stretched through HALFTONE into a
// device context.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "win32/gdi32/dib.h"
#include <windows.h>

namespace {

volatile uint32_t g_sink;

// Rows x width read at most, so that one input stays fast.
constexpr uint64_t kMaxPixelsRead = uint64_t{1} << 20;

void Stretch(const std::vector<uint8_t>& info, const std::vector<uint8_t>& bits, UINT usage) {
    // StretchDIBits trusts the header for the lengths of both parts, as GDI
    // does; give it bitmaps whose announced parts lie inside the buffers.
    BITMAPINFOHEADER h;
    if (info.size() < sizeof h) return;
    std::memcpy(&h, info.data(), sizeof h);
    if (h.biSize != sizeof h || h.biBitCount > 8 || h.biClrUsed != 0 ||
        info.size() < sizeof h + (size_t{4} << h.biBitCount))
        return;
    if (h.biCompression != BI_RGB && h.biSizeImage > bits.size()) return;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof target.bmiHeader;
    target.bmiHeader.biWidth = 16;
    target.bmiHeader.biHeight = -16;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(dc, &target, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    SetStretchBltMode(dc, HALFTONE);
    const BITMAPINFO* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    StretchDIBits(dc, -3, 2, 21, 11, 1, 0, 5, 4, bits.data(), bmi, usage, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const size_t infoSize = std::min<size_t>(size - 3, size_t{data[0]} | size_t{data[1]} << 8);
    const UINT usage = data[2] & 1;
    // Separate exact-size buffers, 4-byte aligned as GDI's callers align them.
    std::vector<uint8_t> info(data + 3, data + 3 + infoSize);
    std::vector<uint8_t> bits(data + 3 + infoSize, data + size);
    DibImage image;
    if (image.Open(info.data(), info.size(), bits.data(), bits.size(), usage) == DibStatus::Ok) {
        const uint64_t pixels = uint64_t(image.Width()) * uint64_t(image.Height());
        if (pixels <= kMaxPixelsRead) {
            std::vector<uint32_t> row(static_cast<size_t>(image.Width()));
            for (int y = 0; y < image.Height(); ++y) {
                image.ReadRow(y, row.data());
                for (uint32_t p : row) g_sink = g_sink + p;
            }
        }
        if (image.Width() <= 64 && image.Height() <= 64) Stretch(info, bits, usage);
    }
    return 0;
}
