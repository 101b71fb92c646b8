#include "commands/plot_drawing.h"

#include <string>

#include "commands/plot_steps.h"
#include "commands/whole_page_plot.h"
#include "playback/emf_player.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/ht_driver.h"

namespace {

// The vector entries the player draws through; drivers in whole-page mode
// ("Transaction in computer") leave them empty.
bool HasVectorEntries(const DriverCallbacks* t) {
    return t && t->GetDeviceCaps && t->StartDocument && t->EndDocument && t->OnPolyline &&
           t->OnPolygon && t->OnBeginPath && t->OnEndPath && t->OnFillPath && t->OnSetFillMode &&
           t->OnSelectPen && t->OnSelectBrush && t->OnSetRop2 && t->OnSetClipRegion;
}

// The page entry of "Transaction in computer" and what a job needs besides.
bool HasWholePageEntries(const DriverCallbacks* t) {
    return t && t->GetDeviceCaps && t->StartDocument && t->EndDocument && t->RenderPageInComputer;
}

// One plot on an attached driver whose table has the vector entries.
int PlotAttached(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                 const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                 TransferMeter* transfer, const char* output) {
    const DriverCallbacks* t = host->pCallbacks;
    PrintableArea area;
    Placement placement;
    std::string error;
    if (!PlaceOnPrintableArea(host, doc, device, options, &area, &placement, &error))
        return PlotFailure(error);
    if (PlotStopRequested()) return PlotInterrupted(channel, transfer);
    if (!StartPlotDocument(host, options, output, channel, &error))
        return PlotStopRequested() ? PlotInterrupted(channel, transfer) : PlotFailure(error);
    TellPlacement(options, page, placement);
    t->OnSetClipRegion(host, nullptr);  // the whole page

    // A job on its way to a network plotter shows its bytes instead.
    ProgressMeter meter(options.to.empty() ? doc.size : 0, doc.records.size());
    PlayOptions play;
    play.device = device;
    play.placement = placement.toDevice;
    // Only the drawing's own page reaches the paper, as metafile viewers
    // show it: editors store objects that lie beyond it too.
    play.frame = placement.frame;
    play.dpi = area.dpi;
    if (meter.Enabled()) play.progress = [&](size_t done, size_t) { meter.Update(done); };
    play.stopRequested = PlotStopRequested;
    RunSummary summary;
    const bool played = PlayMetafile(doc, host, play, &summary, &error);
    meter.Finish();
    if (!played) {
        // Nothing of the job stays: the driver ends it into a dropped channel.
        channel.Abort();
        t->EndDocument(host);
        if (PlotStopRequested()) return PlotInterrupted(channel, transfer);
        if (transfer) transfer->Finish();
        return PlotFailure(options.drawing + ": " + error + "; nothing was written");
    }
    t->EndDocument(host);
    if (transfer) transfer->Finish();  // the summary takes the line
    // A signal after the channel completed the job changes nothing.
    if (!channel.Completed() && PlotStopRequested()) return PlotInterrupted(channel, transfer);
    if (!channel.Completed())
        return PlotFailure(channel.Error().empty() ? "the driver did not finish the plot"
                                                   : channel.Error());
    summary.bytesWritten = channel.BytesWritten();
    PrintSummary(stderr, summary, channel.Target());
    return 0;
}

}  // namespace

int PlotDrawing(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                TransferMeter* transfer, const char* output) {
    if (HasVectorEntries(host->pCallbacks))
        return PlotAttached(host, doc, device, options, page, channel, transfer, output);
    if (HasWholePageEntries(host->pCallbacks))
        return PlotWholePage(host, doc, device, options, page, channel, transfer, output);
    return PlotFailure(std::string("\"") + host->pDriver->GetName() +
                       "\" installs no drawing entries");
}
