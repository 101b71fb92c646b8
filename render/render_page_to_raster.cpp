// A whole page rendered in the computer, on the render thread. The host's
// thread waits on the event until the metafile has been taken over; from
// then on the page's raster writer is the only writer of the job, and the
// job record belongs to the host again.
#include <afxmt.h>

#include "driver/callback_table.h"
#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "job/job_context.h"
#include "pxrdriver/output_channel.h"
#include "pxrdriver/rip_implate.h"
#include "render/raster_writer_setup.h"
#include "render/render_page_to_raster.h"

namespace {

void Release(CEvent* pEvent) {
    if (pEvent) pEvent->SetEvent();
}

// A page that was not written whole is no plot: the job is dropped, so
// that neither a file nor the plotter keeps half of it.
void DropJob(OutputChannel* pOutput) {
    if (pOutput) pOutput->Abort();
}

}  // namespace

int RenderPageToRaster(HostContext* pHost, HENHMETAFILE hMetaFile, const char* /*pszText*/,
                       void* /*pArgument*/, IDrawCallback* pProgress, CEvent* pEvent) {
    JobContext* job = JobOf(pHost);
    DriverState* driver = DriverOf(pHost);
    if (!job || !driver) {
        Release(pEvent);
        return 0;
    }
    const int width = TableDeviceCap(pHost, HORZRES);
    const int height = TableDeviceCap(pHost, VERTRES);
    if (pProgress) pProgress->SetRange(height);
    ClosePE(job);
    LeaveRaster(job);
    EnterRaster(job);
    // The host's thread may free the job record as soon as the event is
    // set, so everything the record needs is done before that.
    job->m_bPEAbsNext = 1;

    CRTLRip rip(pHost, driver);
    SetUpRasterWriter(rip, driver->m_devmode);
    rip.m_pProgress = pProgress;
    int rendered = 0;
    {
        CRIPImplate implate(&rip);
        if (pProgress) pProgress->SetRange(rip.m_nPageHeight);
        // An empty capability slot gives 0 x 0, which the processor refuses.
        const unsigned w = width > 0 ? static_cast<unsigned>(width) : 0;
        const unsigned h = height > 0 ? static_cast<unsigned>(height) : 0;
        if (!implate.CreateRIPBuffer(w, h, 32, 0)) {
            DropJob(rip.m_pOutput);
            Release(pEvent);
            return 0;
        }
        if (rip.m_nColorFormat == 1) implate.m_bMonochrome = 1;
        implate.BeginRIP(CRect(0, 0, 0, 0), CRect(0, 0, 0, 0));
        HDC dc = implate.GetRIPDC();
        if (HT_IsWindowNT()) {
            implate.m_xformPlay = XFORM{1, 0, 0, 1, 0, 0};
            implate.m_hPlayMetaFile = CopyEnhMetaFileA(hMetaFile, nullptr);
            if (!implate.m_hPlayMetaFile) {  // not a metafile, or no memory
                DropJob(rip.m_pOutput);
                Release(pEvent);
                return 0;
            }
        } else {
            const RECT page{0, 0, width, height};
            if (dc) PlayEnhMetaFile(dc, hMetaFile, &page);
        }
        Release(pEvent);

        rendered = implate.EndRIP() != 0 ? 1 : 0;
        if (!rendered && implate.m_hPlayMetaFile) {
            DeleteEnhMetaFile(implate.m_hPlayMetaFile);
            implate.m_hPlayMetaFile = nullptr;
        }
    }
    if (!rendered) DropJob(rip.m_pOutput);
    return rendered;
}
