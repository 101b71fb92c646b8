#include "job/pjl_header.h"

#include <algorithm>
#include <cstdint>

#include "driver/hpgl2_devmode.h"
#include "job/output_stream.h"

namespace {

// The plotter wants room beyond the printable area: 10 mm along the paper,
// 34 mm across it.
constexpr std::int64_t kLengthAllowance = 100;  // tenths of a millimetre
constexpr std::int64_t kWidthAllowance = 340;

int ToPjlUnits(std::int64_t tenths) {
    const double v = static_cast<double>(tenths) * 720 / 254 + 0.5;
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

void WriteNumberLine(JobContext* job, const char* prefix, long long value) {
    CommandText line;
    line.Text(prefix).Int(value).Text(" \r\n");
    WriteCommand(job, line);
}

}  // namespace

int PjlPaperLength(const HPGL2DevMode& r) {
    const std::int64_t t =
        std::int64_t{r.nPaperLength} - r.nMarginBottom - r.nMarginTop + kLengthAllowance;
    return ToPjlUnits(std::max<std::int64_t>(r.nPaperLength, t));
}

int PjlPaperWidth(const HPGL2DevMode& r) {
    const std::int64_t t =
        std::int64_t{r.nPaperWidth} - r.nMarginRight - r.nMarginLeft + kWidthAllowance;
    return ToPjlUnits(std::max<std::int64_t>(r.nPaperWidth, t));
}

void WritePjlHeader(JobContext* job, const HPGL2DevMode& r, int mask) {
    if (mask & kPjlJobName)
        WriteText(job, "\x1b%-12345X@PJL JOB NAME = \"C:\\------\\-------?\"\r\n");
    if (mask & kPjlDriverVersion)
        WriteText(job, "\x1b%-12345X@PJL SET DRIVERVERSION = v4.63 ( WinNT )\r\n");
    if (mask & kPjlPaletteSource) WriteText(job, "@PJL SET PALETTESOURCE = SOFTWARE \r\n");
    if (mask & kPjlRenderMode)
        WriteText(job, r.bRenderMode == 0 ? "@PJL SET RENDERMODE = COLOR\r\n"
                                          : "@PJL SET RENDERMODE = GRAYSCALE  \r\n");
    if (mask & kPjlRet) WriteText(job, "@PJL SET RET = OFF \r\n");
    if (r.bInkedArea)
        WriteText(job, "@PJL SET PRINTAREA = INKEDAREA \r\n");
    else if (mask & kPjlPrintAreaFullSize)
        WriteText(job, "@PJL SET PRINTAREA = FULLSIZE \r\n");
    if (mask & kPjlResolution)
        WriteNumberLine(job, "@PJL SET RESOLUTION = ", EffectiveResolution(r));
    if (mask & kPjlPaperLength) WriteNumberLine(job, "@PJL SET PAPERLENGTH = ", PjlPaperLength(r));
    if (mask & kPjlPaperWidth) WriteNumberLine(job, "@PJL SET PAPERWIDTH = ", PjlPaperWidth(r));
    if (mask & kPjlOrientation) WriteText(job, "@PJL SET ORIENTATION = PORTRAIT \r\n");
    if (mask & kPjlNumBands) WriteText(job, "@PJL SET NUM_BANDS = 0 \r\n");
    if (mask & kPjlEnterLanguage) WriteText(job, "@PJL ENTER LANGUAGE = HPGL2 \r\n");
}
