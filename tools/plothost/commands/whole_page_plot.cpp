#include "commands/whole_page_plot.h"

#include <cstdio>
#include <string>
#include <vector>

#include "commands/plot_steps.h"
#include "playback/page_metafile.h"
#include "pxrdriver/driver_callbacks.h"
#include "win32/gdi32/enh_metafile.h"
#include "win32/kernel32/thread_registry.h"

int PlotWholePage(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                  const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                  TransferMeter* transfer, const char* output) {
    const DriverCallbacks* t = host->pCallbacks;
    PrintableArea area;
    Placement placement;
    std::string error;
    if (!PlaceOnPrintableArea(host, doc, device, options, &area, &placement, &error))
        return PlotFailure(error);
    std::vector<BYTE> bytes;
    if (!BuildPageMetafile(doc, device, placement, area, &bytes, &error))
        return PlotFailure(options.drawing + ": " + error);
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!metafile) return PlotFailure(options.drawing + ": the page could not be made from it");

    if (PlotStopRequested() || !StartPlotDocument(host, options, output, channel, &error)) {
        DeleteEnhMetaFile(metafile);
        return PlotStopRequested() ? PlotInterrupted(channel, transfer) : PlotFailure(error);
    }
    TellPlacement(options, page, placement);
    if (PlotStopRequested()) {
        DeleteEnhMetaFile(metafile);
        channel.Abort();
        t->EndDocument(host);
        return PlotInterrupted(channel, transfer);
    }
    std::fprintf(stderr, "plothost: rendering the page in the computer, %d x %d pixels\n",
                 area.widthPixels, area.heightPixels);
    const int taken = t->RenderPageInComputer(host, metafile, options.drawing.c_str(), nullptr);
    // The render thread has its own copy once the entry returns.
    DeleteEnhMetaFile(metafile);
    if (!taken) {
        channel.Abort();
        t->EndDocument(host);
        if (PlotStopRequested()) return PlotInterrupted(channel, transfer);
        return PlotFailure("the driver could not start rendering the page; nothing was written");
    }
    t->EndDocument(host);
    // The page is written by the driver's threads: the job is complete only
    // when they have ended.
    AfxWaitForAllThreads();
    if (transfer) transfer->Finish();
    // The presenter took a signal as Cancel, or the channel dropped the job
    // on it; one after the channel completed the job changes nothing.
    if (!channel.Completed() && PlotStopRequested()) return PlotInterrupted(channel, transfer);
    if (!channel.Completed())
        return PlotFailure(channel.Error().empty()
                               ? "the page was not plotted (cancelled, or it could not be "
                                 "rendered); nothing was written"
                               : channel.Error());
    std::fprintf(stderr, "plothost: %llu bytes written to %s\n", channel.BytesWritten(),
                 channel.Target().c_str());
    return 0;
}
