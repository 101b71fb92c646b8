#include "image/bitmap_callbacks.h"

#include <cstring>

#include "driver/callback_groups.h"
#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "image/embedded_raster.h"
#include "job/job_context.h"

namespace {

// The header's own size fields, read from whichever form it has.
bool ReadHeader(const BITMAPINFO* bmi, BITMAPINFOHEADER* out) {
    const DWORD size = bmi->bmiHeader.biSize;
    if (size == 12) {  // BITMAPCOREHEADER: 16-bit width and height
        WORD fields[4];
        std::memcpy(fields, reinterpret_cast<const BYTE*>(bmi) + 4, sizeof fields);
        *out = BITMAPINFOHEADER{};
        out->biWidth = fields[0];
        out->biHeight = fields[1];
        out->biBitCount = fields[3];
        return true;
    }
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    *out = bmi->bmiHeader;
    return true;
}

int DrawBitmap(HostContext* pHost, const BitmapCall& call, bool withAlpha) {
    JobContext* job = JobOf(pHost);
    if (!job || !DriverOf(pHost)) return 0;
    ClosePE(job);
    LeaveRaster(job);
    BITMAPINFOHEADER header;
    if (!ReadHeader(call.bmi, &header)) return 0;
    // An empty destination has no image to send.
    if (call.wDest == 0 || call.hDest == 0) return 0;
    RasterGeometry g;
    if (!ChooseRasterGeometry(*job, call.xDest, call.yDest, call.wDest, call.hDest, call.wSrc,
                              call.hSrc, header, withAlpha, &g))
        return 1;  // wholly clipped: sent as the white raster it would be
    AlphaSource alpha;
    // Sources without an alpha byte are opaque.
    const bool hasAlpha = withAlpha && header.biBitCount == 32 && alpha.Build(call.bmi, call.bits);
    return SendEmbeddedRaster(pHost, call, g, hasAlpha ? &alpha : nullptr);
}

}  // namespace

int OnDrawBitmap(HostContext* pHost, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                 int wSrc, int hSrc, const void* pBits, const BITMAPINFO* pInfo, UINT iUsage,
                 DWORD dwRop) {
    if (!pBits || !pInfo) return 0;
    try {
        const BitmapCall call{xDest, yDest, wDest, hDest, xSrc,   ySrc,
                              wSrc,  hSrc,  pBits, pInfo, iUsage, dwRop};
        return DrawBitmap(pHost, call, false);
    } catch (...) {
        return 0;
    }
}

int OnDrawBitmapAlpha(HostContext* pHost, int xDest, int yDest, int wDest, int hDest, int xSrc,
                      int ySrc, int wSrc, int hSrc, const void* pBits, const BITMAPINFO* pInfo,
                      UINT iUsage, DWORD dwRop) {
    if (!pBits || !pInfo) return 0;
    // One-bit sources have no alpha, whichever header form describes them.
    BITMAPINFOHEADER header;
    if (ReadHeader(pInfo, &header) && header.biBitCount == 1)
        return OnDrawBitmap(pHost, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, pBits, pInfo,
                            iUsage, dwRop);
    try {
        const BitmapCall call{xDest, yDest, wDest, hDest, xSrc,   ySrc,
                              wSrc,  hSrc,  pBits, pInfo, iUsage, dwRop};
        return DrawBitmap(pHost, call, true);
    } catch (...) {
        return 0;
    }
}

void InstallImageCallbacks(DriverCallbacks* t) {
    t->OnDrawBitmap = OnDrawBitmap;
    t->OnDrawBitmapAlpha = OnDrawBitmapAlpha;
}
