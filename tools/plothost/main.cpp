// plothost: the reference host of the plotter driver module. It does what a
// CAD application does with the module: loads it, has it create its
// drivers, configures one and plots through it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "commands/commands.h"
#include "host/data_folder.h"
#include "host/install_paths.h"
#include "host/loaded_module.h"
#include "host/process_paths.h"
#include "host/settings_store.h"
#include "pxrdriver/app_paths.h"

namespace {

const char kUsage[] =
    "Usage: plothost [OPTIONS] COMMAND [ARGUMENTS]\n"
    "\n"
    "Loads the plotter driver module HPGL2.pxr and works with the plotters that\n"
    "its configuration file hpgl2.ini lists.\n"
    "\n"
    "Commands:\n"
    "  drivers            list the configured plotters with their class, transaction\n"
    "                     mode, resolution, paper and colour mode\n"
    "  caps [PLOTTER]     print the device capabilities and the paper list of one\n"
    "                     plotter (by display name, number or configuration name;\n"
    "                     default the first)\n"
    "  papers [--driver PLOTTER]\n"
    "                     list the papers of one plotter: number, name, sheet size\n"
    "                     and printable area in millimetres; * marks the paper of\n"
    "                     its settings\n"
    "  plot DRAWING.emf [PLOT OPTIONS]\n"
    "                     plot an enhanced metafile: its drawing's frame goes to\n"
    "                     the top left of the printable area, at its true size\n"
    "                     when it fits, else scaled to fit; only what lies inside\n"
    "                     the frame is plotted. The paper, orientation and scale,\n"
    "                     the records played and skipped and the bytes written\n"
    "                     are told on standard error. Ctrl-C (or SIGTERM) stops\n"
    "                     a plot cleanly: no plot file or temporary file is left,\n"
    "                     a network plotter's connection is reset; once the job\n"
    "                     is complete it changes nothing\n"
    "  configure [--driver PLOTTER]\n"
    "                     show the plotter's settings dialog (needs a display)\n"
    "  settings [--driver PLOTTER] [--set FIELD=VALUE ...]\n"
    "                     show the plotter's settings, or change them through the\n"
    "                     same dialog without a display; fields: resolution (dpi or\n"
    "                     custom), paper (as --paper takes it), orientation (portrait,\n"
    "                     landscape), transaction (plot, computer, auto), memory\n"
    "                     (such as 10M or 512KB; automatic mode only), colour (bw,\n"
    "                     colour, grey), compression (0-4), datamode (0-3), trim\n"
    "                     (0-7), shade (0-1), inkedarea (0/1), pjlcontrol (0/1),\n"
    "                     headmask (number), controlcode (text; \\n is a new line);\n"
    "                     a choice may also be given by the text the dialog shows,\n"
    "                     in any letter case\n"
    "  papers add --name NAME --width MM --height MM [--driver PLOTTER]\n"
    "  papers change NAME [--width MM] [--height MM] [--driver PLOTTER]\n"
    "  papers delete NAME [--driver PLOTTER]\n"
    "                     edit the paper list through the custom paper dialog;\n"
    "                     width and height are the printable size in millimetres.\n"
    "                     As in the dialog, a paper whose sizes differ from those\n"
    "                     of the paper it opened on is named \"Custom NAME\",\n"
    "                     unless NAME already begins so; change and delete find\n"
    "                     it by NAME too\n"
    "\n"
    "Settings changed by configure and settings are kept per user in\n"
    "plothost-settings.ini of the data folder and used on every later run.\n"
    "\n"
    "Plot options:\n"
    "  -o, --output FILE  the plot file (\".plt\" is added when missing; it is\n"
    "                     written whole or not at all); a printer device such\n"
    "                     as /dev/usb/lp0 is written directly. Needed unless\n"
    "                     --to, --save-as or --output-name says where the plot goes\n"
    "  --driver PLOTTER   the plotter, by display name, number or configuration\n"
    "                     name (its section of hpgl2.ini; default 1)\n"
    "  --paper PAPER      plot on this paper of the plotter's list: its number or\n"
    "                     its name in any letter case, or words only its name has\n"
    "                     (\"a0\" for \"ISO A0\"); see 'plothost papers'\n"
    "  --landscape        turn the paper: its long side across the drawing\n"
    "  --portrait         the paper upright; when neither is given, the plotter's\n"
    "                     settings decide\n"
    "  --scale FACTOR     plot at this scale instead of 1:1\n"
    "  --fit              scale the drawing to fill the printable area\n"
    "  --dpi N            plot at N dots per inch (50 to 4800) instead of the\n"
    "                     plotter's setting\n"
    "  --to socket://HOST[:PORT]\n"
    "                     send the job to a network plotter over one raw TCP\n"
    "                     connection (AppSocket/JetDirect, port 9100 unless given;\n"
    "                     an IPv6 address goes in brackets). A plotter that refuses\n"
    "                     the connection is tried again with growing pauses; a job\n"
    "                     that does not arrive whole fails. A terminal shows the\n"
    "                     bytes sent and the rate\n"
    "  --connect-timeout SECONDS\n"
    "                     give up one connection attempt after this long (10)\n"
    "  --write-timeout SECONDS\n"
    "                     fail the job when the plotter takes no byte for this long,\n"
    "                     or does not take the end of the job (30)\n"
    "  --retry-for SECONDS\n"
    "                     try a refusing plotter again for this long; 0 tries once\n"
    "                     (120)\n"
    "  --output-name NAME the output name the host hands the driver: \"FILE:\" has\n"
    "                     the driver ask for a file in its save dialog, any other\n"
    "                     name is the plot file (\".plt\" is added when missing)\n"
    "  --save-as FILE     the answer to the save dialog (implies\n"
    "                     --output-name FILE:)\n"
    "\n"
    "Options:\n"
    "  --module PATH      the driver module (default: HPGL2.pxr beside plothost,\n"
    "                     else in ../lib when plothost is installed)\n"
    "  --app-dir DIR      the application folder that holds hpgl2.ini (default:\n"
    "                     $PXR_APP_DIR, else the folder of plothost, else\n"
    "                     ../share/hpgl2 when plothost is installed)\n"
    "  --data-dir DIR     the user's data folder that holds the paper list\n"
    "                     (default: $PXR_DATA_DIR, else $XDG_DATA_HOME/pxr, else\n"
    "                     ~/.local/share/pxr); a paper list missing there is copied\n"
    "                     from the application folder\n"
    "  -h, --help         show this help\n"
    "\n"
    "Exit status: 0 done, 1 the work failed, 2 the command line is wrong, 130 a\n"
    "plot stopped by Ctrl-C (143 by SIGTERM).\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "plothost: %s\nTry 'plothost --help'.\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string command;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) return nullptr;
            (void)name;
            return argv[++i];
        };
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (command.empty() &&
                   (arg == "--module" || arg == "--app-dir" || arg == "--data-dir")) {
            const char* v = value(arg.c_str());
            if (!v) return UsageError(arg + " needs a value");
            options.hostArguments.insert(options.hostArguments.end(), {arg, v});
            if (arg == "--module") options.modulePath = v;
            if (arg == "--app-dir") SetEnvironmentValue("PXR_APP_DIR", v);
            if (arg == "--data-dir") SetEnvironmentValue("PXR_DATA_DIR", v);
        } else if (command.empty() && arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + arg);
        } else if (command.empty()) {
            command = arg;
        } else {
            options.arguments.push_back(arg);
        }
    }
    if (command.empty()) return UsageError("no command given");
    if (command != "drivers" && command != "caps" && command != "plot" && command != "papers" &&
        command != "configure" && command != "settings")
        return UsageError("unknown command " + command);
    // A built host keeps the module and the configuration beside itself; an
    // installed one (PREFIX/bin/plothost) finds them in PREFIX/lib and
    // PREFIX/share/hpgl2.
    const std::string here = FolderOfExecutable();
    if (options.modulePath.empty())
        options.modulePath = FindBeside(here, {".", "../lib"}, "HPGL2.pxr");
    ChooseApplicationFolder(here, {"../share/hpgl2"});

    PreparePaperLists(KestGetAppFullPath(), KestGetAppDataPath());

    LoadedModule module;
    std::string error;
    if (!module.Load(options.modulePath, &error)) {
        std::fprintf(stderr, "plothost: %s\n", error.c_str());
        return 1;
    }
    ApplyStoredSettings(module, KestGetAppDataPath());
    if (command == "configure") return RunConfigureCommand(module, options);
    if (command == "settings") return RunSettingsCommand(module, options);
    if (command == "papers" && IsPaperEditCommand(options))
        return RunPaperEditCommand(module, options);
    if (command == "drivers") return RunDriversCommand(module, options);
    if (command == "plot") return RunPlotCommand(module, options);
    if (command == "papers") return RunPapersCommand(module, options);
    return RunCapsCommand(module, options);
}
