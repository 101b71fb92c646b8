// hpgl2ppd: writes one PPD for every plotter of hpgl2.ini, learnt from the
// driver module as a host learns it. The build runs it; "cmake --install"
// installs what it wrote.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/data_folder.h"
#include "host/install_paths.h"
#include "host/process_paths.h"
#include "host/loaded_module.h"
#include "ppd/plotter_description.h"
#include "ppd/ppd_writer.h"
#include "pxrdriver/app_paths.h"

namespace {

const char kUsage[] =
    "Usage: hpgl2ppd OUTPUT-FOLDER\n"
    "\n"
    "Writes a PPD for each plotter of hpgl2.ini (the application folder:\n"
    "$PXR_APP_DIR, else beside hpgl2ppd or in ../share/hpgl2) into OUTPUT-FOLDER,\n"
    "named after the plotter's section, with its papers and their imageable\n"
    "areas, resolutions, colour models and the options of its settings dialogs.\n"
    "The driver module is HPGL2.pxr beside hpgl2ppd, or in ../lib.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, argc == 2 && std::string(argv[1]) == "--help" ? stdout : stderr);
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::filesystem::path output = argv[1];
    const std::string here = FolderOfExecutable();
    ChooseApplicationFolder(here, {"../share/hpgl2"});
    // The paper lists as shipped, never a user's: a data folder of its own.
    const std::filesystem::path data = output / ".hpgl2ppd-data";
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
    std::filesystem::create_directories(data, ec);
    if (ec) {
        std::fprintf(stderr, "hpgl2ppd: cannot create %s: %s\n", data.c_str(),
                     ec.message().c_str());
        return 1;
    }
    setenv("PXR_DATA_DIR", data.c_str(), 1);
    PreparePaperLists(KestGetAppFullPath(), KestGetAppDataPath());

    int status = 0;
    {
        LoadedModule module;
        std::string error;
        if (!module.Load(FindBeside(here, {".", "../lib"}, "HPGL2.pxr"), &error)) {
            std::fprintf(stderr, "hpgl2ppd: %s\n", error.c_str());
            status = 1;
        }
        for (const std::string& section : ConfiguredPlotters(KestGetAppFullPath())) {
            if (status) break;
            PlotterDescription plotter;
            if (!DescribePlotter(module, section, &plotter, &error)) {
                std::fprintf(stderr, "hpgl2ppd: %s\n", error.c_str());
                status = 1;
                break;
            }
            const std::filesystem::path file = output / PpdFileName(section);
            std::ofstream out(file, std::ios::binary);
            out << WritePpd(plotter);
            if (!out.flush()) {
                std::fprintf(stderr, "hpgl2ppd: cannot write %s\n", file.c_str());
                status = 1;
            }
        }
    }
    std::filesystem::remove_all(data, ec);
    return status;
}
