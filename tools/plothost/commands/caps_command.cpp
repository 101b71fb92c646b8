// "plothost caps NAME": the device capabilities of one driver, asked the
// way a host asks them, through the callback table of an attached context.
#include <cstdio>
#include <string>

#include "commands/commands.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "pxrdriver/driver_callbacks.h"

namespace {

struct CapabilityName {
    int index;
    const char* name;
    const char* unit;
};

constexpr CapabilityName kCapabilities[] = {
    {DRIVERVERSION, "DRIVERVERSION", ""},
    {TECHNOLOGY, "TECHNOLOGY", ""},
    {HORZSIZE, "HORZSIZE", " mm"},
    {VERTSIZE, "VERTSIZE", " mm"},
    {HORZRES, "HORZRES", " pixels"},
    {VERTRES, "VERTRES", " pixels"},
    {BITSPIXEL, "BITSPIXEL", ""},
    {PLANES, "PLANES", ""},
    {NUMBRUSHES, "NUMBRUSHES", ""},
    {NUMPENS, "NUMPENS", ""},
    {NUMFONTS, "NUMFONTS", ""},
    {NUMCOLORS, "NUMCOLORS", ""},
    {CLIPCAPS, "CLIPCAPS", ""},
    {LOGPIXELSX, "LOGPIXELSX", " dpi"},
    {LOGPIXELSY, "LOGPIXELSY", " dpi"},
    {PHYSICALWIDTH, "PHYSICALWIDTH", " pixels"},
    {PHYSICALHEIGHT, "PHYSICALHEIGHT", " pixels"},
    {PHYSICALOFFSETX, "PHYSICALOFFSETX", " pixels"},
    {PHYSICALOFFSETY, "PHYSICALOFFSETY", " pixels"},
};

double Millimetres(int tenths) {
    return tenths / 10.0;
}

}  // namespace

int RunCapsCommand(LoadedModule& module, const HostOptions& options) {
    if (options.arguments.size() > 1) {
        std::fprintf(stderr, "plothost: caps takes one plotter name\n");
        return 2;
    }
    if (module.Drivers().GetCount() == 0) {
        std::fprintf(stderr, "plothost: no plotter is configured\n");
        return 1;
    }
    const std::string name = options.arguments.empty() ? "1" : options.arguments[0];
    HT_Driver* driver = module.Find(name);
    if (!driver) {
        std::fprintf(stderr, "plothost: no plotter named \"%s\" (see 'plothost drivers')\n",
                     name.c_str());
        return 1;
    }
    HostContext context{};
    context.pDriver = driver;
    context.pszPortName = "LPT1:";
    if (!driver->Attach(&context) || !context.pCallbacks || !context.pCallbacks->GetDeviceCaps) {
        std::fprintf(stderr, "plothost: the driver \"%s\" cannot be attached\n", driver->GetName());
        return 1;
    }
    std::printf("Device capabilities of \"%s\" (%s)\n", driver->GetName(),
                DriverClassName(driver).c_str());
    for (const CapabilityName& cap : kCapabilities)
        std::printf("  %-16s %d%s\n", cap.name,
                    context.pCallbacks->GetDeviceCaps(&context, cap.index), cap.unit);
    driver->Detach(&context);

    const auto papers = FetchPapers(driver);
    std::printf("Papers (%zu)\n", papers.size());
    for (const PaperSize& p : papers)
        std::printf(
            "  %4d  %-24s %7.1f x %7.1f mm, margins top %.1f bottom %.1f left %.1f right %.1f\n",
            p.nPaperID, p.szPaperName, Millimetres(p.nPaperWidth), Millimetres(p.nPaperLength),
            Millimetres(p.nTopMargin), Millimetres(p.nBottomMargin), Millimetres(p.nLeftMargin),
            Millimetres(p.nRightMargin));
    return 0;
}
