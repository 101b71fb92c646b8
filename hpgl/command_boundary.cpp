#include "hpgl/command_boundary.h"

#include "job/job_context.h"
#include "job/output_stream.h"

void ClosePE(JobContext* job) {
    if (job->m_bInPE != 1) return;
    WriteText(job, ";");
    job->m_bInPE = 0;
}

void EnterRaster(JobContext* job) {
    if (job->m_bInRaster != 0) return;
    WriteText(job, "\x1b%1A");
    job->m_bInRaster = 1;
}

void LeaveRaster(JobContext* job) {
    if (job->m_bInRaster != 1) return;
    WriteText(job, "\x1b%1B");
    job->m_bInRaster = 0;
}

void MovePenToRasterCorner(JobContext* job, int64_t x, int64_t y) {
    WriteCommand(
        job,
        CommandText().Text("PUPA").Int(x + job->m_ptOrigin.x).Text(",").Int(y + job->m_ptOrigin.y));
}
