// "plothost papers [--driver PLOTTER]": the papers a driver offers, with
// their sheet and printable sizes; the one its settings hold is marked.
#include <cstdio>
#include <string>

#include "commands/commands.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "host/paper_choice.h"

namespace {

int UsageError(const std::string& message) {
    std::fprintf(stderr, "plothost: %s\nTry 'plothost --help'.\n", message.c_str());
    return 2;
}

}  // namespace

int RunPapersCommand(LoadedModule& module, const HostOptions& options) {
    std::string name = "1";
    const std::vector<std::string>& args = options.arguments;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--driver") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return UsageError("--driver needs a value");
            name = args[++i];
        } else {
            return UsageError("papers takes only --driver PLOTTER, not \"" + args[i] + "\"");
        }
    }
    if (module.Drivers().GetCount() == 0) {
        std::fprintf(stderr, "plothost: no plotter is configured\n");
        return 1;
    }
    HT_Driver* driver = module.Find(name);
    if (!driver) {
        std::fprintf(stderr, "plothost: no plotter named \"%s\" (see 'plothost drivers')\n",
                     name.c_str());
        return 1;
    }
    const auto settings = FetchSettings(driver);
    const int current = settings ? settings->Public().dmPaperSize : -1;
    const std::vector<PaperSize> papers = FetchPapers(driver);
    std::printf("Papers of \"%s\" (%zu); sizes in millimetres, * the paper of its settings\n",
                driver->GetName(), papers.size());
    std::printf("  %6s  %-28s %-17s %s\n", "number", "name", "sheet", "printable area");
    for (const PaperSize& p : papers) {
        char sheet[40], area[40];
        std::snprintf(sheet, sizeof sheet, "%.1f x %.1f", p.nPaperWidth / 10.0,
                      p.nPaperLength / 10.0);
        std::snprintf(area, sizeof area, "%.1f x %.1f",
                      (p.nPaperWidth - p.nLeftMargin - p.nRightMargin) / 10.0,
                      (p.nPaperLength - p.nTopMargin - p.nBottomMargin) / 10.0);
        std::printf("%c %6d  %-28s %-17s %s\n", p.nPaperID == current ? '*' : ' ', p.nPaperID,
                    PaperText(p).c_str(), sheet, area);
    }
    return 0;
}
