#include "image/embedded_raster.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/pen_table.h"
#include "image/bilevel_source.h"
#include "job/job_context.h"
#include "job/output_stream.h"
#include "rtl/band_rows.h"
#include "rtl/raster_frame.h"
#include "rtl/rtl_rip.h"

namespace {

// The pixel buffer of one band: bounded, so that an image of any size
// plots with a few tens of MiB besides its source.
constexpr size_t kBandBytes = size_t{8} << 20;

int ColorFormatOf(LONG colorMode) {
    switch (colorMode) {
        case 1: return 24;
        case 2: return -256;
        default: return 1;
    }
}

// The six configure-image-data bytes of each colour format.
void WriteConfigureImageData(JobContext* job, int format) {
    char command[11] = {'\x1b', '*', 'v', '6', 'W', 0, 1, 0, 0, 0, 0};  // one bit
    if (format == -256) std::memcpy(command + 5, "\x00\x01\x08\x08\x08\x08", 6);
    if (format == 24) std::memcpy(command + 5, "\x00\x03\x03\x08\x08\x08", 6);
    WriteBytes(job, command, sizeof command);
    if (format == -256 && job->m_pOutput) WriteGreyRamp(job->m_pOutput);
}

// Alpha rendered into a band of its own; pixels where it is 0 become white.
void WhitenTransparent(const BYTE* alpha, size_t count, BYTE* pixels) {
    for (size_t i = 0; i < count; ++i)
        if (alpha[4 * i] == 0) pixels[4 * i] = pixels[4 * i + 1] = pixels[4 * i + 2] = 255;
}

void WriteRasterHeader(JobContext* job, const RasterGeometry& g, int format) {
    const long long resolution = job->m_nResolution > 0 ? job->m_nResolution : 300;
    WriteText(job, "\x1b%1A");
    WriteText(job, "\x1bv1N");
    WriteText(job, "\x1bv1O");
    WriteText(job, "\x1b&a0N");
    WriteCommand(job, CommandText().Text("\x1b*r").Int(g.W).Text("S"));
    WriteCommand(job, CommandText().Text("\x1b*r").Int(g.H).Text("T"));
    // The size on paper in decipoints; the plotter scales the raster to it.
    WriteCommand(job, CommandText().Text("\x1b*t").Int(g.width * 720 / resolution).Text("H"));
    WriteCommand(job, CommandText().Text("\x1b*t").Int(g.height * 720 / resolution).Text("V"));
    WriteConfigureImageData(job, format);
    WriteText(job, "\x1b*r3A");  // start at the pen position, scaled
}

}  // namespace

int SendEmbeddedRaster(HostContext* pHost, const BitmapCall& call, const RasterGeometry& g,
                       const AlphaSource* alpha) {
    JobContext* job = JobOf(pHost);
    DriverState* driver = DriverOf(pHost);
    const size_t rowBytes = static_cast<size_t>(g.W) * 4;
    // One row must fit a band: a raster of more than 2^21 pixels a row (at
    // 600 dpi, 89 m of paper) is refused rather than allocated.
    if (rowBytes > kBandBytes) return 0;
    const int bandRows =
        static_cast<int>(std::clamp<size_t>(kBandBytes / rowBytes, 1, static_cast<size_t>(g.H)));
    const int colorFormat = ColorFormatOf(driver->m_devmode.nColorMode);
    // A one-bit bitmap drawn pixel for pixel into one-bit rows needs no
    // band canvas: its rows go to the encoder as they are.
    BilevelSource bilevel;
    const bool fromSource = !alpha && colorFormat == 1 &&
                            RowMethodFor(driver->m_devmode.nCompression) != RowMethod::kNoRows &&
                            BilevelSourceOf(*job, call, g, &bilevel);
    std::unique_ptr<BYTE[]> bilevelRows;
    BandCanvas canvas;
    BandCanvas alphaCanvas;
    if (fromSource) {
        if (!BilevelRowsInPlace(bilevel, 0)) {
            bilevelRows.reset(new (std::nothrow)
                                  BYTE[bilevel.stride * static_cast<size_t>(bandRows)]);
            if (!bilevelRows) return 0;
        }
    } else if (!canvas.Open(g.W, bandRows) || (alpha && !alphaCanvas.Open(g.W, bandRows))) {
        return 0;
    }
    BitmapCall alphaCall = call;
    if (alpha) {
        alphaCall.bits = alpha->Bits();
        alphaCall.bmi = alpha->Info();
        alphaCall.usage = DIB_RGB_COLORS;
        alphaCall.rop = SRCCOPY;
    }

    MovePenToRasterCorner(job, g.left, g.top);
    EnterRaster(job);
    CRTLRip rip(pHost, driver);
    rip.m_nColorFormat = colorFormat;
    rip.m_nCompression = driver->m_devmode.nCompression;
    rip.m_nDataMode = driver->m_devmode.nDataMode;
    rip.m_bEmbedded = 1;
    WriteRasterHeader(job, g, rip.m_nColorFormat);

    for (int top = 0; top < g.H; top += bandRows) {
        const int rows = std::min(bandRows, g.H - top);
        RipBandBits bits{g.W, rows, 4, canvas.Pixels()};
        if (fromSource) {
            const BYTE* packed = BilevelRowsInPlace(bilevel, top);
            if (!packed) {
                CopyBilevelRows(bilevel, top, rows, bilevelRows.get());
                packed = bilevelRows.get();
            }
            bits = RipBandBits{static_cast<int>(bilevel.stride * 8), rows, 0, packed};
        } else {
            canvas.Render(*job, call, g, top);
            if (alpha) {
                alphaCanvas.Render(*job, alphaCall, g, top);
                WhitenTransparent(alphaCanvas.Pixels(),
                                  static_cast<size_t>(g.W) * static_cast<size_t>(rows),
                                  canvas.Pixels());
            }
        }
        // The header is written above, so no band carries RIP_FIRST_BAND;
        // the last one ends the raster.
        const DWORD flags = 1 | (top + rows == g.H ? RIP_LAST_BAND : 0);
        rip.EncodeBand(flags, RECT{0, top, g.W, top + rows}, &bits);
    }
    LeaveRaster(job);
    job->m_bPEAbsNext = 1;
    ForgetPensAfterRaster(job);
    return 1;
}
