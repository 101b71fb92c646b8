#include "hpgl/clip_callbacks.h"

#include <new>

#include "driver/callback_table.h"
#include "hpgl/command_boundary.h"
#include "job/job_context.h"
#include "job/output_stream.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/regions.h"

namespace {

// The input window is always one unit larger on every side than what it guards.
void WriteInputWindow(JobContext* job, const char* prefix, long long left, long long top,
                      long long right, long long bottom) {
    CommandText iw;
    iw.Text(prefix).Int(left - 1).Text(",").Int(top - 1).Text(",").Int(right + 1).Text(",").Int(
        bottom + 1);
    WriteCommand(job, iw);
}

}  // namespace

int OnSetClipRegion(HostContext* pHost, const HT_ClipRgn* pRegion) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    job->m_rcClipInner = RECT{0, 0, 0, 0};
    job->m_bClipInnerValid = 0;
    if (job->m_pClipData) HT_DeleteRgn(job->m_pClipData);
    job->m_pClipData = nullptr;
    delete job->m_pClipRgn;
    job->m_pClipRgn = nullptr;

    const LONG w = TableDeviceCap(pHost, HORZRES) + 1;
    const LONG h = TableDeviceCap(pHost, VERTRES) + 1;
    job->m_rcClipBounds = RECT{-1, -1, w, h};
    job->m_bClipIsRect = 1;
    job->m_pClipData = HT_CreateRectRgnData(POINT{-1, -1}, POINT{w, h});
    ClosePE(job);
    LeaveRaster(job);

    const POINT origin = job->m_ptOrigin;
    if (!pRegion) {
        WriteInputWindow(job, "IW;IW", origin.x, origin.y, job->m_ptExtent.x, job->m_ptExtent.y);
        if (job->m_pClipData) job->m_pClipRgn = new (std::nothrow) CKestRgn(job->m_pClipData);
        job->m_rcClipInner = job->m_rcClipBounds;
        job->m_bClipInnerValid = 1;
        return 1;
    }
    if (job->m_pClipData) {
        job->m_pClipData->pNext = HT_CloneRgnData(pRegion);
        if (job->m_pClipData->pNext) job->m_pClipData->pNext->nFlags = 0;
        CRect bounds(job->m_rcClipBounds);
        job->m_bClipIsRect = HT_StandardClipRgn(job->m_pClipData, &bounds) ? 1 : 0;
        job->m_rcClipBounds = bounds;
    }
    const RECT& b = job->m_rcClipBounds;
    WriteInputWindow(job, "IW;IW", static_cast<long long>(b.left) + origin.x,
                     static_cast<long long>(b.top) + origin.y,
                     static_cast<long long>(b.right) + origin.x,
                     static_cast<long long>(b.bottom) + origin.y);
    if (job->m_pClipData) job->m_pClipRgn = new (std::nothrow) CKestRgn(job->m_pClipData);
    if (job->m_bClipIsRect == 1) {
        job->m_rcClipInner = job->m_rcClipBounds;
        job->m_bClipInnerValid = 1;
    } else {
        CRect inner(0, 0, 0, 0);
        job->m_bClipInnerValid =
            job->m_pClipData && HT_GetRgnMinRect(job->m_pClipData, &inner) ? 1 : 0;
        job->m_rcClipInner = inner;
    }
    return 1;
}

int OnResetInputWindow(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    ClosePE(job);
    LeaveRaster(job);
    WriteInputWindow(job, "IW", job->m_ptOrigin.x, job->m_ptOrigin.y, job->m_ptExtent.x,
                     job->m_ptExtent.y);
    return 1;
}
