// A metafile placed into a rectangle of a vector plot, sent as an embedded
// raster: the pen moves to the rectangle's corner, the plotter enters HP
// RTL there, the rendered rows follow, and the plot returns to HP-GL/2.
#include <cstdint>

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/pen_table.h"
#include "job/job_context.h"
#include "job/output_stream.h"
#include "pxrdriver/rip_implate.h"
#include "render/raster_writer_setup.h"
#include "render/render_page_to_raster.h"

namespace {

// Plays the metafile into the raster's device context under the caller's
// world transform, leaving the context's own transform and mode as found.
void PlayUnderTransform(HDC dc, HENHMETAFILE hMetaFile, const XFORM& xform, const RECT& rect) {
    const int oldMode = SetGraphicsMode(dc, GM_ADVANCED);
    XFORM saved{1, 0, 0, 1, 0, 0};
    GetWorldTransform(dc, &saved);
    SetWorldTransform(dc, &xform);
    PlayEnhMetaFile(dc, hMetaFile, &rect);
    SetWorldTransform(dc, &saved);
    if (oldMode) SetGraphicsMode(dc, oldMode);
}

}  // namespace

int RenderMetafileRegion(HostContext* pHost, HENHMETAFILE hMetaFile, const double* pTransform,
                         const RECT* pRect) {
    JobContext* job = JobOf(pHost);
    DriverState* driver = DriverOf(pHost);
    if (!job || !driver || !pRect) return 1;
    const CRect rect(*pRect);
    ClosePE(job);
    LeaveRaster(job);
    MovePenToRasterCorner(job, rect.left, rect.top);
    EnterRaster(job);

    CRTLRip rip(pHost, driver);
    SetUpRasterWriter(rip, driver->m_devmode);
    rip.m_bEmbedded = 1;
    bool rendered = false;
    bool started = false;
    {
        CRIPImplate implate(&rip);
        // In 64 bits: the corners may lie at the ends of 32 bits. An
        // inverted rectangle asks for no raster rather than a huge one;
        // every positive size fits an unsigned.
        const int64_t width = int64_t{rect.right} - rect.left;
        const int64_t height = int64_t{rect.bottom} - rect.top;
        if (width > 0 && height > 0 &&
            implate.CreateRIPBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                                    0)) {
            if (rip.m_nColorFormat == 1) implate.m_bMonochrome = 1;
            implate.BeginRIP(rect, CRect(0, 0, 0, 0));
            HDC dc = implate.GetRIPDC();
            XFORM xform{1, 0, 0, 1, 0, 0};
            if (pTransform)
                xform = XFORM{static_cast<float>(pTransform[0]), static_cast<float>(pTransform[1]),
                              static_cast<float>(pTransform[2]), static_cast<float>(pTransform[3]),
                              static_cast<float>(pTransform[4]), static_cast<float>(pTransform[5])};
            if (HT_IsWindowNT()) {
                if (dc) PlayUnderTransform(dc, hMetaFile, xform, rect);
                implate.m_xformPlay = xform;
                // A copy: the processor releases what it played after a
                // successful pass, and the caller's metafile stays the caller's.
                implate.m_hPlayMetaFile = CopyEnhMetaFileA(hMetaFile, nullptr);
            } else if (dc) {
                PlayEnhMetaFile(dc, hMetaFile, &rect);
            }
            started = true;
            rendered = implate.EndRIP() != 0;
            if (!rendered && implate.m_hPlayMetaFile) {
                DeleteEnhMetaFile(implate.m_hPlayMetaFile);
                implate.m_hPlayMetaFile = nullptr;
            }
        }
    }
    // The raster's palette replaced the plotter's pens: define them again.
    if (started) ForgetPensAfterRaster(job);
    LeaveRaster(job);
    job->m_bPEAbsNext = 1;
    if (rendered) WriteText(job, ";");
    return 1;
}
