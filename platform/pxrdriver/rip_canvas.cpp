// The canvas a band renders into: a memory DC over a top-down DIB section.
#include <algorithm>
#include <climits>

#include "rip_internal.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

bool ToInt(long long v, int* out) {
    if (v < INT_MIN || v > INT_MAX) return false;
    *out = static_cast<int>(v);
    return true;
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
    std::fill_n(m_bits, size_t{width} * rows, kWhite);
    return true;
}

void RipCanvas::Clear() {
    const RECT& d = m_drawn;
    for (LONG y = d.top; y < d.bottom; ++y)
        std::fill_n(m_bits + static_cast<size_t>(y) * m_width + d.left, d.right - d.left, kWhite);
    m_drawn = RECT{0, 0, 0, 0};
}

void RipCanvas::MarkDrawn(const RECT& area) {
    const LONG w = static_cast<LONG>(m_width), h = static_cast<LONG>(m_rows);
    const RECT a{std::clamp<LONG>(area.left, 0, w), std::clamp<LONG>(area.top, 0, h),
                 std::clamp<LONG>(area.right, 0, w), std::clamp<LONG>(area.bottom, 0, h)};
    if (a.right <= a.left || a.bottom <= a.top) return;
    RECT& d = m_drawn;
    d = d.right > d.left ? RECT{std::min(d.left, a.left), std::min(d.top, a.top),
                                std::max(d.right, a.right), std::max(d.bottom, a.bottom)}
                         : a;
}

bool RipCanvas::PlaceAt(const RECT& dest) {
    int x, y;
    if (!ToInt(-static_cast<long long>(dest.left), &x) ||
        !ToInt(-static_cast<long long>(dest.top), &y))
        return false;
    return SetViewportOrgEx(m_dc, x, y, nullptr) != FALSE;
}
