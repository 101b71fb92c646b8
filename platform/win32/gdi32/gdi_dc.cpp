// Memory device contexts, DIB sections, brushes and regions: creating,
// selecting and deleting them.
#include <cmath>
#include <new>

#include "gdi32/gdi_objects.h"

namespace {

constexpr uint64_t kMaxSectionBytes = uint64_t{1} << 31;

// A new memory device context holds a 1 x 1 bitmap until the caller selects
// one of its own; SelectObject hands it back then.
HBITMAP StockBitmap() {
    static HBITMAP stock = [] {
        auto* b = new HBITMAP__;
        b->width = b->height = 1;
        b->stride = 4;
        b->bits = std::make_unique<BYTE[]>(4);
        b->stock = true;
        RegisterRasterGdiObject(b);
        return b;
    }();
    return stock;
}

template <typename T>
T* Make() {
    T* object = new (std::nothrow) T;
    if (object) RegisterRasterGdiObject(object);
    return object;
}

}  // namespace

extern "C" {

HDC WINAPI CreateCompatibleDC(HDC) {
    HDC dc = Make<HDC__>();
    if (!dc) return nullptr;
    dc->bitmap = StockBitmap();
    return dc;
}

BOOL WINAPI DeleteDC(HDC hdc) {
    HDC__* dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (dc->bitmap && dc->bitmap->selectedInto == dc) dc->bitmap->selectedInto = nullptr;
    UnregisterRasterGdiObject(dc);
    delete dc;
    return TRUE;
}

HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT, void** ppvBits, HANDLE hSection,
                                DWORD) {
    if (ppvBits) *ppvBits = nullptr;
    if (!pbmi || hSection) return nullptr;
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    // The sections drawn into are 32-bit BI_RGB, top-down or bottom-up.
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 32 || h.biCompression != BI_RGB ||
        h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT_MIN)
        return nullptr;
    const int64_t rows = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    const uint64_t stride = uint64_t{static_cast<DWORD>(h.biWidth)} * 4;
    uint64_t bytes;
    // Sections of 2 GiB and more are refused, as Windows refuses them.
    if (__builtin_mul_overflow(stride, static_cast<uint64_t>(rows), &bytes) ||
        bytes >= kMaxSectionBytes)
        return nullptr;
    auto* b = new (std::nothrow) HBITMAP__;
    if (!b) return nullptr;
    b->bits.reset(new (std::nothrow) BYTE[static_cast<size_t>(bytes)]());
    if (!b->bits) {
        delete b;
        return nullptr;
    }
    b->width = h.biWidth;
    b->height = static_cast<int>(rows);
    b->topDown = h.biHeight < 0;
    b->stride = static_cast<size_t>(stride);
    RegisterRasterGdiObject(b);
    if (ppvBits) *ppvBits = b->bits.get();
    return b;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    HBRUSH brush = Make<HBRUSH__>();
    if (brush) brush->color = color & 0x00FFFFFF;
    return brush;
}

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    HRGN rgn = Make<HRGN__>();
    if (!rgn) return nullptr;
    const double l = std::min(x1, x2), r = std::max(x1, x2);
    const double t = std::min(y1, y2), b = std::max(y1, y2);
    rgn->polygons.push_back({{l, t}, {r, t}, {r, b}, {l, b}});
    return rgn;
}

HRGN WINAPI CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode) {
    if (!pptl || cPoint < 0) return nullptr;
    HRGN rgn = Make<HRGN__>();
    if (!rgn) return nullptr;
    rgn->fillMode = iMode == WINDING ? WINDING : ALTERNATE;
    if (cPoint >= 3) {
        std::vector<DPointF> polygon;
        for (int i = 0; i < cPoint; ++i)
            polygon.push_back({static_cast<double>(pptl[i].x), static_cast<double>(pptl[i].y)});
        rgn->polygons.push_back(std::move(polygon));
    }
    return rgn;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !h) return nullptr;
    if (auto* b = static_cast<HBITMAP__*>(FindRasterGdiObject(h, RasterGdiKind::Bitmap))) {
        // A bitmap lives in one device context at a time.
        if (b->selectedInto && b->selectedInto != dc && !b->stock) return nullptr;
        HBITMAP old = dc->bitmap;
        if (old && old->selectedInto == dc) old->selectedInto = nullptr;
        dc->bitmap = b;
        if (!b->stock) b->selectedInto = dc;
        return old;
    }
    if (auto* brush = static_cast<HBRUSH__*>(FindRasterGdiObject(h, RasterGdiKind::Brush))) {
        HBRUSH old = dc->brush;
        dc->brush = brush;
        return old;
    }
    if (auto* rgn = static_cast<HRGN__*>(FindRasterGdiObject(h, RasterGdiKind::Region))) {
        // Selecting a region makes a copy of it the clip region.
        const int result = SelectClipRgn(hdc, rgn);
        return reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(result));
    }
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    if (auto* b = static_cast<HBITMAP__*>(FindRasterGdiObject(ho, RasterGdiKind::Bitmap))) {
        if (b->stock || b->selectedInto) return FALSE;  // still in a device context
        UnregisterRasterGdiObject(b);
        delete b;
        return TRUE;
    }
    if (auto* brush = FindRasterGdiObject(ho, RasterGdiKind::Brush)) {
        UnregisterRasterGdiObject(brush);
        delete brush;
        return TRUE;
    }
    if (auto* rgn = FindRasterGdiObject(ho, RasterGdiKind::Region)) {
        UnregisterRasterGdiObject(rgn);
        delete rgn;
        return TRUE;
    }
    return FALSE;
}

}  // extern "C"
