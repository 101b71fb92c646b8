#include "driver/device_description.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "driver/driver_state.h"
#include "job/job_context.h"

namespace {

// Tenths of a millimetre to whole millimetres, rounding half up.
LONG TenthsToMM(LONG tenths) {
    return static_cast<LONG>((static_cast<std::int64_t>(tenths) + 5) / 10);
}

// Truncation toward zero, held inside the range of LONG.
LONG Trunc(double value) {
    if (std::isnan(value)) return 0;
    if (value >= std::numeric_limits<LONG>::max()) return std::numeric_limits<LONG>::max();
    if (value <= std::numeric_limits<LONG>::min()) return std::numeric_limits<LONG>::min();
    return static_cast<LONG>(value);
}

// A margin less one 0.1 mm step, never below 0. From 2^21 mm on a float
// cannot tell x - 0.1 from x, so there the step is the next float below x:
// the margins still shrink and the fitting below always ends.
float StepDown(float margin) {
    const float next = std::max(margin - 0.1f, 0.0f);
    return next < margin ? next : std::nextafter(margin, 0.0f);
}

// The two margins of one side of the sheet, fitted so that at least 0.1 mm
// of the side stays printable or both margins are 0.
void FitMargins(float side, float* first, float* second) {
    *first = std::max(*first, 0.0f);
    *second = std::max(*second, 0.0f);
    *first = std::min(*first, side);
    *second = std::min(*second, side);
    if (*first + *second > side) {
        const float oldFirst = *first, oldSecond = *second;
        *first = side - oldSecond;
        *second = side - oldFirst;
    }
    while (side - *first - *second < 0.1f && (*first > 0.0f || *second > 0.0f)) {
        if (*first > 0.0f)
            *first = StepDown(*first);
        else
            *second = StepDown(*second);
    }
}

struct Printable {
    float width;   // millimetres
    float length;  // millimetres
};

// The printable area of a sheet of w x l millimetres under the record's
// left and top margins, which stand for both margins of their side.
Printable FitPrintable(float w, float l, const HPGL2DevMode& r) {
    float left = static_cast<float>(TenthsToMM(r.nMarginLeft)), right = left;
    float top = static_cast<float>(TenthsToMM(r.nMarginTop)), bottom = top;
    FitMargins(w, &left, &right);
    FitMargins(l, &top, &bottom);
    return {w - left - right, l - top - bottom};
}

LONG Pixels(int resolution, float millimetres) {
    return Trunc(static_cast<float>(resolution) * millimetres / 25.4f + 1.5f);
}

void WriteHostConstants(HostContext* h) {
    h->nConst240 = 1;
    h->nConst244 = 255;
    h->bPenColorSwitch = 1;
    h->nConst300 = 256;
    h->nConst312 = 0;
    h->nConst332 = 0;
    h->nConst336 = 0;
    h->nConst340 = 0;
    h->nConst360 = 0;
    h->nConst416 = 1;
    h->nConst420 = 1;
    h->nConst448 = 1;
    h->pszDeviceName = "HPGL2";
    h->pszRevision = "$Revision: 1.2 $";
    h->pszDeviceDescription = "HPGL2 device";
}

}  // namespace

void DescribeDevice(HostContext* pHost) {
    DriverState* driver = DriverOf(pHost);
    if (!driver) return;
    const HPGL2DevMode& r = driver->m_devmode;
    pHost->nPaperWidthMM = TenthsToMM(r.nPaperWidth);
    pHost->nPaperLengthMM = TenthsToMM(r.nPaperLength);

    float w = static_cast<float>(pHost->nPaperWidthMM);
    float l = static_cast<float>(pHost->nPaperLengthMM);
    if (w < 1.01f && l < 1.01f) {
        w = 17.5f;
        l = 22.0f;
    } else {
        w = std::max(w, 1.0f);
        l = std::max(l, 1.0f);
    }
    const Printable p = FitPrintable(w, l, r);
    pHost->nDeviceWidthMM = Trunc(p.width);
    pHost->nDeviceHeightMM = Trunc(p.length);

    const int resolution = EffectiveResolution(r);
    if (JobContext* job = JobOf(pHost)) job->m_nResolution = std::max(resolution, 1);
    pHost->nResolutionStep = Trunc(resolution / 150.0);
    pHost->nDeviceWidthPx = std::max<LONG>(Pixels(resolution, p.width), 1);
    pHost->nDeviceHeightPx = std::max<LONG>(Pixels(resolution, p.length), 1);
    pHost->nOffsetXMM = TenthsToMM(r.nMarginLeft);
    pHost->nOffsetYMM = TenthsToMM(r.nMarginTop);
    WriteHostConstants(pHost);
}

