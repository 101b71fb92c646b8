#include "job/start_document.h"

#include <afxwin.h>
#include <new>

#include "driver/callback_table.h"
#include "driver/driver_state.h"
#include "job/destination.h"
#include "job/job_context.h"
#include "job/job_frame.h"
#include "pxrdriver/output_channel.h"
#include "pxrdriver/regions.h"

namespace {

// The save dialog for "FILE:"; false when the user cancels.
bool AskForPlotFile(JobContext* job, const char* pszDocName) {
    const std::string initial = ProposedPlotName(pszDocName);
    CWnd owner(job->m_hParentWnd ? job->m_hParentWnd : GetDesktopWindow());
    CFileDialog dialog(FALSE, "*.plt", initial.c_str(), OFN_HIDEREADONLY, "*.plt|*.plt|*.*|*.*||",
                       &owner);
    if (dialog.DoModal() != IDOK) return false;
    job->m_strTarget = dialog.GetPathName().str();
    return true;
}

bool ResolveDestination(HostContext* host, JobContext* job, const DOCINFOA* info) {
    const char* output = info ? info->lpszOutput : nullptr;
    if (!output || !*output) {
        job->m_strTarget = host->pszPortName ? host->pszPortName : "";
        return true;
    }
    if (IsFilePort(output)) return AskForPlotFile(job, info->lpszDocName);
    job->m_strTarget = PlotFileName(output);
    return true;
}

// The page as the clip region of a new job, for every primitive alike:
// polylines clip against the region data, polygons and paths against the
// region object, and whatever lies inside the page needs no clipping.
void SetUpPage(HostContext* host, JobContext* job) {
    const int w = TableDeviceCap(host, HORZRES);
    const int h = TableDeviceCap(host, VERTRES);
    job->m_ptExtent = POINT{job->m_ptOrigin.x + w, job->m_ptOrigin.y + h};
    job->m_rcClipBounds = RECT{0, 0, w, h};
    job->m_bClipIsRect = 1;
    // The previous job's region goes with it.
    if (job->m_pClipData) HT_DeleteRgn(job->m_pClipData);
    delete job->m_pClipRgn;
    job->m_pClipRgn = nullptr;
    job->m_pClipData = HT_CreateRectRgnData(POINT{0, 0}, POINT{w, h});
    if (job->m_pClipData) job->m_pClipRgn = new (std::nothrow) CKestRgn(job->m_pClipData);
    job->m_rcClipInner = job->m_rcClipBounds;
    job->m_bClipInnerValid = 1;
}

// A document that does not start leaves no channel behind, so that a later
// end of document writes nothing into it.
int NotStarted(HostContext* host, JobContext* job) {
    job->m_pOutput = nullptr;
    host->bJobStarted = 0;
    return 0;
}

}  // namespace

int StartDocument(HostContext* pHost, const DOCINFOA* pDocInfo, OutputChannel* pChannel) {
    DriverState* driver = DriverOf(pHost);
    JobContext* job = JobOf(pHost);
    if (!driver || !job) return 0;
    // A document the host never ended is ended now, so that its plot is
    // complete and its channel closed before the next one opens.
    if (pHost->bJobStarted && job->m_pOutput) EndJob(&driver->m_attributes.m_pHost, 0);
    job->m_pOutput = pChannel;
    if (!ResolveDestination(pHost, job, pDocInfo)) return NotStarted(pHost, job);
    const DriverCallbacks* table = pHost->pCallbacks;
    if (table && table->DescribeDevice) table->DescribeDevice(pHost);
    if (table && table->ComputePageGeometry) table->ComputePageGeometry(pHost);
    if (!OpenOutput(pHost)) return NotStarted(pHost, job);
    pHost->bJobStarted = 1;
    BeginJob(&driver->m_attributes.m_pHost);
    SetUpPage(pHost, job);
    return 1;
}

LONG_PTR OpenOutput(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return 0;
    for (PenSlot& pen : job->m_aPens) pen.bUsed = 0;  // every document starts with no pens
    if (!job->m_pOutput || !job->m_pOutput->Open(job->m_strTarget.c_str())) return 0;
    return reinterpret_cast<LONG_PTR>(job->m_pOutput);
}

int SetParentWindow(HostContext* pHost, HWND hWnd) {
    if (JobContext* job = JobOf(pHost)) job->m_hParentWnd = hWnd;
    return 1;
}
