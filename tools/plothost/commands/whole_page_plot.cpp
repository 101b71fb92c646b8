#include "commands/whole_page_plot.h"

#include <cstdio>
#include <string>
#include <vector>

#include "commands/placement_report.h"
#include "playback/page_metafile.h"
#include "pxrdriver/driver_callbacks.h"
#include "win32/enh_metafile.h"
#include "win32/thread_registry.h"

namespace {

int Failure(const std::string& message) {
    std::fprintf(stderr, "plothost: %s\n", message.c_str());
    return 1;
}

}  // namespace

int PlotWholePage(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                  const PlotOptions& options, const PageDescription& page, JobChannel& channel,
                  TransferMeter* transfer, const char* output) {
    const DriverCallbacks* t = host->pCallbacks;
    const PrintableArea area{t->GetDeviceCaps(host, HORZRES), t->GetDeviceCaps(host, VERTRES),
                             static_cast<double>(t->GetDeviceCaps(host, LOGPIXELSX))};
    Placement placement;
    std::string error;
    if (!PlaceDrawing(doc.header, device, area, options.scale, options.fixedScale, &placement,
                      &error))
        return Failure(error);
    std::vector<BYTE> bytes;
    if (!BuildPageMetafile(doc, device, placement, area, &bytes, &error))
        return Failure(options.drawing + ": " + error);
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!metafile) return Failure(options.drawing + ": the page could not be made from it");

    DOCINFOA info{static_cast<int>(sizeof(DOCINFOA)), options.drawing.c_str(), output, nullptr, 0};
    if (!t->StartDocument(host, &info, &channel)) {
        DeleteEnhMetaFile(metafile);
        channel.Abort();
        return Failure(channel.Error().empty()
                           ? "the driver did not start the plot (no file chosen?)"
                           : channel.Error());
    }
    TellPlacement(options, page, placement);
    std::fprintf(stderr, "plothost: rendering the page in the computer, %d x %d pixels\n",
                 area.widthPixels, area.heightPixels);
    const int taken = t->RenderPageInComputer(host, metafile, options.drawing.c_str(), nullptr);
    // The render thread has its own copy once the entry returns.
    DeleteEnhMetaFile(metafile);
    if (!taken) {
        channel.Abort();
        t->EndDocument(host);
        return Failure("the driver could not start rendering the page; nothing was written");
    }
    t->EndDocument(host);
    // The page is written by the driver's threads: the job is complete only
    // when they have ended.
    AfxWaitForAllThreads();
    if (transfer) transfer->Finish();
    if (!channel.Completed())
        return Failure(channel.Error().empty()
                           ? "the page was not plotted (cancelled, or it could not be "
                             "rendered); nothing was written"
                           : channel.Error());
    std::fprintf(stderr, "plothost: %llu bytes written to %s\n", channel.BytesWritten(),
                 channel.Target().c_str());
    return 0;
}