void ComputePageGeometry(HostContext* pHost) {
    DriverState* driver = DriverOf(pHost);
    if (!driver) return;
    const HPGL2DevMode& r = driver->m_devmode;
    JobContext* job = JobOf(pHost);
    const float w = std::max(static_cast<float>(pHost->nPaperWidthMM), 1.0f);
    const float l = std::max(static_cast<float>(pHost->nPaperLengthMM), 1.0f);
    if (job) {
        job->m_dPlotWidth = pHost->nPaperWidthMM - 2.0 * TenthsToMM(r.nMarginLeft);
        job->m_dPlotLength = pHost->nPaperLengthMM - 2.0 * TenthsToMM(r.nMarginTop);
    }
    const Printable p = FitPrintable(w, l, r);
    pHost->nPageWidthMM = Trunc(p.width);
    pHost->nPageHeightMM = Trunc(p.length);

    const int resolution = EffectiveResolution(r);
    pHost->nResolutionStep = resolution <= 150 ? 1 : Trunc(resolution / 150.0);
    if (job) {
        job->m_nResolution = std::max(resolution, 1);
        job->m_ptOrigin = POINT{0, 0};
    }
    pHost->nPageWidthPx = Pixels(resolution, p.width);
    pHost->nPageHeightPx = Pixels(resolution, p.length);
    // Never more pixels than the whole sheet holds.
    pHost->nPageWidthPx = std::min(pHost->nPageWidthPx, Trunc(resolution * w / 25.4 + 0.001));
    pHost->nPageHeightPx = std::min(pHost->nPageHeightPx, Trunc(resolution * l / 25.4 + 0.001));
    if (pHost->nPageWidthPx > pHost->nPageHeightPx) {
        std::swap(pHost->nPageWidthPx, pHost->nPageHeightPx);
        std::swap(pHost->nPageWidthMM, pHost->nPageHeightMM);
    }
}

int GetDeviceCaps(HostContext* pHost, int nIndex) {
    DriverState* driver = DriverOf(pHost);
    if (!driver) return 0;
    driver->RefreshPaperGeometry(&driver->m_devmode);
    const HPGL2DevMode& r = driver->m_devmode;
    const std::int64_t w = r.dm.dmPaperSize != 0 ? r.nPaperWidth : r.dm.dmPaperWidth;
    const std::int64_t l = r.dm.dmPaperSize != 0 ? r.nPaperLength : r.dm.dmPaperLength;
    const std::int64_t res = EffectiveResolution(r);
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    const auto pixels = [&](std::int64_t tenths) { return clamp(tenths * res / 254); };
    const std::int64_t printableW = w - r.nMarginRight - r.nMarginLeft;
    const std::int64_t printableL = l - r.nMarginBottom - r.nMarginTop;
    switch (nIndex) {
        case DRIVERVERSION: return 1;
        case TECHNOLOGY: return 511;
        case HORZSIZE: return clamp(printableW / 10);
        case VERTSIZE: return clamp(printableL / 10);
        case HORZRES: return pixels(printableW);
        case VERTRES: return pixels(printableL);
        case BITSPIXEL: return 32;
        case PLANES: return 3;
        case NUMBRUSHES:
        case NUMPENS:
        case NUMFONTS:
        case NUMCOLORS: return 255;
        case CLIPCAPS: return 1;
        case LOGPIXELSX: return static_cast<int>(res);
        case LOGPIXELSY: return r.dm.dmYResolution > 0 ? r.dm.dmYResolution : static_cast<int>(res);
        case PHYSICALWIDTH: return pixels(w);
        case PHYSICALHEIGHT: return pixels(l);
        case PHYSICALOFFSETX: return pixels(r.nMarginLeft);
        case PHYSICALOFFSETY: return pixels(r.nMarginTop);
        case kCapsReserved179: return 1;
        default: return 0;
    }
}
