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
#include "output/file_channel.h"
#include "output/socket_channel.h"
#include "output/transfer_meter.h"
#include "host/loaded_module.h"
#include "commands/plot_steps.h"
#include "commands/plot_options.h"
#include "commands/plot_drawing.h"
#include "win32/kernel32/interrupt_requests.h"
#include "win32/user32/ui_presenter.h"

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
        result = PlotDrawing(&host, doc, device, options, page, *channel, transfer.get(), output);
        driver->Detach(&host);
    }
    SetUiPresenter(nullptr);
    if (transfer) transfer->Finish();
    return result;
}
