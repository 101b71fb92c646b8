// The canvas a band renders into: a memory DC over a top-down DIB section,
// placed so that its coordinates are the drawing's device pixels.
#include <algorithm>
#include <climits>

#include "rip_internal.h"
#include "win32/gdi32/device_style.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

bool ToInt(long long v, int* out) {
    if (v < INT_MIN || v > INT_MAX) return false;
    *out = static_cast<int>(v);
    return true;
}

// The plotter's screen pixel in device pixels: its resolution (the frame's
// millimetres onto the raster's pixels) / 96, at least 1. Cosmetic pen
// styles and hatches are measured in it, as the vector plot measures them.
double ScreenPixel(const RipPicture& picture) {
    const EmfDocument* doc = EnhMetaFileDocument(picture.metafile);
    if (!doc) return 1;
    const double frameMm =
        (static_cast<double>(doc->header.rclFrame.right) - doc->header.rclFrame.left) / 100.0;
    const double pixels = static_cast<double>(picture.dest.right) - picture.dest.left;
    if (!(frameMm > 0) || !(pixels > 0)) return 1;
    return std::max(1.0, pixels / (frameMm / 25.4) / 96.0);
}

}  // namespace

RipCanvas::~RipCanvas() {
    if (m_dc && m_previous) SelectObject(m_dc, m_previous);
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_dc) DeleteDC(m_dc);
}

bool RipCanvas::Create(unsigned width, unsigned rows) {
    if (m_dc || width == 0 || rows == 0 || width > INT_MAX || rows > INT_MAX) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(rows);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc) return false;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap) return false;
    m_previous = SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<uint32_t*>(bits);
    m_width = width;
    m_rows = rows;
    Clear();
    return true;
}

void RipCanvas::Clear() {
    if (m_bits) std::fill_n(m_bits, size_t{m_width} * m_rows, kWhite);
}

bool RipCanvas::PlaceAt(const RECT& dest, unsigned top) {
    int x, y;
    if (!ToInt(-static_cast<long long>(dest.left), &x) ||
        !ToInt(-static_cast<long long>(dest.top) - top, &y))
        return false;
    // Hatches keep the phase they have on the whole raster.
    return SetViewportOrgEx(m_dc, x, y, nullptr) &&
           SetBrushOrgEx(m_dc, 0, -static_cast<int>(top), nullptr);
}

bool RipCanvas::Render(const RipPicture& picture, unsigned top) {
    if (!m_dc) return false;
    Clear();
    if (!PlaceAt(picture.dest, top)) return false;
    if (!SetGraphicsMode(m_dc, GM_ADVANCED)) return false;
    SetDeviceStyleUnit(m_dc, ScreenPixel(picture));
    bool ok = SetWorldTransform(m_dc, &picture.world) != FALSE;
    if (ok) ok = PlayEnhMetaFile(m_dc, picture.metafile, &picture.dest) != FALSE;
    ModifyWorldTransform(m_dc, nullptr, MWT_IDENTITY);
    SetGraphicsMode(m_dc, GM_COMPATIBLE);
    return ok;
}
