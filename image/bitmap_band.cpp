#include "image/bitmap_band.h"

#include <cstring>
#include <new>

#include "job/job_context.h"
#include "pxrdriver/dib_sizes.h"
#include "pxrdriver/regions.h"

namespace {

// The job's clip: its bounding rectangle when it is one, else its polygons
// as a clip path (read even-odd, as the region is).
void SelectJobClip(HDC dc, const JobContext& job) {
    if (!job.m_pClipRgn || job.m_bClipIsRect == 1) {
        const RECT& b = job.m_rcClipBounds;
        IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
        return;
    }
    BeginPath(dc);
    for (const HT_ClipRgn* p = job.m_pClipRgn->GetClipRgnRef(); p; p = p->pNext)
        if (p->pPoints && p->nCount > 0) Polygon(dc, p->pPoints, p->nCount);
    EndPath(dc);
    SelectClipPath(dc, RGN_COPY);
}

}  // namespace

BandCanvas::~BandCanvas() {
    if (m_old) SelectObject(m_dc, m_old);
    if (m_section) DeleteObject(m_section);
    if (m_dc) DeleteDC(m_dc);
}

bool BandCanvas::Open(int width, int rows) {
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_section = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (!m_section) return false;
    m_old = SelectObject(m_dc, m_section);
    return true;
}

void BandCanvas::Render(const JobContext& job, const BitmapCall& call, const RasterGeometry& g,
                        int top) {
    // The destination fills the raster exactly; this band shows its rows
    // from top on.
    const int left = static_cast<int>(g.left), topEdge = static_cast<int>(g.top);
    SetMapMode(m_dc, MM_ANISOTROPIC);
    SetWindowExtEx(m_dc, static_cast<int>(g.width), static_cast<int>(g.height), nullptr);
    SetViewportExtEx(m_dc, g.W, g.H, nullptr);
    SetViewportOrgEx(m_dc, 0, -top, nullptr);
    SetWindowOrgEx(m_dc, left, topEdge, nullptr);
    const RECT whole{left, topEdge, static_cast<LONG>(left + g.width),
                     static_cast<LONG>(topEdge + g.height)};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(m_dc, &whole, white);
    DeleteObject(white);
    SelectJobClip(m_dc, job);
    // GDI draws a mirrored destination from its starting pixel back (rows
    // yDest + hDest + 1 to yDest): moved on by one device pixel, the
    // picture fills the raster.
    if (call.wDest < 0 || call.hDest < 0)
        SetViewportOrgEx(m_dc, call.wDest < 0 ? -1 : 0, -top - (call.hDest < 0 ? 1 : 0), nullptr);
    SetStretchBltMode(m_dc, HALFTONE);
    StretchDIBits(m_dc, call.xDest, call.yDest, call.wDest, call.hDest, call.xSrc, call.ySrc,
                  call.wSrc, call.hSrc, call.bits, call.bmi, call.usage, call.rop);
    SelectClipRgn(m_dc, nullptr);
}

bool AlphaSource::Build(const BITMAPINFO* bmi, const void* bits) {
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 32 ||
        (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS))
        return false;
    BITMAPINFOHEADER grey = h;
    grey.biSize = sizeof(BITMAPINFOHEADER);
    grey.biBitCount = 8;
    grey.biCompression = BI_RGB;
    grey.biClrUsed = 256;
    grey.biSizeImage = 0;
    const size_t sourceBytes = HT_GetDIBPixelSize(h);
    const size_t greyBytes = HT_GetDIBPixelSize(grey);
    if (sourceBytes == 0 || greyBytes == 0) return false;
    try {
        m_info.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
        m_bits.assign(greyBytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(m_info.data(), &grey, sizeof grey);
    for (int i = 0; i < 256; ++i) {
        BYTE* e = m_info.data() + sizeof(BITMAPINFOHEADER) + 4 * i;
        e[0] = e[1] = e[2] = static_cast<BYTE>(i);
    }
    const size_t rows = static_cast<size_t>(h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight);
    const size_t width = static_cast<size_t>(h.biWidth);
    const size_t sourceStride = sourceBytes / rows, greyStride = greyBytes / rows;
    const auto* src = static_cast<const BYTE*>(bits);
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < width; ++x)
            m_bits[y * greyStride + x] = src[y * sourceStride + 4 * x + 3];
    return true;
}
