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
