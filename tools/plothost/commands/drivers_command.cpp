// "plothost drivers": the configured plotters and their main settings.
#include <cstdio>
#include <string>

#include "commands/commands.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "pxrdriver/app_paths.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/host_context.h"

namespace {

std::string PaperText(HT_Driver* driver, const DEVMODEA& dm) {
    if (dm.dmPaperSize == 0) return "custom paper";
    for (const PaperSize& paper : FetchPapers(driver))
        if (paper.nPaperID == dm.dmPaperSize) return paper.szPaperName;
    return "paper " + std::to_string(dm.dmPaperSize);
}

// A host learns how a driver plots from the table it installs on attach:
// whole pages come through RenderPageInComputer, vectors through the
// drawing entries.
const char* PlotModeName(HT_Driver* driver) {
    HostContext context{};
    context.pDriver = driver;
    context.pszPortName = "LPT1:";
    if (!driver->Attach(&context) || !context.pCallbacks) return "cannot be attached";
    const char* name = context.pCallbacks->RenderPageInComputer ? "pages rendered in the computer"
                       : context.pCallbacks->OnPolyline         ? "vectors"
                                                                : "no drawing entries";
    driver->Detach(&context);
    return name;
}

}  // namespace

int RunDriversCommand(LoadedModule& module, const HostOptions&) {
    const std::string ini = std::string(KestGetAppFullPath()) + "/hpgl2.ini";
    HostDriverList& list = module.Drivers();
    if (list.GetCount() == 0) {
        std::fprintf(stderr,
                     "plothost: no plotter is configured: %s is missing, unreadable or has no "
                     "plotter section\n",
                     ini.c_str());
        return 1;
    }
    std::printf("%d plotter%s configured in %s\n", list.GetCount(), list.GetCount() == 1 ? "" : "s",
                ini.c_str());
    for (int i = 0; i < list.GetCount(); ++i) {
        HT_Driver* driver = list.At(i);
        std::printf("%2d  %s\n", i + 1, driver->GetName());
        const auto settings = FetchSettings(driver);
        if (!settings) {
            std::printf("    class %s, settings not available\n", DriverClassName(driver).c_str());
            continue;
        }
        const DEVMODEA& dm = settings->Public();
        std::printf("    class %s, %s, %d dpi, %s %s\n", DriverClassName(driver).c_str(),
                    PlotModeName(driver), PrintQuality(dm), PaperText(driver, dm).c_str(),
                    dm.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait");
    }
    return 0;
}
