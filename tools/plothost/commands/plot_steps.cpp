#include "commands/plot_steps.h"

#include <csignal>
#include <cstdio>

#include "pxrdriver/driver_callbacks.h"
#include "win32/kernel32/interrupt_requests.h"

namespace {

PlotFailureSink g_failureSink = nullptr;

}  // namespace

void SetPlotFailureSink(PlotFailureSink sink) {
    g_failureSink = sink;
}

int PlotFailure(const std::string& message) {
    if (g_failureSink)
        g_failureSink(message);
    else
        std::fprintf(stderr, "plothost: %s\n", message.c_str());
    return 1;
}

bool PlotStopRequested() {
    return InterruptSignal() != 0;
}

int PlotInterrupted(const JobChannel& channel, TransferMeter* transfer) {
    if (transfer) transfer->Finish();
    const int signal = InterruptSignal();
    std::fprintf(stderr, "plothost: %s: the plot was stopped; %s\n",
                 signal == SIGTERM ? "terminated (SIGTERM)" : "interrupted (Ctrl-C)",
                 channel.DroppedNote().c_str());
    return signal ? 128 + signal : 1;
}

bool PlaceOnPrintableArea(HostContext* host, const EmfDocument& doc, const ReferenceDevice& device,
                          const PlotOptions& options, PrintableArea* area, Placement* placement,
                          std::string* error) {
    const DriverCallbacks* t = host->pCallbacks;
    *area = PrintableArea{t->GetDeviceCaps(host, HORZRES), t->GetDeviceCaps(host, VERTRES),
                          static_cast<double>(t->GetDeviceCaps(host, LOGPIXELSX))};
    return PlaceDrawing(doc.header, device, *area, options.scale, options.fixedScale, placement,
                        error);
}

bool StartPlotDocument(HostContext* host, const PlotOptions& options, const char* output,
                       JobChannel& channel, std::string* error) {
    DOCINFOA info{static_cast<int>(sizeof(DOCINFOA)), options.drawing.c_str(), output, nullptr, 0};
    if (host->pCallbacks->StartDocument(host, &info, &channel)) return true;
    channel.Abort();
    *error = channel.Error().empty() ? "the driver did not start the plot (no file chosen?)"
                                     : channel.Error();
    return false;
}

void TellPlacement(const PlotOptions& options, const PageDescription& page, const Placement& p) {
    std::fprintf(stderr, "plothost: %s, %.1f x %.1f mm on %s %s (printable area %.1f x %.1f mm)",
                 options.drawing.c_str(), p.drawingWidthMM, p.drawingHeightMM, page.paper.c_str(),
                 page.landscape ? "landscape" : "portrait", p.areaWidthMM, p.areaHeightMM);
    if (p.scale == 1)
        std::fprintf(stderr, ", at its true size (1:1)\n");
    else
        std::fprintf(stderr, ", scale %.4g%s\n", p.scale,
                     options.scale == ScaleChoice::Fixed ? "" : " to fit");
    if (!p.fits)
        std::fprintf(stderr,
                     "plothost: warning: the drawing does not fit: the part outside the "
                     "printable area is not plotted\n");
}
