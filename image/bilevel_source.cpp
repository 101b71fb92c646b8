#include "image/bilevel_source.h"

#include <climits>
#include <cstring>

#include "job/job_context.h"
#include "pxrdriver/dib_sizes.h"

namespace {

bool IsInk(const RGBQUAD& c) {
    return c.rgbRed != 255 || c.rgbGreen != 255 || c.rgbBlue != 255;
}

const BYTE* StoredRow(const BilevelSource& source, int y) {
    const int row = source.topDown ? y : source.height - 1 - y;
    return source.bits + static_cast<size_t>(row) * source.stride;
}

}  // namespace

bool BilevelSourceOf(const JobContext& job, const BitmapCall& call, const RasterGeometry& g,
                     BilevelSource* out) {
    const BITMAPINFOHEADER& h = call.bmi->bmiHeader;
    // Only the plain header with a full two-entry colour table: other forms
    // (core headers, a one-entry table, palette indexes) take the GDI's way.
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biBitCount != 1 || h.biCompression != BI_RGB ||
        (h.biClrUsed != 0 && h.biClrUsed != 2) || call.usage != DIB_RGB_COLORS ||
        call.rop != SRCCOPY)
        return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT_MIN) return false;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    // The whole bitmap, unmirrored, onto the raster's own pixels.
    if (call.xSrc != 0 || call.ySrc != 0 || call.wSrc != h.biWidth || call.hSrc != height)
        return false;
    if (g.W != h.biWidth || g.H != height || g.width != g.W || g.height != g.H ||
        call.xDest != g.left || call.yDest != g.top || call.wDest != g.W || call.hDest != g.H)
        return false;
    if (job.m_pClipRgn && job.m_bClipIsRect != 1) return false;
    const RECT& clip = job.m_rcClipBounds;
    if (clip.left > g.left || clip.top > g.top || clip.right < g.left + g.width ||
        clip.bottom < g.top + g.height)
        return false;
    const size_t bytes = HT_GetDIBPixelSize(h);
    if (bytes == 0) return false;
    const bool ink0 = IsInk(call.bmi->bmiColors[0]), ink1 = IsInk(call.bmi->bmiColors[1]);
    *out = BilevelSource{static_cast<const BYTE*>(call.bits),
                         bytes / static_cast<size_t>(height),
                         height,
                         h.biHeight < 0,
                         static_cast<BYTE>(ink0 != ink1 ? 0xFF : 0),
                         static_cast<BYTE>(ink0 ? 0xFF : 0)};
    return true;
}

void CopyBilevelRows(const BilevelSource& source, int top, int rows, BYTE* out) {
    for (int y = top; y < top + rows; ++y, out += source.stride) {
        const BYTE* in = StoredRow(source, y);
        if (source.keep == 0xFF && source.flip == 0) {
            std::memcpy(out, in, source.stride);
            continue;
        }
        for (size_t i = 0; i < source.stride; ++i)
            out[i] = static_cast<BYTE>((in[i] & source.keep) ^ source.flip);
    }
}

const BYTE* BilevelRowsInPlace(const BilevelSource& source, int top) {
    if (!source.topDown || source.keep != 0xFF || source.flip != 0) return nullptr;
    return StoredRow(source, top);
}
