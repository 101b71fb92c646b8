#include "job/job_frame.h"

#include <algorithm>
#include <cmath>

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/pen_table.h"
#include "job/control_code.h"
#include "job/job_context.h"
#include "job/output_stream.h"
#include "job/pjl_header.h"
#include "pxrdriver/output_channel.h"

namespace {

// Plot size in plotter units of 0.025 mm, rounded up.
int PlotUnits(double millimetres) {
    return static_cast<int>(
        std::clamp(std::trunc(millimetres * 40.0 + 0.9999), -2147483648.0, 2147483647.0));
}

}  // namespace

void BeginJob(HostContext** ppHost) {
    HostContext* host = ppHost ? *ppHost : nullptr;
    DriverState* driver = DriverOf(host);
    JobContext* job = JobOf(host);
    if (!driver || !job || !host->bJobStarted) return;
    const HPGL2DevMode& r = driver->m_devmode;

    int mask = r.nHeadMask;
    if (r.bPjlControl) mask = SendControlCode(job, r.szControlCode, mask);
    WritePjlHeader(job, r, mask);

    // Enter HP-GL/2 and begin the plot with automatic rotation off.
    WriteText(job, "\x1b%0BBP5,1");
    const int a = PlotUnits(job->m_dPlotLength);
    const int b = PlotUnits(job->m_dPlotWidth);
    CommandText size;
    size.Text("PS").Int(a).Text(",").Int(b);
    WriteCommand(job, size);
    // One write of six commands: EC (the cutter's setting), RO90 or RO180
    // (rotation: the plot's long side runs along the paper), IP0,0,1016,-1016
    // (scaling points 1 inch apart in plotter units, y growing downwards),
    // IR0,100 (P1, the origin, at the upper left of the hard-clip limits, P2
    // following it), TR1 (white is transparent) and MC0WU0 (merge control
    // off, pen widths in millimetres).
    WriteText(job, a >= b ? "EC"
                            "RO90"
                            "IP0,0,1016,-1016"
                            "IR0,100"
                            "TR1"
                            "MC0WU0"
                          : "EC"
                            "RO180"
                            "IP0,0,1016,-1016"
                            "IR0,100"
                            "TR1"
                            "MC0WU0");
    // Merge control carries over from the previous job.
    if (job->m_nCurRop2 == R2_MASKPEN) WriteText(job, "MC1,160");
    // One user unit is one device pixel.
    CommandText scale;
    scale.Text("SC0,")
        .Fixed(job->m_nResolution, 6)
        .Text(",0,")
        .Fixed(job->m_nResolution, 6)
        .Text(";");
    WriteCommand(job, scale);
    WriteText(job, "CR0,255,0,255,0,255");
    WriteText(job, "SP1");
    ResetPenState(job);
    job->m_bInPE = 0;
    job->m_bInRaster = 0;  // a new job starts in HP-GL/2
}

void EndJob(HostContext** ppHost, int) {
    HostContext* host = ppHost ? *ppHost : nullptr;
    JobContext* job = JobOf(host);
    if (!job || !host->bJobStarted || !job->m_pOutput) return;
    // A job that ended on an image is still in HP RTL; the end of job is HP-GL/2.
    LeaveRaster(job);
    WriteText(job, ";PUSP0PG;\x1b%-12345X@PJL EOJ ");
    job->m_pOutput->Close();
    job->m_pOutput = nullptr;
}

int EndDocument(HostContext* pHost) {
    DriverState* driver = DriverOf(pHost);
    if (driver) EndJob(&driver->m_attributes.m_pHost, 0);
    return 1;
}
