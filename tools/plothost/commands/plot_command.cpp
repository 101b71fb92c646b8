// "plothost plot DRAWING.emf -o DRAWING.plt": what a host does to plot a
// drawing. It picks a driver, attaches it to a drawing context, starts a
// document on an output channel, plays the metafile's records as host
// calls, ends the document and detaches.
#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "commands/commands.h"
#include "host/driver_settings.h"
#include "host/page_setup.h"
#include "playback/emf_player.h"
#include "output/file_channel.h"
#include "output/socket_channel.h"
#include "output/transfer_meter.h"
#include "host/loaded_module.h"
#include "commands/plot_steps.h"
#include "commands/plot_options.h"
#include "commands/whole_page_plot.h"
#include "pxrdriver/driver_callbacks.h"
#include "win32/interrupt_requests.h"
#include "win32/ui_presenter.h"

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

int RunPlotCommand(LoadedModule& module, const HostOptions& hostOptions) {
    PlotOptions options;
    std::string error;
    if (!ParsePlotOptions(hostOptions.arguments, &options, &error)) {
        std::fprintf(stderr, "plothost: %s\nTry 'plothost --help'.\n", error.c_str());
        return 2;
    }
    // Ctrl-C and SIGTERM only ask the plot to stop from here until plothost
    // exits (PlotStopRequested); the terminal presenter's Cancel follows
    // the same requests.
    InterruptScope interrupts;
    interrupts.KeepUntilExit();
    EmfDocument doc;
    if (!LoadEnhMetaFile(options.drawing.c_str(), &doc, &error))
        return PlotFailure(options.drawing + ": " + error);
    ReferenceDevice device;
    if (!ReadReferenceDevice(doc.header, &device, &error))
        return PlotFailure(options.drawing + ": " + error);

    if (module.Drivers().GetCount() == 0) return PlotFailure("no plotter is configured");
    HT_Driver* driver = module.Find(options.driver);
    if (!driver)
        return PlotFailure("no plotter named \"" + options.driver + "\" (see 'plothost drivers')");
    if (!ApplyPageRequest(driver, PageRequest{options.paper, options.orientation, options.dpi},
                          &error))
        return PlotFailure(error);
    const PageDescription page = DescribePage(driver);

    // Where the job goes: a plot file the driver names (it adds ".plt"), a
    // printer device as the port, or the host's output name.
    std::string outputName = options.outputName;
    std::string port = "LPT1:";
    if (!options.output.empty()) {
        if (IsDirectTarget(options.output)) {
            port = options.output;
        } else {
            outputName = WithPlotExtension(options.output);
            if (outputName != options.output)
                std::fprintf(stderr, "plothost: the plot file is named %s\n", outputName.c_str());
        }
    }

    // A network plotter is the port, as a host names it: the driver opens
    // the channel with it.
    std::unique_ptr<JobChannel> channel;
    std::unique_ptr<TransferMeter> transfer;
    if (!options.to.empty()) {
        port = options.to;
        auto socket = std::make_unique<SocketChannel>(options.socket);
        transfer = std::make_unique<TransferMeter>(options.to);
        socket->onNotice = [&transfer](const std::string& notice) {
            transfer->Finish();
            std::fprintf(stderr, "plothost: %s\n", notice.c_str());
        };
        socket->onProgress = [&transfer](unsigned long long bytes, double seconds) {
            transfer->Update(bytes, seconds);
        };
        channel = std::move(socket);
    } else {
        channel = std::make_unique<FileChannel>();
    }

    TerminalPresenter presenter;
    presenter.strSaveAs = options.saveAs;
    SetUiPresenter(&presenter);
    HostContext host{};
    host.pDriver = driver;
    host.pszPortName = port.c_str();
    int result = 1;
    if (PlotStopRequested()) {
        result = PlotInterrupted(*channel, transfer.get());
    } else if (!driver->Attach(&host)) {
        PlotFailure(std::string("the driver \"") + driver->GetName() + "\" cannot be attached");
    } else {
        const char* output = outputName.empty() ? nullptr : outputName.c_str();
        if (HasVectorEntries(host.pCallbacks))
            result =
                PlotAttached(&host, doc, device, options, page, *channel, transfer.get(), output);
        else if (HasWholePageEntries(host.pCallbacks))
            result =
                PlotWholePage(&host, doc, device, options, page, *channel, transfer.get(), output);
        else
            PlotFailure(std::string("\"") + driver->GetName() + "\" installs no drawing entries");
        driver->Detach(&host);
    }
    SetUiPresenter(nullptr);
    if (transfer) transfer->Finish();
    return result;
}
