// "plothost drivers": the configured plotters and their main settings.
#include <cstdio>
#include <string>

#include "commands.h"
#include "driver_settings.h"
#include "loaded_module.h"
#include "pxrdriver/app_paths.h"

namespace {

std::string PaperName(HT_Driver* driver, const HPGL2DevMode& record) {
    if (record.dm.dmPaperSize == 0) return "custom paper";
    for (const PaperSize& paper : FetchPapers(driver))
        if (paper.nPaperID == record.dm.dmPaperSize) return paper.szPaperName;
    return "paper " + std::to_string(record.dm.dmPaperSize);
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
        const auto record = FetchSettings(driver);
        if (!record) {
            std::printf("    class %s, settings not available\n", DriverClassName(driver).c_str());
            continue;
        }
        std::printf("    class %s, %s, %d dpi, %s %s, %s\n", DriverClassName(driver).c_str(),
                    TransactionModeName(record->nTransaction), EffectiveResolution(*record),
                    PaperName(driver, *record).c_str(),
                    record->dm.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait",
                    ColorModeName(record->nColorMode));
    }
    return 0;
}
